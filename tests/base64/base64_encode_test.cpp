// Encoding: the RFC 4648 vectors, padding, one unbroken line, sizes that do not fit 32 bits.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base64_plugin.h"
#include "support/sample_text.h"

namespace {

using base64_test::Base64;
using base64_test::kDecode;
using base64_test::kEncode;

struct Vector {
    std::string bytes;
    std::string text;
};

// RFC 4648, section 10, plus bytes that use the last letters of the alphabet.
const std::vector<Vector>& KnownVectors() {
    static const std::vector<Vector> vectors = {
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
        {"\xFB\xFF\xBF", "+/+/"},
        {std::string("\0\0\0\0", 4), "AAAAAA=="},
        {"\xFF\xFF\xFF\xFF\xFF", "//////8="},
    };
    return vectors;
}

TEST(Base64Encode, GivesTheKnownVectorsWithTheExactSize) {
    for (const auto& v : KnownVectors()) {
        uint32_t size = 0;
        EXPECT_EQ(Base64().Run(kEncode, v.bytes, "", &size), v.text) << v.text;
        EXPECT_EQ(size, v.text.size()) << v.text;
    }
}

TEST(Base64Encode, WritesOneUnbrokenLineWithoutATrailingBreak) {
    const std::string bytes(57, 'x');
    const auto text = Base64().Run(kEncode, bytes);
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(text->size(), 76u);
    EXPECT_EQ(text->find_first_of("\r\n"), std::string::npos);

    const auto longText = Base64().Run(kEncode, testing_support::JapaneseText(100000));
    ASSERT_TRUE(longText.has_value());
    EXPECT_EQ(longText->find_first_not_of(
                  "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/="),
              std::string::npos);
}

TEST(Base64Encode, EveryByteValueAndEveryTailLengthRoundTrips) {
    std::string all;
    for (int i = 0; i < 256; ++i) {
        all += static_cast<char>(i);
    }
    for (std::size_t length = 1; length <= all.size(); ++length) {
        const std::string bytes = all.substr(all.size() - length);
        uint32_t size = 0;
        const auto text = Base64().Run(kEncode, bytes, "", &size);
        ASSERT_TRUE(text.has_value()) << length;
        EXPECT_EQ(size, (length + 2) / 3 * 4) << length;
        EXPECT_EQ(text->size(), size);
        const std::size_t padding = (3 - length % 3) % 3;
        EXPECT_EQ(text->substr(text->size() - padding), std::string(padding, '=')) << length;
        EXPECT_EQ(Base64().Run(kDecode, *text), bytes) << length;
    }
}

TEST(Base64Encode, AnInputTooLargeToDescribeHasSizeZero) {
    // The size pass reads only the length, so a short buffer stands in for a huge input.
    const unsigned char dummy[4] = {};
    struct Case {
        uint32_t length;
        uint32_t size;
    };
    for (const Case c :
         {Case{3221225469u, 4294967292u}, Case{3221225470u, 0}, Case{0xFFFFFFFFu, 0}}) {
        ConvertRequest request{
            sizeof(ConvertRequest), dummy, c.length, nullptr, 0, kEncode, "", 0, 0, 0};
        EXPECT_EQ(Base64().getBufferSize(&request), c.size) << c.length;
        if (c.size == 0) {
            EXPECT_EQ(Base64().convert(&request), 0u) << c.length;
        }
    }
}

}  // namespace
