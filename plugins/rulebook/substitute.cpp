#include "substitute.h"

#include <cstddef>
#include <cstdint>
#include <new>
#include <string>

#include "command_flags.h"
#include "record_output.h"
#include "regex/error_text.h"
#include "regex/match.h"
#include "replacement.h"

namespace rulebook {
namespace {

void AppendReplacement(std::string& out, const regex::RegexRecord& record) {
    if (record.flags & FLAG_LITERAL_REPLACEMENT) {
        out.append(record.replacementBegin,
                   static_cast<std::size_t>(record.replacementEnd - record.replacementBegin));
        return;
    }
    const regex::CompiledReplacement& compiled = *record.compiledReplacement;
    for (const auto& piece : compiled.pieces) {
        if (!piece.isGroup) {
            out.append(compiled.text, piece.offset, piece.length);
            continue;
        }
        if (piece.group > static_cast<uint32_t>(record.groupCount)) {
            continue;
        }
        const char* start = record.startp[piece.group];
        const char* end = record.endp[piece.group];
        if (start != nullptr && end != nullptr && start <= end) {
            out.append(start, static_cast<std::size_t>(end - start));
        }
    }
}

}  // namespace

int SubstituteAll(regex::RegexRecord* record, const char* targetBegin, const char* targetEnd,
                  char* errorText) {
    if (regex::ExecutePattern(record, targetBegin, targetEnd, targetBegin, 0, 1, errorText) == 0) {
        return 0;
    }
    const std::size_t targetLength = static_cast<std::size_t>(targetEnd - targetBegin);
    const std::size_t replacementLength =
        static_cast<std::size_t>(record->replacementEnd - record->replacementBegin);
    try {
        std::string out;
        out.reserve(replacementLength + targetLength + 256);
        const char* copied = targetBegin;
        std::size_t count = 0;
        const bool global = (record->flags & regex::FLAG_GLOBAL) != 0;
        for (;;) {
            const char* matchStart = record->startp[0];
            const char* matchEnd = record->endp[0];
            if (matchStart < copied || matchEnd < matchStart || matchEnd > targetEnd) {
                regex::SetErrorText(errorText, "fatal error");
                return 0;
            }
            out.append(copied, static_cast<std::size_t>(matchStart - copied));
            copied = matchEnd;
            AppendReplacement(out, *record);
            ++count;
            if (!global) {
                break;
            }
            const uint32_t minEnd = matchStart == matchEnd ? 1 : 0;
            if (regex::ExecutePattern(record, copied, targetEnd, targetBegin, minEnd, 1,
                                      errorText) == 0) {
                break;  // no further match, or the matcher's error stays in errorText
            }
            if (count > targetLength + 10) {
                regex::SetErrorText(errorText, "Substitution loop");
                return 0;
            }
        }
        out.append(copied, static_cast<std::size_t>(targetEnd - copied));
        if (out.empty()) {
            ClearRecordOutput(record);
        } else {
            SetRecordOutput(record, out);
        }
        return count > static_cast<std::size_t>(INT32_MAX) ? INT32_MAX : static_cast<int>(count);
    } catch (const std::bad_alloc&) {
        regex::SetErrorText(errorText, "out of space buf");
        return 0;
    }
}

}  // namespace rulebook
