#include "host/core/tools/regex_command_entry.h"

#include "host/core/ui/host_texts.h"
#include "host/core/tools/tool_texts.h"
#include "platform/message_box.h"
#include "platform/text_encoding.h"

namespace host {

RegexCommandEntry::RegexCommandEntry(RegexHistoryStore& store)
    : store_(store), history_(store.Load()) {}

std::vector<std::string> RegexCommandEntry::DropDownEntries() const {
    std::vector<std::string> entries;
    for (const std::string& entry : history_) {
        if (entry.empty()) {
            break;
        }
        entries.push_back(entry);
    }
    return entries;
}

bool RegexCommandEntry::Accept(const std::string& command) {
    if (command.size() > kMaxRegexCommand) {
        return false;
    }
    RememberCommand(history_, command);
    return true;
}

std::optional<std::string> RegexCommandEntry::AcceptTyped(Questions& ui,
                                                          const std::string& typedUtf8) {
    const unsigned style = platform::kIconStop | platform::kButtonsOk;
    // The command travels in code page 932: a character it cannot hold would change the files
    // in a way nobody typed.
    if (const std::string outside = platform::FirstCharacterOutsideCp932(typedUtf8);
        !outside.empty()) {
        ui.messageBox(MessageKind::kCommandError, texts::CommandCharacterOutsideCp932(outside),
                      texts::kTitleError, style);
        return std::nullopt;
    }
    std::string command = platform::Utf8ToCp932(typedUtf8);
    if (!Accept(command)) {
        ui.messageBox(MessageKind::kCommandError, texts::kCommandTooLong, texts::kTitleError,
                      style);
        return std::nullopt;
    }
    return command;
}

void RegexCommandEntry::Close() {
    store_.Save(history_);
}

}  // namespace host
