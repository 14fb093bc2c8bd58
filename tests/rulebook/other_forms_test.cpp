// Texts and tables in UTF-16, EUC-JP and JIS: read byte by byte as Shift JIS, a table could
// find characters that are none of its own, so nothing is converted and a message names the
// encoding. Shift JIS and UTF-8 go on as before.
#include "rulebook_fixture.h"

#include "platform/message_box.h"
#include "support/other_forms.h"
#include "support/sample_text.h"

namespace rulebook_test {
namespace {

using OtherForms = RulebookTest;

struct Form {
    const char* name;  // as the messages name it
    std::string text;
};

// One Shift JIS text in each other form. Its kana 猫 in EUC-JP (C7 AD) reads as the Shift JIS
// half-width katakana ｷｭ, which a Shift JIS pair for ｷｭ would find.
std::vector<Form> OtherFormsOf(const std::string& sjis) {
    return {
        {"UTF-16", testing_support::Utf16FromSjis(sjis, false, true)},
        {"UTF-16", testing_support::Utf16FromSjis(sjis, true, true)},
        {"UTF-16", testing_support::Utf16FromSjis(sjis, false, false)},
        {"EUC-JP", testing_support::EucFromSjis(sjis)},
        {"JIS", testing_support::JisFromSjis(sjis)},
    };
}

std::string Prose() {
    return testing_support::JapaneseText(2048) + S("吾輩は猫である。ABC\r\n");
}

Message ForeignText(const std::string& encoding) {
    return {"このファイルは" + encoding +
                "です。変換テーブルはシフトJISかUTF-8のファイルにだけ使えます。"
                "\n変換テーブルを通さずに処理を続行します。",
            "エラー", platform::kButtonsOk | platform::kIconStop};
}

Message ForeignTable(const std::string& encoding) {
    return {"変換テーブルは" + encoding +
                "です。変換テーブルはシフトJISかUTF-8で書いてください。"
                "\n変換テーブルを通さずに処理を続行します。",
            "エラー", platform::kButtonsOk | platform::kIconStop};
}

TEST_F(OtherForms, TextsPassUnchangedWithAMessageWhateverTheTable) {
    const std::vector<std::pair<uint32_t, std::string>> tables = {
        {kRegexTable, S("s/猫/ねこ/gk\ns/A/a/g\n")},
        {kRegexTable, "s/猫/ねこ/gk\n"},
        {kRegexTable, "s/A/a/g\n"},
        {kStringTable, S("猫\tねこ\nｷｭ\tX\n")},
        {kStringTable, "\xEF\xBB\xBF猫\tねこ\n"},
        {kStringTable, "A\ta\n"},
    };
    for (const Form& form : OtherFormsOf(Prose())) {
        for (const auto& [index, table] : tables) {
            messages.clear();
            uint32_t size = 1;
            EXPECT_FALSE(Convert(index, table, form.text, &size).has_value()) << form.name;
            EXPECT_EQ(size, 0u) << form.name << ": the host skips the step";
            EXPECT_EQ(messages, std::vector<Message>{ForeignText(form.name)}) << table;
        }
    }
}

TEST_F(OtherForms, TablesInThemConvertNothingWithAMessage) {
    const std::string table = S("猫\tねこ\n株式会社\t(株)\n");
    std::vector<Form> forms = OtherFormsOf(table);
    forms.erase(forms.begin() + 2);  // so short a table without a mark reads as Shift JIS
    for (const Form& form : forms) {
        for (const std::string& text : {S("ｷｭ吾輩は猫である。\r\n"), std::string("ABC\n")}) {
            messages.clear();
            EXPECT_FALSE(Convert(kStringTable, form.text, text).has_value()) << form.name;
            EXPECT_EQ(messages, std::vector<Message>{ForeignTable(form.name)});
        }
    }
    messages.clear();
    EXPECT_FALSE(Convert(kRegexTable, testing_support::JisFromSjis(S("s/猫/ねこ/gk\n")),
                         S("吾輩は猫である。"))
                     .has_value());
    EXPECT_EQ(messages, std::vector<Message>{ForeignTable("JIS")});
}

TEST_F(OtherForms, TheRegularExpressionToolLeavesThemAlone) {
    for (const Form& form : OtherFormsOf(Prose())) {
        messages.clear();
        const RegExpResult r = RegExp(form.text, "s/A/a/g");
        EXPECT_EQ(r.result, 0u) << form.name;
        EXPECT_EQ(r.text, form.text) << form.name;
        const Message shown = {"このファイルは" + std::string(form.name) +
                                   "です。正規表現による変換はシフトJISかUTF-8のファイルにだけ"
                                   "行います。",
                               "エラー", platform::kButtonsOk | platform::kIconWarning};
        EXPECT_EQ(messages, std::vector<Message>{shown});
    }
}

TEST_F(OtherForms, ShiftJisUtf8AndAsciiGoOnAsBefore) {
    ExpectTable(kStringTable, {
                                  {"Shift JIS", S("猫\tねこ\n"), S("ｷｭ猫ｶﾞ"), S("ｷｭねこｶﾞ")},
                                  {"half-width katakana alone", S("ｷｭ\tX\n"), S("ｷｭ"), "X"},
                                  {"kana EUC-JP could read", S("ｶﾞ\tガ\n"), S("ｶﾞ"), S("ガ")},
                                  {"UTF-8", "猫\tねこ\n", "吾輩は猫", "吾輩はねこ"},
                                  {"ASCII", "A\ta\n", "ABC\n", "aBC\n"},
                              });
    EXPECT_EQ(RegExp(S("ｷｭｰ"), "s/^/>/").text, S(">ｷｭｰ"));
    EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace rulebook_test
