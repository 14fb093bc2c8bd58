// The shipped sample bitmaps, as painting programs and converters write them (classic
// headers and large ones, colour tables, run-length data, bit-field pixels with and without
// alpha), become icons that show the bitmap's pixels.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "bitmap_file.h"
#include "reference_decoder.h"
#include "support/plugin_under_test.h"
#include "support/temp_folder.h"

namespace {

using pictile_test::DecodeBitmap;
using pictile_test::DecodeIcon;
using pictile_test::U16At;

TEST(PictileSample, EverySampleBitmapKeepsItsPixelsInTheIcon) {
    const auto& pictile = testing_support::SharedPlugin("pictile");
    const std::filesystem::path folder =
        std::filesystem::path(POLYSHIFT_SOURCE_DIR) / "examples" / "pictile";
    int samples = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".bmp") {
            continue;
        }
        ++samples;
        SCOPED_TRACE(entry.path().filename().string());
        const std::string bitmap = testing_support::ReadFile(entry.path());
        const auto expected = DecodeBitmap(bitmap);
        ASSERT_TRUE(expected.has_value());

        const auto out = pictile.Run(0, bitmap);
        ASSERT_TRUE(out.has_value());
        EXPECT_EQ(U16At(*out, 2), 1);  // an icon
        const auto shown = DecodeIcon(*out);
        ASSERT_TRUE(shown.has_value());
        EXPECT_EQ(shown->width, expected->width);
        EXPECT_EQ(shown->height, expected->height);
        EXPECT_TRUE(shown->argb == expected->argb);
    }
    EXPECT_GE(samples, 7);
}

}  // namespace
