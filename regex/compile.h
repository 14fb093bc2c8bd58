// Compiling a pattern into a RegexRecord, and the helpers the command layer shares with the
// compiler.
#pragma once

#include <cstdint>

#include "regex/regex_record.h"

namespace regex {

// Compiles the pattern [patternBegin, patternEnd). `flags` comes in as the option word and
// goes out with the inline options of the pattern added; the record keeps the value passed in.
// errorText (kErrorTextSize bytes) is cleared first; on failure it receives the reason and the
// result is null. The caller frees the record (ReleaseRegexRecord, after its own fields).
// An empty pattern gives a record without program, group arrays or pattern copy.
RegexRecord* CompilePattern(const char* patternBegin, const char* patternEnd, uint32_t* flags,
                            char* errorText);

// Whether the 16-bit character value is in the class operand (the byte after an OP_CLASS
// node's header).
bool ClassContains(uint32_t character, const unsigned char* classOperand);

// An octal number of at most maxDigits digits at p; *used receives the digits read.
uint32_t ReadOctal(const char* p, int maxDigits, int* used);
// A hexadecimal number of at most maxDigits digits at p ("x" counts as the digit 0, a NUL
// ends the scan); *used receives the digits read.
uint32_t ReadHex(const char* p, int maxDigits, int* used);

}  // namespace regex
