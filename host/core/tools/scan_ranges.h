// Which Shift JIS codes the character scan calls platform-dependent, and which option of the
// scan asks for each: half-width katakana, the special-character rows (the NEC row 13 and the
// rows around it), the extended area (the NEC-selected IBM extension) and everything from the
// user-defined area up (the IBM extension among it). Both scans use it: the one that reads
// Shift JIS bytes and the one that asks where code page 932 puts a UTF-8 file's characters.
//
// The file information (file_info.h) counts the same codes by whose they are:
//   NEC: the NEC special characters of row 13 (0x8740-0x879C) and the NEC-selected copies of
//        the IBM extension (0xED40-0xEEFC);
//   IBM: the IBM extension (0xFA40-0xFC4B);
//   Mac: what the Japanese Macintosh adds where code page 932 has nothing: the special-
//        character rows around row 13 (0x8540-0x86FF, 0x879D-0x889E) and the rows of its
//        vertical forms (0xEB40-0xECFC).
// The user-defined area (0xF040-0xF9FC) belongs to nobody and is counted in none of them.
#pragma once

#include "host/core/tools/character_scan.h"

namespace host {

// Whether `options` ask for the code `code` (one byte, or lead × 256 + trail).
constexpr bool ReportsCode(unsigned code, const ScanOptions& options) {
    if (code <= 0xFF) {
        return code >= 0xA1 && code <= 0xDF && options.halfWidthKana;
    }
    if (code >= 0x8540 && code <= 0x889E) {
        return options.specialRows;
    }
    if (code >= 0xEB40 && code <= 0xEFFC) {
        return options.extendedArea;
    }
    if (code >= 0xF040) {
        return options.userArea;
    }
    return false;
}

enum class CodeVendor { kNone, kNec, kIbm, kMac };

// Whose platform-dependent character the two-byte code `code` (lead × 256 + trail) is.
constexpr CodeVendor VendorOf(unsigned code) {
    if ((code >= 0x8740 && code <= 0x879C) || (code >= 0xED40 && code <= 0xEEFC)) {
        return CodeVendor::kNec;
    }
    if (code >= 0xFA40 && code <= 0xFC4B) {
        return CodeVendor::kIbm;
    }
    if ((code >= 0x8540 && code <= 0x889E) || (code >= 0xEB40 && code <= 0xECFC)) {
        return CodeVendor::kMac;
    }
    return CodeVendor::kNone;
}

}  // namespace host
