// One expression command over a text, as the table converter and XfmRegExp run it.
#pragma once

#include <string>
#include <string_view>

#include "regex/char_mode.h"

namespace rulebook {

struct CommandOutcome {
    enum Kind { kUnchanged, kChanged, kFailed } kind = kUnchanged;
    std::string text;   // kChanged: the whole new text
    std::string error;  // kFailed: the command layer's error text
};

// Runs `command` (a substitution beginning with "s" or a translation beginning with "tr")
// over the whole of `text`, zero bytes included; both are in `encoding`.
CommandOutcome RunCommand(const char* command, std::string_view text,
                          regex::CharMode encoding = regex::CharMode::kShiftJis);

}  // namespace rulebook
