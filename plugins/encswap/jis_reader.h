// JIS to Shift JIS or EUC. Reading starts in ASCII mode; ESC $ B and ESC $ @ enter kanji
// mode, ESC ( B, ESC ( J and SI enter ASCII mode, ESC ( I and SO enter kana mode. The
// switches themselves are not copied. In kanji mode bytes are taken in pairs (row, cell); in
// kana mode each byte is a 7-bit half-width katakana; in ASCII mode each byte is itself.
#pragma once

#include "isa.h"

#include <cstddef>
#include <cstdint>

#include "byte_sink.h"
#include "row_cell.h"

namespace encswap::ENCSWAP_ISA {

enum class JisMode { kAscii, kKanji, kKana };

inline constexpr unsigned char kEsc = 0x1B;
inline constexpr unsigned char kShiftOut = 0x0E;  // SO: kana
inline constexpr unsigned char kShiftIn = 0x0F;   // SI: ASCII

// Length of the mode switch at `i` (3 for an escape sequence, 1 for SI or SO, 0 for none)
// and the mode it enters.
inline std::size_t ModeSwitchAt(const unsigned char* in, std::size_t i, std::size_t n,
                                JisMode& mode) {
    const unsigned char c = in[i];
    if (c == kShiftIn) {
        mode = JisMode::kAscii;
        return 1;
    }
    if (c == kShiftOut) {
        mode = JisMode::kKana;
        return 1;
    }
    if (c != kEsc || i + 2 >= n) {
        return 0;
    }
    const unsigned char a = in[i + 1];
    const unsigned char b = in[i + 2];
    if (a == 0x24 && (b == 0x42 || b == 0x40)) {
        mode = JisMode::kKanji;
        return 3;
    }
    if (a == 0x28 && (b == 0x42 || b == 0x4A)) {
        mode = JisMode::kAscii;
        return 3;
    }
    if (a == 0x28 && b == 0x49) {
        mode = JisMode::kKana;
        return 3;
    }
    return 0;
}

// Where the bytes of a pair in kanji mode go.
struct ToSjis {
    template <class Sink>
    static bool Kanji(std::uint8_t row, std::uint8_t cell, Sink& out) {
        const BytePair s = SjisFromRowCell(row, cell);
        return out.Put(s.first, s.second);
    }
    template <class Sink>
    static bool Kana(std::uint8_t sevenBit, Sink& out) {
        return out.Put(sevenBit | 0x80);
    }
};

struct ToEuc {
    template <class Sink>
    static bool Kanji(std::uint8_t row, std::uint8_t cell, Sink& out) {
        return out.Put(EucByte(row), EucByte(cell));
    }
    template <class Sink>
    static bool Kana(std::uint8_t sevenBit, Sink& out) {
        return out.Put(0x8E, sevenBit | 0x80);
    }
};

// True when the byte at `i` cannot be the second byte of a pair: the text ends before it, or
// it is a zero byte or begins a mode switch.
inline bool PairBrokenAt(const unsigned char* in, std::size_t i, std::size_t n) {
    if (i >= n || in[i] == 0) {
        return true;
    }
    JisMode ignored;
    return ModeSwitchAt(in, i, n, ignored) != 0;
}

// Bytes up to the next possible mode switch (ESC, SI or SO), copied in ASCII mode.
inline std::size_t PlainRun(const unsigned char* in, std::size_t from, std::size_t n) {
    std::size_t i = from;
    while (i < n && in[i] != kEsc && in[i] != kShiftIn && in[i] != kShiftOut) {
        ++i;
    }
    return i - from;
}

template <class Target, class Sink>
bool JisTo(const unsigned char* in, std::size_t n, Sink& out) {
    JisMode mode = JisMode::kAscii;
    std::size_t i = 0;
    while (i < n) {
        const std::size_t switchLength = ModeSwitchAt(in, i, n, mode);
        if (switchLength != 0) {
            i += switchLength;
            continue;
        }
        const unsigned char c = in[i];
        if (c == 0) {
            // A zero byte is itself in every mode.
            if (!out.Put(c)) {
                return false;
            }
            ++i;
            continue;
        }
        switch (mode) {
            case JisMode::kAscii: {
                const std::size_t run = 1 + PlainRun(in, i + 1, n);
                if (!out.Copy(in + i, run)) {
                    return false;
                }
                i += run;
                break;
            }
            case JisMode::kKana:
                if (!Target::Kana(c, out)) {
                    return false;
                }
                ++i;
                break;
            case JisMode::kKanji:
                if (PairBrokenAt(in, i + 1, n)) {
                    // Half a pair: the byte as it is.
                    if (!out.Put(c)) {
                        return false;
                    }
                    ++i;
                } else {
                    if (!Target::Kanji(c, in[i + 1], out)) {
                        return false;
                    }
                    i += 2;
                }
                break;
        }
    }
    return true;
}

}  // namespace encswap::ENCSWAP_ISA
