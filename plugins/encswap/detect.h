// Guessing the encoding of a text from its first telling byte.
#pragma once

#include "isa.h"

#include <cstddef>
#include <cstdint>

namespace encswap::ENCSWAP_ISA {

enum class Detected { kUnknown, kJis, kEuc, kSjis };

// Scans from the start until one byte decides:
// ESC '$' means JIS; 0x81-0x9F Shift JIS; 0xA1-0xDF EUC; any other byte from 0x80 up means
// Shift JIS when the byte after it (0 past the end) is 0xA0 or less, EUC when it is itself
// 0xFD or 0xFE, and otherwise nothing, the scan going on with the next byte. Bytes below 0x80
// decide nothing, so plain ASCII stays undecided. Zero bytes are ordinary bytes.
inline Detected DetectEncoding(const unsigned char* in, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char c = in[i];
        if (c < 0x80) {
            if (c == 0x1B && i + 1 < n && in[i + 1] == 0x24) {
                return Detected::kJis;
            }
            continue;
        }
        if (c >= 0x81 && c <= 0x9F) {
            return Detected::kSjis;
        }
        if (c >= 0xA1 && c <= 0xDF) {
            return Detected::kEuc;
        }
        const unsigned char next = i + 1 < n ? in[i + 1] : 0;
        if (next <= 0xA0) {
            return Detected::kSjis;
        }
        if (c == 0xFD || c == 0xFE) {
            return Detected::kEuc;
        }
    }
    return Detected::kUnknown;
}

}  // namespace encswap::ENCSWAP_ISA
