// Files that are not bitmaps, bitmaps whose headers promise more than the file holds, and
// bitmaps in forms no icon can show pass on unchanged: size 0, no conversion, nothing read
// outside the input.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "bitmap_file.h"
#include "bitmap_forms.h"
#include "conversion.h"

namespace {

using pictile_test::BitmapForm;
using pictile_test::BitmapShape;
using pictile_test::MakeBitmap;
using pictile_test::MakeBitmapOfForm;
using pictile_test::Pictile;
using pictile_test::Refused;

void SetU32(std::string& bytes, std::size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

std::string With32(std::string bytes, std::size_t offset, uint32_t value) {
    SetU32(bytes, offset, value);
    return bytes;
}

std::string With16(std::string bytes, std::size_t offset, uint16_t value) {
    bytes[offset] = static_cast<char>(value & 0xFF);
    bytes[offset + 1] = static_cast<char>(value >> 8);
    return bytes;
}

BitmapForm Form(std::uint16_t bitCount, std::uint32_t headerBytes, std::uint32_t compression = 0) {
    BitmapForm form;
    form.bitCount = bitCount;
    form.headerBytes = headerBytes;
    form.compression = compression;
    return form;
}

BitmapForm BitFields(std::uint16_t bitCount, std::uint32_t headerBytes, std::uint32_t red,
                     std::uint32_t green, std::uint32_t blue) {
    BitmapForm form = Form(bitCount, headerBytes, 3);
    form.masks[0] = red;
    form.masks[1] = green;
    form.masks[2] = blue;
    return form;
}

// Alpha bit fields behind a 40-byte header, blue, green and red bytes under `alpha`.
std::string AlphaBitFields(std::uint16_t bitCount, std::uint32_t alpha) {
    BitmapForm form = BitFields(bitCount, 40, 0xFF0000, 0xFF00, 0xFF);
    form.compression = 6;
    form.masks[3] = alpha;
    return MakeBitmapOfForm(form);
}

struct RefusalCase {
    const char* name;
    std::string input;
};

void ExpectRefused(const std::vector<RefusalCase>& cases) {
    for (const auto& c : cases) {
        EXPECT_TRUE(Refused(c.input)) << c.name;
    }
}

TEST(PictileRefusal, FilesThatAreNotBitmapsOrAreCutShortPassOnUnchanged) {
    const std::string bitmap = MakeBitmap({32, 32, 1, 4, 16});
    const std::string large = MakeBitmapOfForm(Form(24, 124));
    const std::string noPixels = MakeBitmap({32, 32, 1, 24, 0, 0, 0});
    const std::string core = MakeBitmapOfForm(Form(8, 12));
    ExpectRefused({
        {"empty", ""},
        {"text", std::string(200, 'a')},
        {"other type word", "MB" + bitmap.substr(2)},
        {"icon file", std::string("\0\0\1\0\1\0", 6) + bitmap.substr(6)},
        {"53 bytes", bitmap.substr(0, 53)},
        {"pixels one byte short", bitmap.substr(0, bitmap.size() - 1)},
        {"colour table cut", bitmap.substr(0, 54 + 63)},
        {"image size beyond the file", With32(bitmap, 34, 0xFFFFFFF0u)},
        {"image size 0 and no pixels", noPixels},
        {"124-byte header, pixels one byte short", large.substr(0, large.size() - 1)},
        {"124-byte header cut", large.substr(0, 14 + 100)},
        {"pixel offset past the end", With32(large, 10, static_cast<uint32_t>(large.size()))},
        {"pixel offset at the top of the range", With32(large, 10, 0xFFFFFFFFu)},
        {"short colour table cut",
         [] {
             BitmapForm form = Form(8, 40);
             form.coloursUsed = 20;
             return MakeBitmapOfForm(form).substr(0, 54 + 79);
         }()},
        {"bit-field masks cut",
         MakeBitmapOfForm(BitFields(16, 40, 0xF800, 0x7E0, 0x1F)).substr(0, 54 + 11)},
        {"alpha bit-field masks cut", AlphaBitFields(32, 0xFF000000).substr(0, 54 + 15)},
        {"12-byte header cut", core.substr(0, 14 + 11)},
        {"12-byte header, colour table cut", core.substr(0, 26 + 767)},
        {"12-byte header, pixels one byte short", core.substr(0, core.size() - 1)},
        {"12-byte header, 16 of 256 colours",
         [&core] {
             std::string shortTable = core.substr(0, 26 + 48) + core.substr(26 + 768);
             SetU32(shortTable, 10, 26 + 48);
             return shortTable;
         }()},
    });
}

TEST(PictileRefusal, HeadersThatDescribeNoUsableImagePassOnUnchanged) {
    const std::string bitmap = MakeBitmap({32, 32, 1, 4, 16});
    const std::string large = MakeBitmapOfForm(Form(24, 124));
    const std::string topDown = With32(large, 22, static_cast<uint32_t>(-7));
    const std::string noPixels = MakeBitmap({32, 32, 1, 24, 0, 0, 0});
    const std::string core = MakeBitmapOfForm(Form(8, 12));
    ExpectRefused({
        {"12-byte header over a 40-byte one", With32(bitmap, 14, 12)},
        {"header of 39 bytes", With32(bitmap, 14, 39)},
        {"header past the end", With32(bitmap, 14, 0xFFFFFFF0u)},
        // Headers alone, heights whose double does not fit the icon's header.
        {"doubled height too large", With32(noPixels, 22, 0x40000000)},
        {"doubled height too small", With32(noPixels, 22, static_cast<uint32_t>(-0x40000001))},
        {"doubled height too large, width 0", With32(With32(noPixels, 18, 0), 22, 0x40000000)},
        {"width 0", With32(large, 18, 0)},
        {"negative width", With32(large, 18, static_cast<uint32_t>(-13))},
        {"height 0", With32(large, 22, 0)},
        {"wider than an icon", MakeBitmapOfForm([] {
             BitmapForm form = Form(24, 124);
             form.width = 257;
             return form;
         }())},
        {"higher than an icon", With32(topDown, 22, static_cast<uint32_t>(-257))},
        {"two planes", With16(large, 26, 2)},
        {"0 bits per pixel", With16(large, 28, 0)},
        {"2 bits per pixel", With16(large, 28, 2)},
        {"compressed as a photograph", With32(large, 30, 4)},
        {"compressed as a network graphic", With32(large, 30, 5)},
        {"unknown compression", With32(large, 30, 0x7FFFFFFF)},
        {"bit fields of 24 bits", MakeBitmapOfForm(BitFields(24, 124, 0xFF0000, 0xFF00, 0xFF))},
        {"bit-field mask with a gap", MakeBitmapOfForm(BitFields(32, 124, 0xF0F000, 0xF, 0xF0))},
        {"bit-field mask beyond 16 bits", MakeBitmapOfForm(BitFields(16, 124, 0x1F000, 0, 0x1F))},
        {"no colour mask", MakeBitmapOfForm(BitFields(16, 124, 0, 0, 0))},
        {"bit fields behind a 64-byte header", With32(MakeBitmapOfForm(Form(32, 64)), 30, 3)},
        {"8-bit runs of 4-bit pixels", With16(MakeBitmapOfForm(Form(8, 40, 1)), 28, 4)},
        {"4-bit runs of 8-bit pixels", With16(MakeBitmapOfForm(Form(4, 40, 2)), 28, 8)},
        {"run-length data top row first",
         With32(MakeBitmapOfForm(Form(8, 40, 1)), 22, static_cast<uint32_t>(-7))},
        {"run-length data beyond the file",
         With32(MakeBitmapOfForm(Form(8, 40, 1)), 34, 0xFFFFFFFFu)},
        {"alpha bit fields of 24 bits", AlphaBitFields(24, 0xFF000000)},
        {"alpha mask with a gap", AlphaBitFields(32, 0xB0000000)},
        {"alpha mask beyond 16 bits", AlphaBitFields(16, 0xF0000)},
        {"alpha bit fields behind a 64-byte header", With32(MakeBitmapOfForm(Form(32, 64)), 30, 6)},
        {"12-byte header, width 0", With16(core, 18, 0)},
        {"12-byte header, height 0", With16(core, 20, 0)},
        {"12-byte header, wider than an icon", With16(core, 18, 257)},
        {"12-byte header, two planes", With16(core, 22, 2)},
        {"12-byte header, 16 bits per pixel", With16(MakeBitmapOfForm(Form(24, 12)), 24, 16)},
        {"12-byte header, 2 bits per pixel", With16(core, 24, 2)},
    });
}

TEST(PictileRefusal, AShortOutputBufferOrANonBitmapFailsWithoutWriting) {
    const std::string bitmap = MakeBitmap({32, 32, 1, 4, 16});
    ConvertRequest request{};
    request.size = sizeof request;
    request.input = reinterpret_cast<const unsigned char*>(bitmap.data());
    request.inputLength = static_cast<uint32_t>(bitmap.size());
    request.tablePath = "";
    ASSERT_EQ(Pictile().getBufferSize(&request), 766u);
    std::vector<unsigned char> out(800, 0xEE);
    request.output = out.data();
    request.outputCapacity = 765;
    EXPECT_EQ(Pictile().convert(&request), 0u);

    const std::string text(100, 'x');
    request.input = reinterpret_cast<const unsigned char*>(text.data());
    request.inputLength = static_cast<uint32_t>(text.size());
    request.outputCapacity = static_cast<uint32_t>(out.size());
    EXPECT_EQ(Pictile().convert(&request), 0u);
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](unsigned char b) { return b == 0xEE; }));
}

}  // namespace
