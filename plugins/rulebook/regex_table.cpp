#include "regex_table.h"

#include "messages.h"
#include "platform/message_box.h"
#include "run_command.h"
#include "text_kinds.h"

namespace rulebook {

bool ApplyRegexTable(const Table& table, std::string& text, regex::CharMode encoding) {
    for (const std::string& command : table.searchList) {
        if (command.size() < 2) {
            continue;
        }
        CommandOutcome outcome = RunCommand(command.c_str(), text, encoding);
        if (outcome.kind == CommandOutcome::kFailed) {
            const std::string message = outcome.error + ": " + ShownInMessage(command, encoding) +
                                        kContinueWithoutTable;
            platform::ShowMessageBox(message.c_str(), kErrorTitle,
                                     platform::kButtonsOk | platform::kIconWarning);
            return false;
        }
        if (outcome.kind == CommandOutcome::kChanged) {
            text.swap(outcome.text);
        }
    }
    return true;
}

}  // namespace rulebook
