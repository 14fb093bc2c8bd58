// String tables: reading the lines and fields, escapes, and where a search string may match.
#include "rulebook_fixture.h"

namespace rulebook_test {
namespace {

using StringTable = RulebookTest;

TEST_F(StringTable, SplitsLinesAndFields) {
    ExpectTable(kStringTable, {
                                  {"pair", "abc\txyz\n", "1abc2abc", "1xyz2xyz"},
                                  {"no tab deletes", "abc\n", "xabcx", "xx"},
                                  {"leading tab", "\tabc\n", "xabcx", "xx"},
                                  {"tab run", "a\t\t\tb\n", "aa", "bb"},
                                  {"third field ignored", "a\tb\tc\n", "a", "b"},
                                  {"crlf lines", "a\tb\r\nc\td\r\n", "ac", "bd"},
                                  {"last line unterminated", "a\tb\nc\td", "ac", "bd"},
                                  {"lone cr stays in the line", "a\tb\rc\td\n", "ac", "b\rcc"},
                                  {"tabs only", "\t\t\n", "abc", "abc"},
                                  {"empty lines", "\n\n\r\n", "abc", "abc"},
                                  {"comment", "#a\tb\n", "#a", "#a"},
                                  {"blank then hash is data", " #\tX\n", "a #", "aX"},
                                  {"hash later is data", "a#\tb\n", "a#", "b"},
                              });
}

TEST_F(StringTable, ResolvesEscapesInBothFields) {
    ExpectTable(kStringTable, {
                                  {"control escapes", "\\n\\r\\t\t[\\\\]\n", "\n\r\t", "[\\]"},
                                  {"hash escape", "\\#x\ty\n", "#x", "y"},
                                  {"hex both cases", "\\x41\\X4a\t\\x7E\n", "AJ", "~"},
                                  {"hex lower digits", "\\x4a\tok\n", "J", "ok"},
                                  {"unknown escape vanishes", "a\\qb\tX\n", "ab", "X"},
                                  {"trailing backslash vanishes", "ab\\\tX\n", "ab", "X"},
                                  {"short hex cuts the field", "ab\\x4g\tX\n", "ab", "X"},
                                  {"zero byte ends the field", "ab\\x00cd\tX\n", "abcd", "Xcd"},
                                  {"escaped tab does not split", "a\\tb\tX\n", "a\tb", "X"},
                                  {"empty after escapes", "\\q\tX\n", "q", "q"},
                              });
}

TEST_F(StringTable, BackslashInsideADoubleByteCharacterIsData) {
    const std::string hyou = S("表");  // 0x95 0x5C
    const std::string so = S("ソ");    // 0x83 0x5C
    ExpectTable(kStringTable,
                {
                    {"kanji with 5c in field", hyou + "\t" + so + "\n", hyou + "x", so + "x"},
                    {"kanji then escape", hyou + "\\n\tX\n", hyou + "\n", "X"},
                    {"escaped kanji vanishes whole", "a\\" + hyou + "b\tX\n", "ab", "X"},
                });
}

TEST_F(StringTable, MatchesOnlyAtCharacterStarts) {
    const std::string hyou = S("表");  // 0x95 0x5C
    const std::string a = S("ア");     // 0x83 0x41
    const std::string eq = S("＝");    // 0x81 0x81
    ExpectTable(kStringTable, {
                                  {"backslash inside kanji", "\\\\\tX\n", hyou + "\\", hyou + "X"},
                                  {"letter inside kanji", "A\tX\n", a + "A", a + "X"},
                                  {"run of lead values", "\x81\x81\tX\n", "A" + eq + eq, "AXX"},
                                  {"odd run", eq + "\tX\n", "\x95\x81\x81\x81",
                                   "\x95\x81"
                                   "X"},
                                  {"kanji after zero byte", "A\tX\n",
                                   std::string("\0", 1) + a + "A", std::string("\0", 1) + a + "X"},
                              });
}

TEST_F(StringTable, PairsApplyInOrderWithoutSearchingTheirOwnOutput) {
    ExpectTable(
        kStringTable,
        {
            {"chain", "a\tb\nb\tc\n", "ab", "cc"},
            {"no rescan", "aa\ta\n", "aaaa", "aa"},
            {"growing replacement", "a\taa\n", "aba", "aabaa"},
            {"no overlap", "aa\tX\n", "aaa", "Xa"},
            {"japanese", S("猫\t犬\n"), S("吾輩は猫である。猫"), S("吾輩は犬である。犬")},
            {"zero bytes kept", "b\tc\n", std::string("a\0b\0b", 5), std::string("a\0c\0c", 5)},
        });
}

TEST_F(StringTable, AResultOverFourGibibytesStopsTheTableBeforeItIsBuilt) {
    // 2 MB of "a" after the first pair, times 2100 bytes each: more than 4 GiB.
    const std::string big(2100, 'a');
    uint32_t size = 1;
    EXPECT_FALSE(Convert(kStringTable, "a\taa\na\t" + big + "\nb\tc\n", std::string(1 << 20, 'a'),
                         &size)
                     .has_value());
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(messages, std::vector<Message>{TableCommandError("result larger than 4 GiB", "a")});
    // The same pair is measured and then built at its size when only a few occurrences exist.
    messages.clear();
    std::string text(1 << 20, 'b');
    text[1000] = 'a';
    std::string expected = text;
    expected.replace(1000, 1, big);
    const std::string hyou = S("表");  // 0x95 0x5C: no match inside it
    ExpectTable(kStringTable, {
                                  {"one occurrence", "a\t" + big + "\n", text, expected},
                                  {"character starts", "\\\\\t" + big + "\n",
                                   text + hyou + "\\", text + hyou + big},
                              });
    EXPECT_TRUE(messages.empty());
}

TEST_F(StringTable, FindsSearchStringsAtEveryOffsetOfTextsOfEveryLength) {
    const std::string path = WriteTable("xyz\t!\nq\t?\n" + S("ア") + "\tA\n");
    for (std::size_t length = 0; length <= 70; ++length) {
        const std::string filler(length, '.');
        EXPECT_EQ(Plugin().Run(kStringTable, filler + "xyz", path.c_str()), filler + "!");
        EXPECT_EQ(Plugin().Run(kStringTable, "xyz" + filler, path.c_str()), "!" + filler);
        EXPECT_EQ(Plugin().Run(kStringTable, filler + "xy", path.c_str()), filler + "xy");
        EXPECT_EQ(Plugin().Run(kStringTable, filler + "q", path.c_str()), filler + "?");
        EXPECT_EQ(Plugin().Run(kStringTable, filler + S("ア"), path.c_str()), filler + "A");
    }
}

TEST_F(StringTable, ReadsTheTableAgainOnEveryCall) {
    const std::string path = WriteTable("a\tb\n");
    EXPECT_EQ(Plugin().Run(kStringTable, "a", path.c_str()), "b");
    folder.Write(std::filesystem::path(path).filename().string(), "a\tc\n");
    EXPECT_EQ(Plugin().Run(kStringTable, "a", path.c_str()), "c");
}

}  // namespace
}  // namespace rulebook_test
