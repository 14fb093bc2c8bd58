// Substitutions (s): separators and options, the replacement's escapes and group references,
// the global loop and its guard.
#include "rulebook_fixture.h"

namespace rulebook_test {
namespace {

using Substitution = RulebookTest;

using SubstitutionCases = RulebookTest;

TEST_F(SubstitutionCases, CutsTheCommandAtUnescapedSeparators) {
    const std::string po = S("ポ");  // 0x83 0x7C
    ExpectCommands({
        {"s#a/b#x#", "1a/b2", "1x2"},
        {"s/a\\/b/x/", "1a/b2", "1x2"},
        {"s/a\\\\/x/", "a\\b", "xb"},
        {"s|" + po + "|x|", po + "|", "x||"},  // without k the pattern is 0x83 or nothing
        {"s|" + po + "|x|k", po + "|", "x|"},
        {"s/a/b/s", "aa", "ba"},
    });
}

TEST_F(SubstitutionCases, ReadsOptionLettersOneByOne) {
    ExpectCommands({
        {"s/a/b/ gix", "AaA", "bbb"},
        {"s/^b/x/g", "a\nb", "a\nb"},
        {"s/^b/x/g comment", "a\nb", "a\nx"},  // the m of "comment"
        {"s/A/x/o", "aA", "ax"},
    });
}

TEST_F(SubstitutionCases, CompilesReplacementEscapesAndGroupReferences) {
    ExpectCommands({
        {"s/(\\w+) (\\w+)/$2 $1/", "ab cd", "cd ab"},
        {"s/(a)|b/[$1]/g", "ab", "[a][]"},
        {"s/a/$x/", "a", "$x"},
        {"s/a/\\$/", "a", "$"},
        {"s/a/x$/", "a", "x$"},
        {"s/a/\\tx$/", "a", "\tx$"},
        {"s/a/\\t/g", "aXa", "\tX\t"},
        {"s/a/\\x41/", "a", "A"},
        {"s/a/\\041/", "a", "!"},
        {"s/a/\\0101/", "a",
         "\x08"
         "1"},
        {"s/a/\\101/", "a", ""},
        {"s/b+/<$&>/", "abbc", "a<bb>c"},
        {"s/(b)(c)/\\2\\1/", "abc", "acb"},
        {"s/a/\\n\\r\\f\\e\\a/", "a", "\n\r\f\x1b\x07"},
        {"s/a/\\cA\\ca\\q\\\\\\//", "a", "\x01\x01q\\/"},
        {"s/(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)(l)/$12$1/", "abcdefghijkl", "la"},
        {"s/a/$/", "a", "$"},
    });
}

TEST_F(SubstitutionCases, KeepsDoubleByteCharactersOfTheReplacementWhole) {
    // 表 and ソ end in 0x5C, which must not start an escape; $ before them copies them.
    ExpectCommands({
        {S("s/a/表\\t/"), "a", S("表") + "\t"},
        {S("s/a/\\ソ/"), "a", S("ソ")},
        {S("s/a/$表/"), "a", S("$表")},
        {S("s/(\\d+)/【$1】/gk"), S("第12回と3回"), S("第【12】回と【3】回")},
    });
}

TEST_F(SubstitutionCases, ReplacesFirstOrEveryMatch) {
    ExpectCommands({
        {"s/x*/-/g", "xab", "--a-b-"},
        {"s/a/b/", "aaa", "baa"},
        {"s/a/b/g", "aaa", "bbb"},
        {"s/.*//", "one line", ""},
        {"s/z/y/", "abc", "abc"},
        {"s/^/>/gm", "a\nb\n", ">a\n>b\n"},
    });
}

TEST_F(SubstitutionCases, InsertsOnlyGroupsThatTookPartInTheMatch) {
    ExpectCommands({
        {"s/(.(?![x]*1))*\\1/[$1]/", "ab1", "ab1"},
        {"s/(?:(\\w)(?![ ]*=))*\\1/[$1]/", "ab =", "ab ="},
        {S("s/(\\W(?![ヶ]*\\d))*\\1/[$1]/gk"), S("漢 1"), S("漢 1")},
        {"s/a*?(?!(a))/[$1]/", "aab", "[]b"},
    });
}

TEST_F(Substitution, AnEmptyPatternChangesNothing) {
    const RegExpResult r = RegExp("abc", "s//x/g");
    EXPECT_EQ(r.result, 1u);
    EXPECT_EQ(r.text, "abc");
    ExpectTable(kRegexTable, {{"empty pattern", "s//x/\ns/a/b/\n", "abc", "bbc"}});
    EXPECT_TRUE(messages.empty());
}

TEST_F(Substitution, ShowsSyntaxCompileAndRunErrorsAndKeepsTheText) {
    ExpectFailures({
        {"abc", "s/abc/xyz", "unmatch separater"},
        {"abc", "s/abc", "unmatch separater"},
        {"abc", "s/", "unmatch separater"},
        {"", "s/a/b/", "invalid target parameter"},
        {"abc", "s/a(/b/", "unmatched () in regexp"},
        {"abc", "s/[z-a]/b/", "invalid [] range in regexp"},
        {"abc", "s/*/b/", "?+* follows nothing"},
    });
}

TEST_F(Substitution, TheLoopGuardAllowsOneMatchPerByteAndOneMore) {
    const std::string text(50, 'b');
    const RegExpResult r = RegExp(text, "s/x*/-/g");
    EXPECT_EQ(r.result, 1u);
    EXPECT_EQ(r.text.size(), 101u);
}

TEST_F(Substitution, ATooComplexSearchAbandonsTheTable) {
    const std::string command = "s/(a|aa)*\\1\\d/x/g";
    uint32_t size = 1;
    EXPECT_FALSE(Convert(kRegexTable, "s/a/b/\n" + command + "\n", std::string(300, 'a'), &size)
                     .has_value());
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(messages, std::vector<Message>{TableCommandError("regexp too complex", command)});
    // Without the back-reference the same search is quick: no match, nothing to change.
    messages.clear();
    ExpectTable(kRegexTable, {{"linear", "s/(a|aa)*\\d/x/g\n", std::string(100000, 'a'),
                               std::string(100000, 'a')}});
    EXPECT_TRUE(messages.empty());
}

TEST_F(Substitution, TablesRunCommandsInOrderOverTheWholeText) {
    const std::string zero("\0", 1);
    ExpectTable(
        kRegexTable,
        {
            {"s then tr", "s/a/b/g\ntr/b/c/\n", "aaa", "ccc"},
            {"no match", "s/x/y/\n", "abc", "abc"},
            {"comment and blank", "# s/a/x/\n\ns/a/b/\n", "a", "b"},
            {"tail after zero byte", "s/b/c/g\n", "a" + zero + "b" + zero + "b",
             "a" + zero + "c" + zero + "c"},
            {"change before zero byte", "s/a/xyz/\n", "a" + zero + "tail", "xyz" + zero + "tail"},
            {"leading zero byte", "s/a/b/\n", zero + "a", zero + "b"},
            {"kanji", S("s/猫/犬/gk\ntr/０-９/0-9/k\n"), S("猫が３匹、猫"), S("犬が3匹、犬")},
            {"crlf table", "s/a/b/\r\ns/b/c/\r\n", "a", "c"},
        });
    EXPECT_TRUE(messages.empty());
}

TEST_F(Substitution, AFailingCommandLeavesTheInputOfTheWholeTable) {
    uint32_t size = 1;
    EXPECT_FALSE(Convert(kRegexTable, "s/a/b/\ns/(/x/\ns/b/c/\n", "a", &size).has_value());
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(messages,
              std::vector<Message>{TableCommandError("unmatched () in regexp", "s/(/x/")});
}

TEST_F(Substitution, GeneralLoopsCrossLongLines) {
    std::string line;
    while (line.size() < (1u << 20)) {
        line += "ab";
    }
    EXPECT_EQ(RegExp(line + "c", "s/(ab)*c/X/").text, "X");
    EXPECT_EQ(RegExp(line + "c", "s/(?:(a)|b)*c/[$1]/").text, "[a]");
    EXPECT_TRUE(messages.empty());
}

TEST_F(Substitution, BacktrackingBeyondItsMemoryAbandonsTheTable) {
    // Thirty group marks to take back per "a" of a line of 1 MB.
    const std::string command =
        "s/(?:" + std::string(30, '(') + "a" + std::string(30, ')') + "|b)*c/x/";
    const std::string line = std::string(1u << 20, 'a') + "c";
    uint32_t size = 1;
    EXPECT_FALSE(Convert(kRegexTable, "s/a/b/\n" + command + "\n", line, &size).has_value());
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(messages, std::vector<Message>{TableCommandError("regexp out of memory", command)});
    messages.clear();
    const RegExpResult r = RegExp(line, command);
    EXPECT_EQ(r.text, line);
    EXPECT_EQ(messages, std::vector<Message>{CommandError("regexp out of memory", command)});
}

TEST_F(Substitution, AnEmptyResultLeavesNothingToWrite) {
    uint32_t size = 1;
    EXPECT_FALSE(Convert(kRegexTable, "s/.*//\n", "abc", &size).has_value());
    EXPECT_EQ(size, 0u);
    EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace rulebook_test
