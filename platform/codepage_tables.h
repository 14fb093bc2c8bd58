// The lookup tables of one code page, generated at build time from the mapping tables in
// platform/codepages/ (see codepages/generate_codepage_tables.cpp).
#pragma once

#include <cstdint>

namespace platform::codepage_tables {

struct CodePageTables {
    unsigned number;
    unsigned char defaultByte;  // what a unit without a code encodes to
    char16_t defaultUnit;       // what an undefined two-byte code decodes to
    // Per byte: 0 when it is a character of its own, else its lead row in `decode` (1...).
    const std::uint8_t* leadRow;  // [256]
    // decode[byte] is the unit of a one-byte character; decode[row * 256 + trail] the unit of
    // a two-byte code. Undefined codes hold `defaultUnit`.
    const char16_t* decode;  // [(rows + 1) * 256]
    // Per UTF-16 unit u: encodeCodes[encodePage[u >> 8] * 256 + (u & 0xFF)] is its code, one
    // byte when below 0x100, else two bytes, high byte first. Pages that are alike are shared.
    const std::uint16_t* encodePage;   // [256]
    const std::uint16_t* encodeCodes;  // [pages * 256]
};

extern const CodePageTables kCp932;
extern const CodePageTables kCp10001;

}  // namespace platform::codepage_tables
