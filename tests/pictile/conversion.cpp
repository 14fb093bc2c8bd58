#include "conversion.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "reference_decoder.h"

namespace pictile_test {

std::optional<std::string> ConvertBitmap(const std::string& bitmap, std::uint32_t* size) {
    const std::vector<char> exact(bitmap.begin(), bitmap.end());
    return Pictile().Run(0, std::string_view(exact.data(), exact.size()), "", size);
}

bool Refused(const std::string& bitmap) {
    std::uint32_t size = 99;
    return !ConvertBitmap(bitmap, &size).has_value() && size == 0;
}

std::optional<std::string> ExpectIconShowsBitmap(const std::string& bitmap) {
    const auto expected = DecodeBitmap(bitmap);
    const auto icon = ConvertBitmap(bitmap);
    const auto shown = icon ? DecodeIcon(*icon) : std::nullopt;
    EXPECT_TRUE(expected.has_value()) << "the bitmap does not decode";
    EXPECT_TRUE(icon.has_value()) << "no icon";
    EXPECT_TRUE(!icon || shown.has_value()) << "the icon does not decode";
    if (!expected || !shown) {
        return std::nullopt;
    }
    EXPECT_EQ(shown->width, expected->width);
    EXPECT_EQ(shown->height, expected->height);
    EXPECT_TRUE(shown->argb == expected->argb) << "the icon shows other pixels";
    return icon;
}

}  // namespace pictile_test
