#include "host/core/regex_command_entry.h"

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

void RegexCommandEntry::Close() {
    store_.Save(history_);
}

}  // namespace host
