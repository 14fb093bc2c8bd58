// UTF-8 tables and texts: k takes whole UTF-8 characters in patterns, classes, quantifiers and
// tr lists; nothing matches inside a character; byte-order marks stay in front; a table and a
// text in different encodings fail with a message; ASCII goes with either.
#include "rulebook_fixture.h"

#include "platform/message_box.h"

namespace rulebook_test {
namespace {

using Utf8 = RulebookTest;

const std::string kMark = "\xEF\xBB\xBF";

// Commands as the tool passes them (code page 932) over UTF-8 texts.
using Utf8Commands = RulebookTest;

Message Mismatch(bool utf8Table) {
    return {std::string(utf8Table ? "変換テーブルはUTF-8ですが、ファイルはシフトJISです。"
                                  : "変換テーブルはシフトJISですが、ファイルはUTF-8です。") +
                "\n変換テーブルを通さずに処理を続行します。",
            "エラー", platform::kButtonsOk | platform::kIconStop};
}

TEST_F(Utf8Commands, PatternsTakeWholeCharacters) {
    ExpectCommands({
        {S("s/./X/k"), "あa", "Xa"},
        {S("s/(.)(.)/$2$1/k"), "あいう", "いあう"},
        {S("s/.{2}$/X/k"), "abあい", "abX"},
        {S("s/[ぁ-ん]+/<$&>/gk"), "漢字とかなカナ", "漢字<とかな>カナ"},
        {S("s/[^あa]/-/gk"), "あいaé", "あ-a-"},
        {S("s/い+/X/k"), "ああいいいa", "ああXa"},
        {S("s/あ{2}/X/k"), "あああ", "Xあ"},
        {S("s/\\W+/_/gk"), "ab、。cd", "ab_cd"},
        {S("s/\\W{2}/_/k"), "あいう", "_う"},
        {S("s/[\\W]/_/k"), "aéあ", "a_あ"},
        {S("s/\\S\\s/_/gk"), "a あ b", "__b"},
        {S("s/A/x/gik"), "aあA", "xあx"},
        // A literal of bytes that only occur inside a character finds nothing.
        {S("s/\\x81\\x82/X/gk"), "あ", "あ"},
        {S("s/\\x82\\xE3/X/gk"), "あい", "あい"},
        // Without k every byte is a character.
        {S("s/^./X/"), "éあ", "X\xA9あ"},
    });
}

TEST_F(Utf8Commands, MatchesBehindWideCharactersAtAFixedDistanceFromALiteral) {
    ExpectCommands({
        {S("s/..abc/X/k"), "ああabc", "X"},
        {S("s/..abc/X/k"), S("ああabc"), "X"},
        {S("s/.a/X/k"), S("ああa"), S("あX")},
    });
}

TEST_F(Utf8Commands, TranslationsMapCharactersAndRangesByCodePoint) {
    ExpectCommands({
        {S("tr/ぁ-ん/ァ-ン/k"), "ひらがなとカナ", "ヒラガナトカナ"},
        {S("tr/０-９/0-9/k"), "１２３円", "123円"},
        {S("tr/あ-う/x/k"), "あぃいぅうえ", "xxxxxえ"},
        {S("tr/a-z//cdk"), "aあbい", "ab"},
        {S("tr/あ/い/sk"), "ああaあ", "いaい"},
        {S("tr/あい/x/dk"), "あいう", "xう"},
    });
}

TEST_F(Utf8Commands, AByteOrderMarkStaysInFrontAndIsNeverMatched) {
    ExpectCommands({
        {S("s/^/X/k"), kMark + "abcあ", kMark + "Xabcあ"},
        {S("s/^./X/k"), kMark + "あい", kMark + "Xい"},
        {S("s/\\W/X/k"), kMark + "aあ", kMark + "aX"},
        {S("tr/\\xEF\\xBB\\xBF/x/"), kMark + "a", kMark + "a"},
    });
}

TEST_F(Utf8, TablesInUtf8RunOnUtf8Text) {
    ExpectTable(kRegexTable, {
                                 {"command after a mark", kMark + "s/あ/い/gk\n", "あaあ", "いaい"},
                                 {"emoji class", "s/[😀-😂]/X/gk\n", "a😀b😁c😃", "aXbXc😃"},
                                 {"emoji translation", "tr/😀あ/Xい/k\n", "😀あ", "Xい"},
                                 {"text mark kept", "s/^/>/\n", kMark + "あ", kMark + ">あ"},
                             });
    ExpectTable(kStringTable, {
                                  {"pair after a mark", kMark + "い\tX\n", "あいう", "あXう"},
                                  {"inside a character", "\\x81\\x82\tX\n", "あい", "あい"},
                                  {"across two characters", "\\x82\\xE3\tX\n", "あい", "あい"},
                                  {"escape after a character", "あ\\t\tX\n", "あ\tい", "Xい"},
                              });
    EXPECT_TRUE(messages.empty());
}

TEST_F(Utf8, AsciiTablesGoWithEitherEncoding) {
    ExpectTable(kRegexTable, {
                                 {"on UTF-8", "s/a/b/g\ntr/a-z/A-Z/k\n", "aあa", "BあB"},
                                 {"on Shift JIS", "s/a/b/g\ntr/a-z/A-Z/k\n", S("aあa"), S("BあB")},
                                 {"UTF-8 table on ASCII", "s/a/い/\n", "abc", "いbc"},
                             });
    ExpectTable(kStringTable, {
                                  {"on UTF-8", "a\tb\n", "aあa", "bあb"},
                                  {"on Shift JIS", "A\tX\n", S("アA"), S("アX")},
                              });
    EXPECT_TRUE(messages.empty());
}

TEST_F(Utf8, TablesMeetingTextInTheOtherEncodingFailWithAMessage) {
    EXPECT_FALSE(Convert(kRegexTable, "s/あ/い/k\n", S("あ")).has_value());
    EXPECT_FALSE(Convert(kStringTable, "あ\tい\n", S("あ")).has_value());
    EXPECT_FALSE(Convert(kRegexTable, S("s/あ/い/k\n"), "あ").has_value());
    EXPECT_FALSE(Convert(kStringTable, S("あ\tい\n"), kMark + "a").has_value());
    EXPECT_EQ(messages, (std::vector<Message>{Mismatch(true), Mismatch(true), Mismatch(false),
                                              Mismatch(false)}));
}

TEST_F(Utf8, ErrorsOfUtf8CommandsShowTheCommandReadably) {
    EXPECT_FALSE(Convert(kRegexTable, "s/あ(/x/k\n", "あ").has_value());
    EXPECT_EQ(messages,
              (std::vector<Message>{TableCommandError("unmatched () in regexp", "s/あ(/x/k")}));
    messages.clear();
    const RegExpResult r = RegExp("あ", S("s/い(/x/k"));
    EXPECT_EQ(r.result, 0u);
    EXPECT_EQ(r.text, "あ");
    EXPECT_EQ(messages,
              (std::vector<Message>{CommandError("unmatched () in regexp", "s/い(/x/k")}));
}

TEST_F(Utf8, TheExampleTableTidiesTheExampleNotice) {
    const std::string folder = POLYSHIFT_SOURCE_DIR "/examples/rulebook-utf8/";
    const std::string table = testing_support::ReadFile(folder + "tables/commands.tbl");
    const std::string notice = testing_support::ReadFile(folder + "notice.txt");
    ASSERT_EQ(table.substr(0, 3), kMark);
    EXPECT_EQ(Convert(kRegexTable, table, notice),
              "［日程］社内サーバ移行のお知らせ\n"
              "日時：2024年4月12日 〜 2024年4月13日\n"
              "対象：ファイルサーバ、メールサーバ！\n"
              "［休憩］作業の間は【こーひー】でもどうぞ\n");
    EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace rulebook_test
