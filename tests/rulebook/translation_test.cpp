// Translations (tr): list expansion, escapes, the options c, d, s and k.
#include "rulebook_fixture.h"

namespace rulebook_test {
namespace {

using Translation = RulebookTest;

TEST_F(Translation, ExpandsListsAndMapsCharacters) {
    const std::vector<CommandCase> cases = {
        {"tr/a-c/A-C/", "abcd", "ABCd"}, {"tr/a-c-e/12345/", "abcde-", "12345-"},
        {"tr/z-a/123/", "az-", "312"},  // not a range: z, - and a
        {"tr/abc/x/", "abcd", "xxxd"},   {"tr/abc/x/d", "abcd", "xd"},
        {"tr/a-z//d", "aB1c", "B1"},     {"tr/a-z//c", "aB1c", "aB1c"},
        {"tr/a-z//cd", "aB1c!", "ac"},   {"tr/a-z//s", "aabbcc", "abc"},
        {"tr/a/b/s", "aaxaa", "bxb"},    {"tr/a/b/s", "ba", "b"},
        {"tr/aa/xy/", "a", "x"},    // the first pair of a character wins
        {"tr/-a/xy/", "-a", "xy"},  // a leading dash is an ordinary character
        {"tr/a-/xy/", "-a", "yx"},  // so is a trailing one
        {"tr#/#|#", "a/b", "a|b"},       {"tr/a\\/b/xyz/", "a/b", "xyz"},
    };
    ExpectCommands(cases);
}

TEST_F(Translation, DecodesEscapesInLists) {
    ExpectCommands({
        {"tr/\\041/x/", "!a", "xa"},
        {"tr/\\0a/xy/", std::string("\0a", 2), "xy"},
        {"tr/\\cA\\ca/xy/", "\x01", "x"},  // both give 0x01; the first pair wins
        {"tr/\\x41\\x4/xy/", "A\x04", "xy"},
        {"tr/\\n\\t\\r\\f\\e\\a/abcdef/", "\n\t\r\f\x1b\x07", "abcdef"},
        {"tr/\\//x/", "/", "x"},
        {"tr/\\\\/x/", "\\", "x"},
        {"tr/\\q/x/", "q", "x"},
        {"tr/\\x41-\\x43/x-z/", "ABC", "xyz"},
        {"tr/\\x01-\\t/x/", "\x05\t\\", "xx\\"},  // a range may end in an escape
        {"tr/\\\\-]/abc/", "\\]^", "ab^"},        // a range from the backslash to ]
    });
}

TEST_F(Translation, KanjiModeTakesDoubleByteCharactersWhole) {
    ExpectCommands({
        {S("tr/ａ-ｚ/a-z/k"), S("ａｂｃ！"), "abc" + S("！")},
        {S("tr/０-９/0-9/k"), S("電話：０３"), S("電話：") + "03"},
        {S("tr/ぁ-みむ-ん/ァ-ミム-ン/k"), S("ひらがなとカナ"), S("ヒラガナトカナ")},
        {S("tr/ｱ-ｳ/xyz/"), S("ｱｲｳｴ"), "xyz" + S("ｴ")},
        {S("tr/表/X/k"), S("表示") + "\\", "X" + S("示") + "\\"},
        {S("tr/表//kd"), S("表表示"), S("示")},
        {S("tr/表//ks"), S("表表示表"), S("表示表")},
        {S("tr/あ//kc"), S("あい"), S("あい")},
        {S("tr/あ//kcd"), S("あいあ") + "x", S("ああ")},
    });
}

TEST_F(Translation, WithoutKanjiModeWorksByteByByte) {
    // ａ is 0x82 0x81: 0x82 becomes x and 0x81 y; ｂ (0x82 0x82) becomes xx.
    EXPECT_EQ(RegExp(S("ｂ"), S("tr/ａ/xy/")).text, "xx");
    EXPECT_EQ(RegExp(S("ｂ"), S("tr/ａ/xy/k")).text, S("ｂ"));
    // A lead byte at the very end of the target is a character of its own.
    EXPECT_EQ(RegExp("a\x82", "tr/\\x82/X/k").text, "aX");
}

TEST_F(Translation, TablesRunTranslationsOnTheWholeText) {
    ExpectTable(kRegexTable, {
                                 {"translation", "tr/a-c/A-C/\n", "abcd", "ABCd"},
                                 {"two commands", "tr/a/b/\ntr/b/c/\n", "aab", "ccc"},
                                 {"nothing found", "tr/x/y/\n", "abc", "abc"},
                                 {"zero bytes keep the tail", "tr/a/b/\n", std::string("a\0a", 3),
                                  std::string("b\0b", 3)},
                                 {"leading zero byte", "tr/a/b/\n", std::string("\0a", 2),
                                  std::string("\0b", 2)},
                                 {"short lines skipped", "\nt\ntr/a/b/\n", "a", "b"},
                                 {"empty search list", "tr//x/\ntr/a/b/\n", "a", "b"},
                             });
    EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace rulebook_test
