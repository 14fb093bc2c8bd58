#include "rulebook_fixture.h"

#include "platform/message_box.h"
#include "platform/shared_string.h"
#include "support/sample_text.h"

namespace rulebook_test {

Message CommandError(std::string_view error, std::string_view command) {
    return {std::string(error) + ": " + std::string(command), "エラー",
            platform::kButtonsOk | platform::kIconWarning};
}

Message TableCommandError(std::string_view error, std::string_view command) {
    return {std::string(error) + ": " + std::string(command) +
                "\n変換テーブルを通さずに処理を続行します。",
            "エラー", platform::kButtonsOk | platform::kIconWarning};
}

Message TableOpenError(int error) {
    return {"変換テーブルファイルをオープンできません。(Error:" + std::to_string(error) +
                ")\n変換テーブルを通さずに処理を続行します。",
            "エラー", platform::kButtonsOk | platform::kIconStop};
}

std::string S(std::string_view utf8) {
    return testing_support::Sjis(utf8);
}

void RulebookTest::SetUp() {
    testing_support::RecordMessages(&messages);
}

void RulebookTest::TearDown() {
    testing_support::StopRecordingMessages();
}

const testing_support::PluginUnderTest& RulebookTest::Plugin() {
    return testing_support::SharedPlugin("rulebook");
}

std::string RulebookTest::WriteTable(const std::string& bytes) {
    return folder.Write("table" + std::to_string(++tableCount_) + ".tbl", bytes);
}

std::optional<std::string> RulebookTest::Convert(uint32_t index, const std::string& table,
                                                 const std::string& input, uint32_t* size) {
    const std::string path = WriteTable(table);
    return Plugin().Run(index, input, path.c_str(), size);
}

void RulebookTest::ExpectTable(uint32_t index, const std::vector<TableCase>& cases) {
    for (const TableCase& c : cases) {
        uint32_t size = 0;
        const auto out = Convert(index, c.table, c.input, &size);
        ASSERT_TRUE(out.has_value()) << c.what;
        EXPECT_EQ(*out, c.expected) << c.what;
        EXPECT_EQ(size, c.expected.size()) << c.what;
    }
}

RegExpResult RulebookTest::RegExp(const std::string& text, const std::string& command) {
    platform::SharedString shared(text);
    RegExpResult r;
    r.result = Plugin().regExp(&shared, command.c_str());
    r.text = std::string(shared.view());
    return r;
}

void RulebookTest::ExpectCommands(const std::vector<CommandCase>& cases) {
    for (const CommandCase& c : cases) {
        const RegExpResult r = RegExp(c.input, c.command);
        EXPECT_EQ(r.result, 1u) << c.command << " on " << c.input;
        EXPECT_EQ(r.text, c.expected) << c.command << " on " << c.input;
    }
    EXPECT_TRUE(messages.empty()) << messages.size();
}

void RulebookTest::ExpectFailures(const std::vector<FailingCommand>& cases) {
    for (const FailingCommand& f : cases) {
        messages.clear();
        const RegExpResult r = RegExp(f.text, f.command);
        EXPECT_EQ(r.result, 0u) << f.command;
        EXPECT_EQ(r.text, f.text) << f.command;
        EXPECT_EQ(messages, std::vector<Message>{CommandError(f.error, f.command)}) << f.command;
    }
}

}  // namespace rulebook_test
