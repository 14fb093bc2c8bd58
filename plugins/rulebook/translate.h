// Translation commands (tr/SEARCH/REPLACEMENT/options): character lists, the translation
// table and the translation of a text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "regex/regex_record.h"

namespace rulebook {

// Translation-table values in the "to" position.
inline constexpr uint16_t kKeepCharacter = 0xFFFF;    // translated to itself
inline constexpr uint16_t kDeleteCharacter = 0xFFFE;  // removed from the text

struct ListEscape {
    unsigned char value = 0;
    std::size_t consumed = 0;  // bytes used from the letter on
};

// The escape whose letter (the byte after the backslash) is at `letter`, before `end`:
// / a e f n r t, \xHH, \0 and up to two more octal digits, \cX; any other byte is itself.
ListEscape DecodeListEscape(const char* letter, const char* end);

// A character list as written, with escapes resolved and ranges such as a-z or ぁ-ん
// spelled out.
std::string ExpandCharList(const char* begin, const char* end);

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
