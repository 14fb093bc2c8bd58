// UTF-8 <-> UTF-16, including what becomes of malformed input.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/utf16.h"

namespace {

using platform::Utf16ToUtf8;
using platform::Utf8ToUtf16;

TEST(Utf16, WellFormedTextRoundTrips) {
    const std::vector<std::string> texts = {
        "",
        "ascii",
        std::string("with\0zero", 9),
        "\xC2\x80\xDF\xBF",
        "機種依存文字①Ⅰ㍉",
        "\xEF\xBF\xBF",
        "😀\xF4\x8F\xBF\xBF",
        "半角ｶﾀｶﾅ and ＡＢＣ",
    };
    for (const auto& text : texts) {
        EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(text)), text) << text;
    }
    EXPECT_EQ(Utf8ToUtf16("a😀"), (std::u16string{u'a', 0xD83D, 0xDE00}));
}

struct Malformed {
    const char* what;
    std::string utf8;
    std::u16string utf16;
};

TEST(Utf16, MalformedUtf8BecomesReplacementCharacters) {
    const std::vector<Malformed> cases = {
        {"stray continuation", "a\x80z", u"a\uFFFDz"},
        {"invalid byte", "\xFF\xFE", u"\uFFFD\uFFFD"},
        {"overlong two-byte", "\xC0\xAF", u"\uFFFD\uFFFD"},
        {"overlong three-byte", "\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},
        {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"cut at the end", "ab\xE6\xA9", u"ab\uFFFD"},
        {"cut before ASCII", "\xE6\xA9z", u"\uFFFDz"},
        {"cut four-byte",
         "\xF0\x9F\x98"
         "a",
         u"\uFFFDa"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16) << c.what;
    }
}

TEST(Utf16, UnpairedSurrogatesBecomeReplacementCharacters) {
    EXPECT_EQ(Utf16ToUtf8(std::u16string{0xD800}), "\xEF\xBF\xBD");
    EXPECT_EQ(Utf16ToUtf8(std::u16string{0xDC00, u'a'}),
              "\xEF\xBF\xBD"
              "a");
    EXPECT_EQ(Utf16ToUtf8(std::u16string{0xD800, 0xD800, 0xDC00}), "\xEF\xBF\xBD\xF0\x90\x80\x80");
}

}  // namespace
