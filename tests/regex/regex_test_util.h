// Compiling and matching in one call for the engine's tests.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "regex/regex.h"

namespace regex_test {

struct RecordDeleter {
    void operator()(regex::RegexRecord* rx) const { regex::ReleaseRegexRecord(rx); }
};
using Record = std::unique_ptr<regex::RegexRecord, RecordDeleter>;

// Compiles `pattern`; `error` receives the error text (empty on success).
Record Compile(std::string_view pattern, uint32_t flags = 0, std::string* error = nullptr);

// The compiler's error text for `pattern` ("" when it compiles).
std::string CompileError(std::string_view pattern, uint32_t flags = 0);

// The match of `pattern` in `subject` as "[start,end)" of the whole match followed by each
// group's "[start,end)" or "-" (group took no part), separated by blanks; "no match" or
// "error: <text>".
std::string Match(std::string_view pattern, std::string_view subject, uint32_t flags = 0);

// Same with a compiled record and a search from `start` (offset) with minEnd.
std::string MatchWith(regex::RegexRecord* rx, std::string_view subject, std::size_t start = 0,
                      uint32_t minEnd = 0);

// Bytes of a NUL-free subject copied into a buffer whose byte after the end is not NUL.
std::vector<char> Unterminated(std::string_view subject);

}  // namespace regex_test
