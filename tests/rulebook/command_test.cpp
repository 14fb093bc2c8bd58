// Commands as XfmRegExp and the regular-expression table run them: dispatch, separators,
// failures and their messages.
#include "rulebook_fixture.h"

namespace rulebook_test {
namespace {

using Commands = RulebookTest;

TEST_F(Commands, RegExpRefusesShortCommandsSilently) {
    for (const char* command : {"", "s", "t"}) {
        const RegExpResult r = RegExp("abc", command);
        EXPECT_EQ(r.result, 0u) << command;
        EXPECT_EQ(r.text, "abc");
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(Commands, RegExpShowsEachFailureWithTheCommandAndKeepsTheText) {
    const std::vector<FailingCommand> failures = {
        {"abc", "m/a/", "do not start 's' or 'tr'"}, {"abc", " s/a/b/", "do not start 's' or 'tr'"},
        {"", "tr/a/b/", "invalid target parameter"}, {"abc", "tr/abc/xyz", "unmatch separater"},
        {"abc", "tr/abc", "unmatch separater"},      {"abc", "tr/", "unmatch separater"},
        {"abc", "tr", "unmatch separater"},
    };
    ExpectFailures(failures);
}

TEST_F(Commands, AnEmptySearchListChangesNothing) {
    const RegExpResult r = RegExp("abc", "tr//x/");
    EXPECT_EQ(r.result, 1u);
    EXPECT_EQ(r.text, "abc");
    EXPECT_TRUE(messages.empty());
}

TEST_F(Commands, SeparatorsAreFoundOutsideDoubleByteCharacters) {
    // ポ is 0x83 0x7C: its second byte is "|".
    const std::string po = S("ポ");
    EXPECT_EQ(RegExp(po + "|", "tr|" + po + "|x|k").text, "x|");
    EXPECT_EQ(RegExp(po + "|", "tr|" + po + "|xy|").text, "xyy");
    EXPECT_EQ(RegExp(po + "|", "tr|\\|" + po + "|abc|").text, "baa");
    // An escaped double-byte character is stepped over whole as well.
    EXPECT_EQ(RegExp(po + "|", "tr|\\" + po + "|x|k").text, "x|");
    EXPECT_EQ(RegExp(po + "|", "s|\\" + po + "|x|k").text, "x|");
}

TEST_F(Commands, OptionLettersAreReadOneByOne) {
    // Blanks and unknown letters mean nothing; "comment" switches on c (and m, o).
    EXPECT_EQ(RegExp("abc", "tr/a//d x").text, "bc");
    EXPECT_EQ(RegExp("abc", "tr/a//d comment").text, "a");
}

TEST_F(Commands, AFailingTableCommandAbandonsTheWholeTable) {
    const struct {
        std::string table;
        std::string command;
        std::string error;
    } cases[] = {
        {"tr/a/b/\n s/a/b/\n", " s/a/b/", "do not start 's' or 'tr'"},
        {"tr/a/b/\nx\ntr/b/c\n", "tr/b/c", "unmatch separater"},
        {"tr/a/b/\nmove\n", "move", "do not start 's' or 'tr'"},
    };
    for (const auto& c : cases) {
        messages.clear();
        uint32_t size = 5;
        EXPECT_FALSE(Convert(kRegexTable, c.table, "aaa", &size).has_value()) << c.table;
        EXPECT_EQ(size, 0u);
        EXPECT_EQ(messages, std::vector<Message>{TableCommandError(c.error, c.command)});
    }
}

TEST_F(Commands, AnEmptyInputStopsARegularExpressionTable) {
    const std::string path = WriteTable("tr/a/b/\n");
    ConvertRequest request{sizeof(ConvertRequest), nullptr, 0, nullptr, 0, 0,
                           path.c_str(),           0,       0, 0};
    EXPECT_EQ(Plugin().getBufferSize(&request), 0u);
    EXPECT_EQ(messages,
              std::vector<Message>{TableCommandError("invalid target parameter", "tr/a/b/")});
}

TEST_F(Commands, ATableOfCrOnlyLinesIsOneCommand) {
    // The whole file is one line: tr/a/b/ whose options are the bytes after it.
    ExpectTable(kRegexTable, {{"cr lines", "tr/a/b/\rtr/b/x/\r", "ab", "bb"}});
}

}  // namespace
}  // namespace rulebook_test
