// The shipped sample bitmaps, as a painting program writes them, become icons whose colour
// table and pixel rows are the bitmap's own, found through the bitmap's pixel-data offset.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "bitmap_file.h"
#include "icon_file.h"
#include "support/plugin_under_test.h"
#include "support/temp_folder.h"

namespace {

using pictile_test::ReadIcon;
using pictile_test::RowBytes;
using pictile_test::U16At;
using pictile_test::U32At;

TEST(PictileSample, EverySampleBitmapKeepsItsPixelsInTheIcon) {
    const testing_support::PluginUnderTest pictile("pictile");
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
        const uint32_t pixelOffset = U32At(bitmap, 10);
        const auto width = static_cast<int32_t>(U32At(bitmap, 18));
        const auto height = static_cast<int32_t>(U32At(bitmap, 22));
        const uint16_t bitCount = U16At(bitmap, 28);
        const uint32_t imageSize = U32At(bitmap, 34);
        ASSERT_EQ(imageSize, RowBytes(width, bitCount) * static_cast<uint32_t>(height));
        ASSERT_EQ(pixelOffset + imageSize, bitmap.size());

        const auto out = pictile.Run(0, bitmap);
        ASSERT_TRUE(out.has_value());
        const uint32_t colourTableBytes = pixelOffset - 54;
        const auto icon = ReadIcon(*out, colourTableBytes, imageSize);
        ASSERT_TRUE(icon.has_value());
        EXPECT_EQ(icon->type, 1);
        EXPECT_EQ(icon->width, width);
        EXPECT_EQ(icon->height, height);
        EXPECT_EQ(icon->bitCount, bitCount);
        EXPECT_EQ(U32At(icon->infoHeader, 4), static_cast<uint32_t>(width));
        EXPECT_EQ(U32At(icon->infoHeader, 8), static_cast<uint32_t>(height) * 2);
        EXPECT_EQ(icon->colourTable, bitmap.substr(54, colourTableBytes));
        for (int32_t row = 0; row < height; ++row) {
            const uint32_t rowBytes = RowBytes(width, bitCount);
            ASSERT_EQ(icon->pixels.substr(row * rowBytes, rowBytes),
                      bitmap.substr(pixelOffset + row * rowBytes, rowBytes))
                << "row " << row;
        }
        // One bit per pixel, rows padded to four bytes, all opaque.
        EXPECT_EQ(icon->mask, std::string(RowBytes(width, 1) * height, '\0'));
    }
    EXPECT_GE(samples, 3);
}

}  // namespace
