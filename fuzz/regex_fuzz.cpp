// Compiles an arbitrary pattern with arbitrary options and searches an arbitrary subject with
// it, the way a global substitution does: from the start, then from each match's end.
//
// Input layout: one byte selecting the options (bit 7: UTF-8 characters), the pattern, a 0xFF
// separator, the subject.
// Backtracking is exponential by nature ("(a|a)+" over n bytes takes 2^n steps), so the
// subject is kept short and patterns with many branching operators are skipped: the target
// hunts for crashes and bad reads, not for slow patterns.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "regex/program_dump.h"
#include "regex/regex.h"

namespace {

constexpr std::size_t kMaxPattern = 48;
constexpr std::size_t kMaxSubject = 12;
constexpr int kMaxBranching = 4;  // "|", "*", "+", "?" and "{" in the pattern

void CheckPositions(const regex::RegexRecord* rx, const char* begin, const char* end) {
    for (int i = 0; i <= rx->groupCount; ++i) {
        if (rx->endp[i] == nullptr) {
            continue;
        }
        if (rx->startp[i] == nullptr || rx->startp[i] < begin || rx->endp[i] > end) {
            __builtin_trap();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    static const uint32_t kOptions[] = {regex::FLAG_FOLD, regex::FLAG_MULTILINE,
                                        regex::FLAG_SINGLELINE, regex::FLAG_KANJI,
                                        regex::FLAG_EXTENDED};
    uint32_t flags = 0;
    for (std::size_t i = 0; i < 5; ++i) {
        if (data[0] & (1u << i)) {
            flags |= kOptions[i];
        }
    }
    if (data[0] & 0x80) {
        flags |= regex::FLAG_UTF8;  // with k: UTF-8 characters
    }
    const bool keepInPlace = (data[0] & 0x40) == 0;
    const auto* rest = reinterpret_cast<const char*>(data + 1);
    const std::size_t restSize = size - 1;
    const void* sep = std::memchr(rest, 0xFF, restSize);
    const std::size_t patternSize = sep ? static_cast<const char*>(sep) - rest : restSize;
    if (patternSize > kMaxPattern) {
        return 0;
    }
    int branching = 0;
    for (std::size_t i = 0; i < patternSize; ++i) {
        branching += std::strchr("|*+?{", rest[i]) != nullptr && rest[i] != '\0';
    }
    if (branching > kMaxBranching) {
        return 0;
    }
    // Exact-size heap copies, so any read past either end is caught.
    std::vector<char> pattern(rest, rest + patternSize);
    const char* subjectBegin = sep ? static_cast<const char*>(sep) + 1 : rest + restSize;
    const std::size_t subjectSize =
        std::min<std::size_t>(rest + restSize - subjectBegin, kMaxSubject);
    std::vector<char> subject(subjectBegin, subjectBegin + subjectSize);

    char error[regex::kErrorTextSize];
    regex::RegexRecord* rx =
        regex::CompilePattern(pattern.data(), pattern.data() + pattern.size(), &flags, error);
    if (rx == nullptr) {
        if (error[0] == '\0') {
            __builtin_trap();  // a failure always says why
        }
        return 0;
    }
    (void)regex::DumpProgram(rx);
    if (!subject.empty() && rx->program != nullptr) {
        const char* text = subject.data();
        const char* end = text + subject.size();
        const char* p = text;
        uint32_t minEnd = 0;
        for (int round = 0; round < 64 && p <= end; ++round) {
            if (p == end) {
                break;
            }
            if (!regex::ExecutePattern(rx, p, end, text, minEnd, keepInPlace ? 1 : 0, error)) {
                // A compiled program fails on a short subject only when the search outgrows its
                // budget: nested loops around back-references can want exponential time even
                // on a dozen bytes.
                if (error[0] != '\0' && std::strcmp(error, "regexp too complex") != 0 &&
                    std::strcmp(error, "regexp out of memory") != 0) {
                    __builtin_trap();
                }
                break;
            }
            const char* begin = rx->subjectBegin;
            CheckPositions(rx, begin, rx->subjectEnd);
            const char* matchEnd = text + (rx->endp[0] - begin);
            minEnd = rx->endp[0] == rx->startp[0] ? 1 : 0;
            p = matchEnd;
        }
    }
    regex::ReleaseRegexRecord(rx);
    return 0;
}
