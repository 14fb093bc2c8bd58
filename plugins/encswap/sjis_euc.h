// Shift JIS to EUC and back. A two-byte character whose second byte is missing (end of text)
// or is a zero byte is incomplete: its first byte is copied unchanged.
#pragma once

#include <cstddef>
#include <cstdint>

#include "byte_sink.h"
#include "extension_map.h"
#include "row_cell.h"

namespace encswap {

// True when the two-byte character starting at `i` has its second byte.
inline bool HasSecondByte(const unsigned char* in, std::size_t i, std::size_t n) {
    return i + 1 < n && in[i + 1] != 0;
}

inline bool IsSjisKana(unsigned char c) {
    return c >= 0xA1 && c <= 0xDF;
}

template <class Sink>
bool SjisToEuc(const unsigned char* in, std::size_t n, Sink& out) {
    std::size_t i = 0;
    while (i < n) {
        const unsigned char c = in[i];
        if (c < 0x80) {
            const std::size_t run = AsciiRun(in, i, n);
            if (!out.Copy(in + i, run)) {
                return false;
            }
            i += run;
        } else if (IsSjisKana(c)) {
            if (!out.Put(0x8E, c)) {
                return false;
            }
            ++i;
        } else if (HasSecondByte(in, i, n)) {
            std::uint8_t lead = c;
            std::uint8_t trail = in[i + 1];
            if (lead >= 0xFA && lead <= 0xFC) {
                const std::uint16_t nec = NecFromIbm(static_cast<std::uint16_t>(lead << 8 | trail));
                lead = static_cast<std::uint8_t>(nec >> 8);
                trail = static_cast<std::uint8_t>(nec);
            }
            const BytePair rc = RowCellFromSjis(lead, trail);
            if (!out.Put(EucByte(rc.first), EucByte(rc.second))) {
                return false;
            }
            i += 2;
        } else {
            if (!out.Put(c)) {
                return false;
            }
            ++i;
        }
    }
    return true;
}

template <class Sink>
bool EucToSjis(const unsigned char* in, std::size_t n, Sink& out) {
    std::size_t i = 0;
    while (i < n) {
        const unsigned char c = in[i];
        if (c < 0x80) {
            const std::size_t run = AsciiRun(in, i, n);
            if (!out.Copy(in + i, run)) {
                return false;
            }
            i += run;
        } else if (!HasSecondByte(in, i, n)) {
            if (!out.Put(c)) {
                return false;
            }
            ++i;
        } else if (c == 0x8E) {
            // Half-width katakana; a 7-bit kana byte gets its top bit back.
            unsigned char kana = in[i + 1];
            if (kana >= 0x21 && kana <= 0x5F) {
                kana = static_cast<unsigned char>(kana + 0x80);
            }
            if (!out.Put(kana)) {
                return false;
            }
            i += 2;
        } else {
            BytePair s = SjisFromRowCell(SevenBit(c), SevenBit(in[i + 1]));
            if (s.first == 0xED || s.first == 0xEE) {
                const std::uint16_t ibm =
                    IbmFromNec(static_cast<std::uint16_t>(s.first << 8 | s.second));
                s = {static_cast<std::uint8_t>(ibm >> 8), static_cast<std::uint8_t>(ibm)};
            }
            if (!out.Put(s.first, s.second)) {
                return false;
            }
            i += 2;
        }
    }
    return true;
}

}  // namespace encswap
