#include "command.h"

#include <cstdlib>
#include <cstring>
#include <exception>

#include "command_flags.h"
#include "messages.h"
#include "record_output.h"
#include "regex/compile.h"
#include "regex/error_text.h"
#include "replacement.h"
#include "regex/char_mode.h"
#include "substitute.h"
#include "translate.h"

namespace rulebook {
namespace {

// The first unescaped `separator` in [p, end), or null. Characters of the command's encoding
// are stepped over whole; a backslash escapes the character after it.
const char* FindSeparator(const char* p, const char* end, char separator,
                          regex::CharMode encoding) {
    while (p < end) {
        const char c = *p;
        if (c == separator) {
            return p;
        }
        if (c == '\\') {
            if (++p == end) {
                break;
            }
        }
        p += regex::CharWidth(encoding, p, end);
    }
    return nullptr;
}

uint32_t ReadOptions(const char* p, const char* end) {
    uint32_t flags = 0;
    for (; p < end; ++p) {
        switch (*p) {
            case 'g':
                flags |= regex::FLAG_GLOBAL;
                break;
            case 'i':
                flags |= regex::FLAG_FOLD;
                break;
            case 'm':
                flags |= regex::FLAG_MULTILINE;
                break;
            case 'k':
                flags |= regex::FLAG_KANJI;
                break;
            case 'c':
                flags |= FLAG_COMPLEMENT;
                break;
            case 'd':
                flags |= FLAG_DELETE;
                break;
            case 's':
                flags |= FLAG_SQUEEZE;
                break;
            case 'o':
                flags |= regex::FLAG_ONCE;
                break;
            default:
                break;  // blanks and other letters mean nothing
        }
    }
    return flags;
}

struct CommandParts {
    bool substitution = false;
    const char* searchBegin = nullptr;  // pattern or search list
    const char* searchEnd = nullptr;
    const char* replacementBegin = nullptr;
    const char* replacementEnd = nullptr;
    uint32_t options = 0;
};

// Cuts the command copy [copy, end) into its parts; false with errorText set when it cannot.
bool SplitCommand(const char* copy, const char* end, regex::CharMode encoding, CommandParts& parts,
                  char* errorText) {
    const std::size_t length = static_cast<std::size_t>(end - copy);
    std::size_t separatorAt;
    if (length >= 1 && copy[0] == 's') {
        parts.substitution = true;
        separatorAt = 1;
    } else if (length >= 2 && copy[0] == 't' && copy[1] == 'r') {
        separatorAt = 2;
    } else {
        regex::SetErrorText(errorText, kNotACommand);
        return false;
    }
    if (separatorAt + 1 >= length) {
        regex::SetErrorText(errorText, "unmatch separater");
        return false;
    }
    const char separator = copy[separatorAt];
    parts.searchBegin = copy + separatorAt + 1;
    parts.searchEnd = FindSeparator(parts.searchBegin, end, separator, encoding);
    if (parts.searchEnd != nullptr) {
        parts.replacementBegin = parts.searchEnd + 1;
        parts.replacementEnd = FindSeparator(parts.replacementBegin, end, separator, encoding);
    }
    if (parts.replacementEnd == nullptr) {
        regex::SetErrorText(errorText, "unmatch separater");
        return false;
    }
    parts.options = ReadOptions(parts.replacementEnd + 1, end);
    if (encoding == regex::CharMode::kUtf8) {
        parts.options |= regex::FLAG_UTF8;
    }
    return true;
}

regex::RegexRecord* CompileSubstitution(const CommandParts& parts, char* errorText) {
    uint32_t flags = parts.options;
    regex::RegexRecord* record =
        regex::CompilePattern(parts.searchBegin, parts.searchEnd, &flags, errorText);
    if (record == nullptr) {
        if (errorText[0] == '\0') {
            regex::SetErrorText(errorText, "fatal error");
        }
        return nullptr;
    }
    record->flags |= FLAG_SUBSTITUTE;
    record->replacementBegin = parts.replacementBegin;
    record->replacementEnd = parts.replacementEnd;
    try {
        record->compiledReplacement =
            CompileReplacement(record, parts.replacementBegin, parts.replacementEnd);
    } catch (const std::exception&) {
        regex::ReleaseRegexRecord(record);
        regex::SetErrorText(errorText, "precompile out of space");
        return nullptr;
    }
    return record;
}

// Steps shared by both commands: the target check, the record into the slot, the old
// result freed. Null when the command cannot run (errorText tells why, or is empty for a
// translation without search list).
regex::RegexRecord* Prepare(const char* command, const char* targetBegin, const char* targetEnd,
                            regex::CharMode encoding, regex::RegexRecord** slot,
                            char* errorText) {
    regex::ClearErrorText(errorText);
    if (targetBegin == nullptr || targetEnd == nullptr || targetBegin >= targetEnd) {
        regex::SetErrorText(errorText, "invalid target parameter");
        return nullptr;
    }
    regex::RegexRecord* record =
        PrecompileCommand(command, std::strlen(command), errorText, encoding);
    if (record == nullptr) {
        return nullptr;
    }
    *slot = record;
    ClearRecordOutput(record);
    return record;
}

int FailureOrNoChange(const char* errorText) {
    return errorText[0] != '\0' ? -1 : 0;
}

}  // namespace

regex::RegexRecord* PrecompileCommand(const char* command, std::size_t length, char* errorText,
                                      regex::CharMode encoding) {
    regex::ClearErrorText(errorText);
    auto* copy = static_cast<char*>(std::malloc(length + 1));
    if (copy == nullptr) {
        regex::SetErrorText(errorText, "precompile out of space");
        return nullptr;
    }
    std::memcpy(copy, command, length);
    copy[length] = '\0';
    CommandParts parts;
    regex::RegexRecord* record = nullptr;
    if (SplitCommand(copy, copy + length, encoding, parts, errorText)) {
        record =
            parts.substitution
                ? CompileSubstitution(parts, errorText)
                : CompileTranslation(parts.searchBegin, parts.searchEnd, parts.replacementBegin,
                                     parts.replacementEnd, parts.options, errorText);
    }
    if (record == nullptr) {
        std::free(copy);
        return nullptr;
    }
    record->commandBegin = copy;
    record->commandEnd = copy + length;
    return record;
}

int Substitute(const char* command, const char* targetBegin, const char* targetEnd,
               regex::RegexRecord** slot, char* errorText, regex::CharMode encoding) {
    regex::RegexRecord* record =
        Prepare(command, targetBegin, targetEnd, encoding, slot, errorText);
    if (record == nullptr) {
        return FailureOrNoChange(errorText);
    }
    // An empty pattern would match everywhere and nowhere: the text stays as it is.
    if (record->patternLength == 0) {
        return 0;
    }
    const int count = SubstituteAll(record, targetBegin, targetEnd, errorText);
    return errorText[0] != '\0' ? -1 : count;
}

int Translate(const char* command, const char* targetBegin, const char* targetEnd,
              regex::RegexRecord** slot, char* errorText, regex::CharMode encoding) {
    regex::RegexRecord* record =
        Prepare(command, targetBegin, targetEnd, encoding, slot, errorText);
    if (record == nullptr) {
        // A translation without search list has nothing to translate.
        return FailureOrNoChange(errorText);
    }
    const int count = TranslateText(record, targetBegin, targetEnd, errorText);
    return errorText[0] != '\0' ? -1 : count;
}

void FreeRegexRecord(regex::RegexRecord* record) {
    if (record == nullptr) {
        return;
    }
    std::free(record->commandBegin);
    ClearRecordOutput(record);
    delete record->compiledReplacement;
    std::free(record->translationTable);
    regex::ReleaseRegexRecord(record);
}

}  // namespace rulebook
