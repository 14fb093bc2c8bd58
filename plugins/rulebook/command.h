// Expression commands: s/PATTERN/REPLACEMENT/options and tr/SEARCH/REPLACEMENT/options,
// compiled into a RegexRecord and run over a text.
//
// Every entry point takes an errorText buffer of regex::kErrorTextSize bytes, clears it and
// writes a short English text into it on failure. The slot receives the record made for the
// command; the caller frees it with FreeRegexRecord whatever the result.
//
// `encoding` is that of the command and the target alike: Shift JIS or UTF-8. The command is
// read by its characters either way; the option k makes the pattern, the lists and the target
// be read by characters too.
#pragma once

#include <cstddef>

#include "regex/char_mode.h"
#include "regex/regex_record.h"

namespace rulebook {

// Splits the command at its three separators, reads its options and compiles it. Null on
// failure; also null, with errorText empty, for a translation without search list.
regex::RegexRecord* PrecompileCommand(const char* command, std::size_t length, char* errorText,
                                      regex::CharMode encoding = regex::CharMode::kShiftJis);

// Runs a substitution over [targetBegin, targetEnd): the number of substitutions with the
// whole new text as the record's result, 0 when nothing changes (no result), -1 on failure.
int Substitute(const char* command, const char* targetBegin, const char* targetEnd,
               regex::RegexRecord** slot, char* errorText,
               regex::CharMode encoding = regex::CharMode::kShiftJis);

// Runs a translation over [targetBegin, targetEnd): the number of characters translated with
// the whole new text as the record's result, 0 when none was, -1 on failure.
int Translate(const char* command, const char* targetBegin, const char* targetEnd,
              regex::RegexRecord** slot, char* errorText,
              regex::CharMode encoding = regex::CharMode::kShiftJis);

// Releases the record and everything it owns; nothing for null.
void FreeRegexRecord(regex::RegexRecord* record);

}  // namespace rulebook
