// Translation commands (tr/SEARCH/REPLACEMENT/options): character lists, the translation
// table and the translation of a text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "regex/char_mode.h"
#include "regex/regex_record.h"

namespace rulebook {

// Translation-table values in the "to" position, beyond every character value.
inline constexpr uint32_t kKeepCharacter = 0xFFFFFFFF;    // translated to itself
inline constexpr uint32_t kDeleteCharacter = 0xFFFFFFFE;  // removed from the text

struct ListEscape {
    unsigned char value = 0;
    std::size_t consumed = 0;  // bytes used from the letter on
};

// The escape whose letter (the byte after the backslash) is at `letter`, before `end`:
// / a e f n r t, \xHH, \0 and up to two more octal digits, \cX; any other byte is itself.
ListEscape DecodeListEscape(const char* letter, const char* end);

// A character list as written in `encoding` (Shift JIS or UTF-8), with escapes resolved and
// ranges such as a-z or ぁ-ん spelled out (in UTF-8 by code point). An escape gives a byte.
std::string ExpandCharList(const char* begin, const char* end, regex::CharMode encoding);

// A translation record for the two lists with the option word; null (errorText empty) for
// an empty search list, null with "out of space trcomp" when memory runs out.
regex::RegexRecord* CompileTranslation(const char* searchBegin, const char* searchEnd,
                                       const char* replacementListBegin,
                                       const char* replacementListEnd, uint32_t optionWord,
                                       char* errorText);

// Translates [targetBegin, targetEnd) into the record's result text and returns the number
// of characters translated; -1 (errorText set) when memory runs out.
int TranslateText(regex::RegexRecord* record, const char* targetBegin, const char* targetEnd,
                  char* errorText);

}  // namespace rulebook
