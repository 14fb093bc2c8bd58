// Run-length data, record by record: what expands into the icon's rows and what refuses the
// bitmap because it would leave the image or is cut short.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bitmap_file.h"
#include "bitmap_forms.h"
#include "conversion.h"

namespace {

using pictile_test::BitmapForm;
using pictile_test::ConvertBitmap;
using pictile_test::ExpectIconShowsBitmap;
using pictile_test::MakeBitmapOfForm;
using pictile_test::Refused;

// A 3 x 2 bitmap of 8- or 4-bit pixels with the given records. Its rows hold 4 bytes each, so
// 4 pixels of 8 bits or 8 of 4 bits counting their padding.
std::string RunLengthBitmap(int bitCount, const std::string& records) {
    BitmapForm form;
    form.width = 3;
    form.height = 2;
    form.bitCount = static_cast<std::uint16_t>(bitCount);
    form.compression = bitCount == 8 ? 1 : 2;
    form.runLengthRecords = records;
    return MakeBitmapOfForm(form);
}

struct RecordsCase {
    const char* name;
    int bitCount;
    std::string records;
};

std::string Bytes(std::initializer_list<int> bytes) {
    std::string out;
    for (int b : bytes) {
        out += static_cast<char>(b);
    }
    return out;
}

TEST(PictileRunLength, WellFormedRecordsExpandToTheBitmapsPixels) {
    const std::vector<RecordsCase> cases = {
        {"a run per row", 8, Bytes({3, 5, 0, 0, 3, 6, 0, 1})},
        {"literal, padded to an even length", 8, Bytes({0, 3, 1, 2, 3, 0, 0, 0, 3, 7, 0, 1})},
        {"runs into the row padding", 8, Bytes({4, 5, 0, 0, 4, 6, 0, 1})},
        {"move within the image", 8, Bytes({1, 2, 0, 2, 1, 1, 1, 3, 0, 1})},
        {"no end mark after the last row", 8, Bytes({3, 5, 0, 0, 3, 6, 0, 0})},
        {"end mark before the last row", 8, Bytes({3, 5, 0, 1})},
        {"4-bit run alternating two pixels", 4, Bytes({3, 0x12, 0, 0, 3, 0x45, 0, 1})},
        {"4-bit literal", 4, Bytes({0, 3, 0x12, 0x30, 0, 0, 2, 0x77, 0, 1})},
        {"4-bit runs into the row padding", 4, Bytes({8, 0x12, 0, 0, 7, 0x34, 0, 1})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectIconShowsBitmap(RunLengthBitmap(c.bitCount, c.records));
    }
}

TEST(PictileRunLength, PixelsTheDataSkipsTakeTheFirstColour) {
    const std::string bitmap = RunLengthBitmap(8, Bytes({1, 2, 0, 2, 1, 1, 1, 3, 0, 1}));
    const auto icon = ConvertBitmap(bitmap);
    ASSERT_TRUE(icon.has_value());
    // Icon rows: colour table (1024 bytes), then 4 bytes a row, bottom row first.
    const std::string rows = icon->substr(62 + 1024, 8);
    EXPECT_EQ(rows, Bytes({2, 0, 0, 0, 0, 0, 3, 0}));
}

TEST(PictileRunLength, RecordsThatLeaveTheImageOrAreCutShortRefuseTheBitmap) {
    const std::vector<RecordsCase> cases = {
        {"run past the padding", 8, Bytes({5, 5, 0, 1})},
        {"second run past the padding", 8, Bytes({3, 5, 2, 5, 0, 1})},
        {"literal past the padding", 8, Bytes({0, 5, 1, 2, 3, 4, 5, 0, 0, 1})},
        {"4-bit run past the padding", 4, Bytes({9, 0x12, 0, 1})},
        {"literal cut off", 8, Bytes({0, 4, 1, 2})},
        {"literal's padding cut off", 8, Bytes({0, 3, 1, 2, 3})},
        {"move past the right edge", 8, Bytes({0, 2, 5, 0, 0, 1})},
        {"move past the top", 8, Bytes({0, 2, 0, 2, 0, 1})},
        {"move cut off", 8, Bytes({3, 5, 0, 2, 1})},
        {"end of line beyond the last row", 8, Bytes({0, 0, 0, 0, 0, 0, 0, 1})},
        {"run after the last row", 8, Bytes({3, 5, 0, 0, 3, 6, 0, 0, 1, 1, 0, 1})},
        {"data stops before the last row", 8, Bytes({3, 5, 0, 0})},
        {"odd byte at the end", 8, Bytes({3, 5, 0, 0, 3, 6, 0, 0, 7})},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(Refused(RunLengthBitmap(c.bitCount, c.records))) << c.name;
    }
    // No records at all: the file ends at the pixel offset, its image size 0.
    std::string empty = RunLengthBitmap(8, Bytes({3, 5, 0, 1}));
    empty.resize(empty.size() - 4);
    empty.replace(34, 4, 4, '\0');
    EXPECT_TRUE(Refused(empty));
}

}  // namespace
