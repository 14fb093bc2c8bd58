// The Shift JIS byte classes and ASCII case rules every Shift JIS walker shares.
#include <gtest/gtest.h>

#include "platform/sjis_bytes.h"

namespace {

using namespace platform::sjis;

// The classes' sizes and edges: 60 lead bytes, 188 trail bytes, 63 half-width kana; no byte
// is both a lead byte and a kana, and ASCII is neither.
TEST(SjisBytes, ClassesHaveTheirCodePageEdges) {
    int leads = 0, trails = 0, kana = 0;
    for (int c = 0; c < 256; ++c) {
        const auto b = static_cast<unsigned char>(c);
        leads += IsLeadByte(b);
        trails += IsTrailByte(b);
        kana += IsHalfWidthKana(b);
        EXPECT_FALSE(IsLeadByte(b) && IsHalfWidthKana(b)) << c;
        EXPECT_FALSE(c < 0x80 && IsLeadByte(b)) << c;
    }
    EXPECT_EQ(leads, 60);
    EXPECT_EQ(trails, 188);
    EXPECT_EQ(kana, 63);
    for (unsigned char b : {0x80, 0xA0, 0xFD}) {
        EXPECT_FALSE(IsLeadByte(b)) << int{b};
    }
    for (unsigned char b : {0x81, 0x9F, 0xE0, 0xFC}) {
        EXPECT_TRUE(IsLeadByte(b)) << int{b};
    }
    EXPECT_FALSE(IsTrailByte(0x7F));
    EXPECT_FALSE(IsTrailByte(0x3F));
}

// Only the 26 ASCII letters change case; half-width kana and high bytes never do.
TEST(SjisBytes, CaseTouchesAsciiLettersOnly) {
    int changed = 0;
    for (int c = 0; c < 256; ++c) {
        const auto b = static_cast<unsigned char>(c);
        changed += AsciiLower(b) != b;
        EXPECT_EQ(AsciiLower(AsciiUpper(b)), AsciiLower(b)) << c;
    }
    EXPECT_EQ(changed, 26);
    EXPECT_EQ(AsciiLower('Q'), 'q');
    EXPECT_EQ(AsciiUpper(static_cast<unsigned char>('q')), 'Q');
    EXPECT_EQ(AsciiLower(static_cast<unsigned char>(0xC1)), 0xC1);
}

}  // namespace
