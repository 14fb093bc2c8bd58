// Every character of code page 932 to UTF-8 and back, against a table built from the
// runtime's own converters; the characters other systems' JIS mappings leave in converted
// text; and what has no exact code.
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "platform/sjis_bytes.h"
#include "platform/utf16.h"
#include "unibridge_fixture.h"

namespace unibridge_test {
namespace {

constexpr unsigned kCp932 = platform::kCodePageWindowsJapanese;

struct Character {
    std::string code;  // Shift JIS bytes
    char16_t unit;
};

// Every code the runtime decodes to a character of its own, except the bytes it passes
// through as placeholders (0x80, 0xA0, 0xFD-0xFF): an undefined code decodes to U+30FB,
// which encodes back only to 0x8145.
std::vector<Character> CodePageCharacters() {
    std::vector<Character> characters;
    const auto add = [&](std::string code) {
        char16_t unit = 0;
        const auto* bytes = reinterpret_cast<const unsigned char*>(code.data());
        ASSERT_EQ(platform::MultiByteToWideChar(kCp932, bytes, code.size(), &unit, 1), 1u);
        if (unit == u'\u30FB' && code != "\x81\x45") {
            return;
        }
        characters.push_back({code, unit});
    };
    for (unsigned first = 0; first < 0x100; ++first) {
        if (first == 0x80 || first == 0xA0 || first >= 0xFD) {
            continue;
        }
        if (!platform::sjis::IsLeadByte(static_cast<unsigned char>(first))) {
            add(std::string(1, static_cast<char>(first)));
            continue;
        }
        for (unsigned second = 0; second < 0x100; ++second) {
            add({static_cast<char>(first), static_cast<char>(second)});
        }
    }
    return characters;
}

std::string Utf8Of(char16_t unit) {
    return platform::Utf16ToUtf8(std::u16string(1, unit));
}

// The code the runtime encodes a character to (its preferred one among duplicates).
std::string RuntimeCode(char16_t unit) {
    return platform::EncodeCodePage(kCp932, std::u16string(1, unit));
}

TEST_F(UnibridgeTest, EveryCodePageCharacterConvertsToUtf8AndBack) {
    const std::vector<Character> characters = CodePageCharacters();
    ASSERT_GT(characters.size(), 7000u);
    // One character per line, after one that only Shift JIS reads, so that the text is
    // detected as Shift JIS.
    std::string sjis = Sjis("あ\n");
    std::string utf8 = "あ\n";
    std::string back = sjis;
    for (const Character& c : characters) {
        sjis += c.code + "\n";
        utf8 += Utf8Of(c.unit) + "\n";
        back += RuntimeCode(c.unit) + "\n";
    }
    const auto converted = Convert(kToUtf8, sjis);
    ASSERT_TRUE(converted.has_value());
    ASSERT_EQ(converted->size(), utf8.size());
    for (std::size_t i = 0, line = 0; i < utf8.size(); ++line) {
        const std::size_t end = utf8.find('\n', i) + 1;
        ASSERT_EQ(converted->substr(i, end - i), utf8.substr(i, end - i)) << "line " << line;
        i = end;
    }
    const auto returned = Convert(kToSjis, *converted);
    ASSERT_TRUE(returned.has_value());
    EXPECT_EQ(*returned, back);
    EXPECT_TRUE(messages.empty());
}

TEST_F(UnibridgeTest, DuplicateCodesComeBackAtTheCodePagesOwnChoice) {
    // NEC-selected IBM extensions, and NEC row 13 symbols that JIS row 2 also has.
    EXPECT_EQ(Convert(kToSjis, "あ\u7E8A"), Sjis("あ") + "\xFA\x5C");  // 0xED40 or 0xFA5C
    EXPECT_EQ(Convert(kToSjis, "あ\u2170"), Sjis("あ") + "\xFA\x40");  // 0xEEEF or 0xFA40
    EXPECT_EQ(Convert(kToSjis, "あ\u2252"), Sjis("あ") + "\x81\xE0");  // 0x8790 or 0x81E0
    EXPECT_EQ(Convert(kToUtf8, Sjis("あ") + "\xED\x40\xFA\x5C"), "あ\u7E8A\u7E8A");
}

TEST_F(UnibridgeTest, JisMappingsOfOtherSystemsComeBackToTheirShiftJisCodes) {
    const struct {
        const char* utf8;
        const char* sjis;
    } aliases[] = {
        {"\u301C", "\x81\x60"}, {"\u2016", "\x81\x61"}, {"\u2212", "\x81\x7C"},
        {"\u00A2", "\x81\x91"}, {"\u00A3", "\x81\x92"}, {"\u00AC", "\x81\xCA"},
        {"\u2014", "\x81\x5C"},
    };
    for (const auto& alias : aliases) {
        EXPECT_EQ(Convert(kToSjis, std::string("x") + alias.utf8 + "\r\n"),
                  std::string("x") + alias.sjis + "\r\n")
            << alias.utf8;
    }
    // Their code page 932 forms keep their codes, and come back as those on the way out.
    EXPECT_EQ(Convert(kToSjis, "\uFF5E\u2225\uFF0D\uFFE0\uFFE1\uFFE2\u2015"),
              "\x81\x60\x81\x61\x81\x7C\x81\x91\x81\x92\x81\xCA\x81\x5C");
    EXPECT_EQ(Convert(kToUtf8, "\x81\x60\x81\x61\x81\x7C\x81\x91\x81\x92\x81\xCA\x81\x5C"),
              "\uFF5E\u2225\uFF0D\uFFE0\uFFE1\uFFE2\u2015");
    EXPECT_TRUE(messages.empty());
}

TEST_F(UnibridgeTest, NoCloseFitStandsInForACharacterWithoutACode) {
    // The code page's own converter would give 0x5C, 0x7E, "・" and "?".
    for (const char* utf8 : {"\u00A5", "\u203E", "\u00B7", "\u00E9", "\uFFFD"}) {
        messages.clear();
        EXPECT_EQ(Convert(kToSjis, std::string("abc") + utf8), std::nullopt) << utf8;
        EXPECT_EQ(messages.size(), 1u) << utf8;
    }
}

TEST_F(UnibridgeTest, PlaceholderBytesAreNoShiftJisCharacters) {
    for (const char* byte : {"\x80", "\xA0", "\xFD", "\xFE", "\xFF"}) {
        messages.clear();
        EXPECT_EQ(Convert(kToUtf8, Sjis("あ") + byte), std::nullopt);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_NE(messages[0].text.find("のバイト "), std::string::npos) << messages[0].text;
    }
    // Nor do they come back from their Unicode stand-ins.
    EXPECT_EQ(Convert(kToSjis, "a\u0080"), std::nullopt);
    EXPECT_EQ(Convert(kToSjis, "a\uF8F0"), std::nullopt);
}

}  // namespace
}  // namespace unibridge_test
