// One command of a table or of XfmRegExp through the command layer, with its record freed
// whatever happens.
#include "run_command.h"

#include <exception>

#include "command.h"
#include "messages.h"
#include "regex/error_text.h"

namespace rulebook {
namespace {

// Frees the slot's record however the run ends.
struct RecordSlot {
    regex::RegexRecord* record = nullptr;
    ~RecordSlot() { FreeRegexRecord(record); }
};

}  // namespace

CommandOutcome RunCommand(const char* command, std::string_view text, regex::CharMode encoding) {
    CommandOutcome outcome;
    char errorText[regex::kErrorTextSize] = {};
    RecordSlot slot;
    int result = 0;
    const char* begin = text.data();
    const char* end = begin + text.size();
    try {
        if (command[0] == 's') {
            result = Substitute(command, begin, end, &slot.record, errorText, encoding);
        } else if (command[0] == 't' && command[1] == 'r') {
            result = Translate(command, begin, end, &slot.record, errorText, encoding);
        } else {
            regex::SetErrorText(errorText, kNotACommand);
        }
    } catch (const std::exception& e) {
        regex::SetErrorText(errorText, e.what());
    }
    if (errorText[0] != '\0') {
        outcome.kind = CommandOutcome::kFailed;
        outcome.error = errorText;
        return outcome;
    }
    if (result > 0 && slot.record != nullptr) {
        outcome.kind = CommandOutcome::kChanged;
        if (slot.record->outputBegin != nullptr) {
            outcome.text.assign(slot.record->outputBegin, slot.record->outputEnd);
        }
    }
    return outcome;
}

}  // namespace rulebook
