// Files that are not bitmaps, and bitmaps whose headers promise more than the file holds,
// pass on unchanged: size 0, no conversion.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "bitmap_file.h"
#include "support/plugin_under_test.h"

namespace {

using pictile_test::BitmapShape;
using pictile_test::MakeBitmap;

const testing_support::PluginUnderTest& Pictile() {
    return testing_support::SharedPlugin("pictile");
}

void SetU32(std::string& bytes, std::size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

std::string WithHeight(int32_t height) {
    std::string bitmap = MakeBitmap({32, 32, 1, 24, 0, 0, 0});
    SetU32(bitmap, 22, static_cast<uint32_t>(height));
    return bitmap;
}

struct RefusalCase {
    const char* name;
    std::string input;
};

TEST(PictileRefusal, FilesThatAreNotUsableBitmapsPassOnUnchanged) {
    const std::string bitmap = MakeBitmap({32, 32, 1, 4, 16});
    std::string badImageSize = bitmap;
    SetU32(badImageSize, 34, 0xFFFFFFF0u);
    const std::vector<RefusalCase> cases = {
        {"empty", ""},
        {"text", std::string(200, 'a')},
        {"other type word", "MB" + bitmap.substr(2)},
        {"icon file", std::string("\0\0\1\0\1\0", 6) + bitmap.substr(6)},
        {"53 bytes", bitmap.substr(0, 53)},
        {"pixels one byte short", bitmap.substr(0, bitmap.size() - 1)},
        {"colour table cut", bitmap.substr(0, 54 + 63)},
        {"8 bits with a 16-colour table",
         MakeBitmap({16, 16, 1, 8, 16, BitmapShape::kRowBytes, 256})},
        {"image size beyond the file", badImageSize},
        {"doubled height too large", WithHeight(0x40000000)},
        {"doubled height too small", WithHeight(-0x40000001)},
    };
    for (const auto& c : cases) {
        uint32_t size = 99;
        EXPECT_FALSE(Pictile().Run(0, c.input, "", &size).has_value()) << c.name;
        EXPECT_EQ(size, 0u) << c.name;
    }
}

TEST(PictileRefusal, BitmapsThatHoldExactlyWhatTheyPromiseAreConverted) {
    const std::vector<RefusalCase> cases = {
        {"headers only, 24 bits, image size 0", MakeBitmap({32, 32, 1, 24, 0, 0, 0})},
        {"8 bits, 256 colours", MakeBitmap({16, 16, 1, 8, 256})},
        {"largest height", WithHeight(0x3FFFFFFF)},
        {"smallest height", WithHeight(-0x40000000)},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(Pictile().Run(0, c.input).has_value()) << c.name;
    }
    EXPECT_EQ(Pictile().Run(0, cases[0].input)->size(), 62u + 128u);
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
