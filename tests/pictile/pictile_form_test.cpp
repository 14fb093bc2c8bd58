// Bitmaps in the forms today's painting programs and converters write become icons that show
// the same pixels: each bitmap and its icon decoded by the tests' own reader and compared.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bitmap_file.h"
#include "bitmap_forms.h"
#include "conversion.h"
#include "form_cases.h"

namespace {

using pictile_test::BitmapForm;
using pictile_test::ConvertBitmap;
using pictile_test::ExpectIconShowsBitmap;
using pictile_test::FormCases;
using pictile_test::MakeBitmapOfForm;
using pictile_test::RowBytes;
using pictile_test::U16At;
using pictile_test::U32At;

TEST(PictileForm, EveryFormGivesAnIconWithTheBitmapsPixels) {
    for (const auto& c : FormCases()) {
        SCOPED_TRACE(c.name);
        const auto icon = ExpectIconShowsBitmap(MakeBitmapOfForm(c.form));
        ASSERT_TRUE(icon.has_value());
        EXPECT_EQ(U16At(*icon, 12), c.iconBitCount);
    }
}

// What every icon made from a form other than the classic one holds: a 40-byte uncompressed
// image header with the doubled height, the computed image size and no colour counts, a full
// colour table, and a mask for every pixel.
TEST(PictileForm, RewrittenImagesHaveTheClassicLayout) {
    for (const auto& c : FormCases()) {
        SCOPED_TRACE(c.name);
        const auto icon = ConvertBitmap(MakeBitmapOfForm(c.form));
        ASSERT_TRUE(icon.has_value());
        const std::string image = icon->substr(22);
        const uint32_t tableBytes = c.iconBitCount <= 8 ? 4u << c.iconBitCount : 0;
        const uint32_t pixelBytes = RowBytes(c.form.width, c.iconBitCount) * c.form.height;
        const uint32_t maskBytes = RowBytes(c.form.width, 1) * c.form.height;
        EXPECT_EQ(U32At(*icon, 14), image.size());
        EXPECT_EQ(image.size(), 40 + tableBytes + pixelBytes + maskBytes);
        EXPECT_EQ(static_cast<uint8_t>((*icon)[6]), c.form.width % 256);
        EXPECT_EQ(static_cast<uint8_t>((*icon)[7]), c.form.height % 256);
        EXPECT_EQ(static_cast<uint8_t>((*icon)[8]), c.iconBitCount < 8 ? 1 << c.iconBitCount : 0);
        EXPECT_EQ(U16At(*icon, 10), 1);
        EXPECT_EQ(U32At(image, 0), 40u);
        EXPECT_EQ(U32At(image, 4), static_cast<uint32_t>(c.form.width));
        EXPECT_EQ(U32At(image, 8), static_cast<uint32_t>(c.form.height) * 2);
        EXPECT_EQ(U16At(image, 12), 1);
        EXPECT_EQ(U16At(image, 14), c.iconBitCount);
        EXPECT_EQ(U32At(image, 16), 0u);
        EXPECT_EQ(U32At(image, 20), pixelBytes);
        EXPECT_EQ(image.substr(24, 16), std::string(16, '\0'));
        EXPECT_EQ(image.substr(image.size() - maskBytes), std::string(maskBytes, '\0'));
    }
}

TEST(PictileForm, AShortColourTableIsFilledUpWithBlack) {
    BitmapForm form;
    form.bitCount = 8;
    form.headerBytes = 124;
    form.coloursUsed = 20;
    const std::string bitmap = MakeBitmapOfForm(form);
    const auto icon = ConvertBitmap(bitmap);
    ASSERT_TRUE(icon.has_value());
    EXPECT_EQ(icon->substr(62, 80), bitmap.substr(14 + 124, 80));
    EXPECT_EQ(icon->substr(62 + 80, 1024 - 80), std::string(1024 - 80, '\0'));
}

TEST(PictileForm, ThreeByteColoursOfThe12ByteHeaderGetAZeroFourthByte) {
    BitmapForm form;
    form.bitCount = 4;
    form.headerBytes = 12;
    const std::string bitmap = MakeBitmapOfForm(form);
    const auto icon = ConvertBitmap(bitmap);
    ASSERT_TRUE(icon.has_value());
    for (int i = 0; i < 16; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(icon->substr(62 + 4 * i, 3), bitmap.substr(26 + 3 * i, 3));
        EXPECT_EQ((*icon)[62 + 4 * i + 3], '\0');
    }
}

TEST(PictileForm, TheSizePassAnswersTheIconsExactLength) {
    for (const auto& c : FormCases()) {
        SCOPED_TRACE(c.name);
        uint32_t size = 0;
        const auto icon = ConvertBitmap(MakeBitmapOfForm(c.form), &size);
        ASSERT_TRUE(icon.has_value());
        EXPECT_EQ(size, icon->size());
    }
}

}  // namespace
