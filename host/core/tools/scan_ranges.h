// Which Shift JIS codes the character scan calls platform-dependent, and which option of the
// scan asks for each: half-width katakana, the special-character rows (the NEC row 13 and the
// rows around it), the extended area (the NEC-selected IBM extension) and everything from the
// user-defined area up (the IBM extension among it). Both scans use it: the one that reads
// Shift JIS bytes and the one that asks where code page 932 puts a UTF-8 file's characters.
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

}  // namespace host
