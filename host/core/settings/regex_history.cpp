#include "host/core/settings/regex_history.h"

#include <algorithm>

namespace host {

void RememberCommand(RegexHistory& history, const std::string& command) {
    if (command.empty()) {
        return;
    }
    // Places 1 to 7 are searched; a match at place 8 is dropped like any other eighth entry
    // and the command comes back at place 1.
    const auto searched = history.begin() + (kRegexHistorySize - 1);
    auto found = std::find(history.begin(), searched, command);
    const auto last = found == searched ? history.end() - 1 : found;
    std::move_backward(history.begin(), last, last + 1);
    history.front() = command;
}

std::string RegexHistoryKey(std::size_t place) {
    return "regexp" + std::to_string(place);
}

}  // namespace host
