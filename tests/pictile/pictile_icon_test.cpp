// Icons made from bitmaps in the classic form (40-byte information header, full colour table
// right after it, uncompressed rows bottom row first, image size covering every row): the
// icon keeps the bitmap's information header, colour table and pixel bytes as they are.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bitmap_file.h"
#include "conversion.h"
#include "icon_file.h"

namespace {

using pictile_test::BitmapShape;
using pictile_test::MakeBitmap;
using pictile_test::Pictile;
using pictile_test::ReadIcon;
using pictile_test::U32At;

struct IconCase {
    const char* name;
    BitmapShape bitmap;
    uint32_t fileBytes;
    uint32_t colourTableBytes;
    uint32_t maskBytes;
    uint8_t colourCount;
    uint8_t width;
    uint8_t height;
};

std::vector<IconCase> Cases() {
    return {
        {"32x32, 4 bits", {32, 32, 1, 4, 16}, 766, 64, 128, 16, 32, 32},
        {"16x16, 8 bits", {16, 16, 1, 8, 256}, 62 + 1024 + 256 + 64, 1024, 64, 0, 16, 16},
        {"32x32, 1 bit", {32, 32, 1, 1, 2}, 62 + 8 + 128 + 128, 8, 128, 2, 32, 32},
        {"2 planes of 2 bits", {16, 16, 2, 2, 16}, 62 + 64 + 64 + 64, 64, 64, 16, 16, 16},
        {"48x48, 24 bits", {48, 48, 1, 24, 0}, 62 + 6912 + 384, 0, 384, 0, 48, 48},
        {"24x24, 32 bits", {24, 24, 1, 32, 0}, 62 + 2304 + 96, 0, 96, 0, 24, 24},
        {"256x256, 24 bits", {256, 256, 1, 24, 0}, 62 + 196608, 0, 0, 0, 0, 0},
        {"16 bits", {8, 8, 1, 16, 0}, 62 + 128 + 32, 0, 32, 0, 8, 8},
        // Bytes the image size counts beyond the rows are kept with them.
        {"image size beyond the rows", {32, 32, 1, 4, 16, 514, 514}, 768, 64, 128, 16, 32, 32},
        // Width and height go into the icon's entry as their low bytes, and size the mask.
        {"300 x 20, 24 bits", {300, 20, 1, 24, 0}, 62 + 18000 + 160, 0, 160, 0, 44, 20},
    };
}

TEST(PictileIcon, HeadersSizesAndDerivedValuesMatchTheBitmap) {
    for (const auto& c : Cases()) {
        SCOPED_TRACE(c.name);
        const std::string bitmap = MakeBitmap(c.bitmap);
        const uint32_t imageSize = U32At(bitmap, 34);
        uint32_t size = 0;
        const auto out = Pictile().Run(0, bitmap, "", &size);
        ASSERT_TRUE(out.has_value());
        EXPECT_EQ(size, c.fileBytes);
        ASSERT_EQ(out->size(), c.fileBytes);

        const auto icon = ReadIcon(*out, c.colourTableBytes, imageSize);
        ASSERT_TRUE(icon.has_value());
        EXPECT_EQ(icon->reserved, 0);
        EXPECT_EQ(icon->type, 1);
        EXPECT_EQ(icon->imageCount, 1);
        EXPECT_EQ(icon->width, c.width);
        EXPECT_EQ(icon->height, c.height);
        EXPECT_EQ(icon->colourCount, c.colourCount);
        EXPECT_EQ(icon->entryReserved, 0);
        EXPECT_EQ(icon->planes, c.bitmap.planes);
        EXPECT_EQ(icon->bitCount, c.bitmap.bitCount);
        EXPECT_EQ(icon->imageBytes, c.fileBytes - 22);
        EXPECT_EQ(icon->imageOffset, 22u);

        // The information header: height doubled, resolution and colour counts cleared,
        // everything else as in the bitmap.
        std::string expectedInfo = bitmap.substr(14, 40);
        const uint32_t doubled = static_cast<uint32_t>(c.bitmap.height) * 2;
        for (int i = 0; i < 4; ++i) {
            expectedInfo[8 + i] = static_cast<char>((doubled >> (8 * i)) & 0xFF);
        }
        expectedInfo.replace(24, 16, 16, '\0');
        EXPECT_EQ(icon->infoHeader, expectedInfo);

        EXPECT_EQ(icon->colourTable, bitmap.substr(54, c.colourTableBytes));
        EXPECT_EQ(icon->pixels, bitmap.substr(U32At(bitmap, 10), imageSize));
        EXPECT_EQ(icon->mask, std::string(c.maskBytes, '\0'));
    }
}

TEST(PictileIcon, APixelOffsetThatPointsIntoTheColourTableIsReadAsTheTablesEnd) {
    const std::string bitmap = MakeBitmap({32, 32, 1, 4, 16});
    std::string zeroOffset = bitmap;
    zeroOffset.replace(10, 4, 4, '\0');
    std::string intoTable = bitmap;
    intoTable[10] = 54 + 20;
    const auto plain = Pictile().Run(0, bitmap);
    ASSERT_TRUE(plain.has_value());
    EXPECT_EQ(Pictile().Run(0, zeroOffset), plain);
    EXPECT_EQ(Pictile().Run(0, intoTable), plain);
}

TEST(PictileIcon, BytesAfterThePixelDataAreLeftOut) {
    const std::string bitmap = MakeBitmap({32, 32, 1, 4, 16});
    const auto plain = Pictile().Run(0, bitmap);
    const auto padded = Pictile().Run(0, bitmap + std::string(100, '\x7F'));
    ASSERT_TRUE(plain.has_value());
    EXPECT_EQ(padded, plain);
}

}  // namespace
