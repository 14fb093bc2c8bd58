// The rulebook plug-in as the host drives it: table files written to a temporary folder,
// both passes of a run, XfmRegExp over a shared string, and every message box recorded.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/plugin_under_test.h"
#include "support/recorded_messages.h"
#include "support/temp_folder.h"

namespace rulebook_test {

// A message box as the plug-in showed it, texts in UTF-8.
using Message = testing_support::RecordedMessage;

// "エラー" boxes: a failing command (warning icon) and a table that cannot be opened (stop).
Message CommandError(std::string_view error, std::string_view command);
Message TableCommandError(std::string_view error, std::string_view command);
Message TableOpenError(int error);

inline constexpr uint32_t kRegexTable = 0;
inline constexpr uint32_t kStringTable = 1;

// One conversion through a table: `input` becomes `expected` (size pass included).
struct TableCase {
    const char* what;
    std::string table;
    std::string input;
    std::string expected;
};

// One XfmRegExp command over a text: `input` becomes `expected`.
struct CommandCase {
    std::string command;
    std::string input;
    std::string expected;
};

// One XfmRegExp command that fails over `text`, and the error its message names.
struct FailingCommand {
    std::string text;
    std::string command;
    std::string error;
};

struct RegExpResult {
    uint32_t result = 0;
    std::string text;  // the shared string afterwards
};

class RulebookTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    static const testing_support::PluginUnderTest& Plugin();

    // Writes `table` (raw bytes) and runs function `index` over `input` as the host does.
    // Nothing when the size pass gives 0 or the conversion fails.
    std::optional<std::string> Convert(uint32_t index, const std::string& table,
                                       const std::string& input, uint32_t* size = nullptr);

    // Runs every case through function `index` and checks output and reported size.
    void ExpectTable(uint32_t index, const std::vector<TableCase>& cases);

    // XfmRegExp over a shared string holding `text`.
    RegExpResult RegExp(const std::string& text, const std::string& command);

    // Runs every case through XfmRegExp: each succeeds with its text, and no message shows.
    void ExpectCommands(const std::vector<CommandCase>& cases);

    // Runs every case through XfmRegExp: each fails, keeps its text and shows one message, which
    // names its error and command.
    void ExpectFailures(const std::vector<FailingCommand>& cases);

    // Path of a table file holding `bytes`.
    std::string WriteTable(const std::string& bytes);

    std::vector<Message> messages;
    testing_support::TempFolder folder;

  private:
    int tableCount_ = 0;
};

// Shift JIS bytes of a UTF-8 literal.
std::string S(std::string_view utf8);

}  // namespace rulebook_test
