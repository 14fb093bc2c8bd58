// JIS to Shift JIS or EUC. Reading starts in ASCII mode; ESC $ B and ESC $ @ enter kanji
// mode, ESC ( B, ESC ( J and SI enter ASCII mode, ESC ( I and SO enter kana mode. The
// switches themselves are not copied. In kanji mode bytes are taken in pairs (row, cell); in
// kana mode each byte is a 7-bit half-width katakana; in ASCII mode each byte is itself.
#pragma once

#include "isa.h"

#include <bit>
#include <cstddef>
#include <cstdint>

#include "byte_sink.h"
#include "row_cell.h"
#include "sjis_block.h"

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
// In kanji mode, pairs whose two bytes are rows and cells (0x21-0x7E) are whole: they go
// 16 bytes (8 pairs) at a time. Bits of the 16 bytes at `in` outside that range.
inline unsigned OutsideRowCell16(const unsigned char* in) {
#if defined(__SSE2__)
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
    const __m128i offset = _mm_sub_epi8(x, _mm_set1_epi8(0x21));
    const __m128i inside = _mm_cmpeq_epi8(_mm_min_epu8(offset, _mm_set1_epi8(0x7E - 0x21)), offset);
    return static_cast<unsigned>(_mm_movemask_epi8(inside)) ^ 0xFFFFu;
#else
    unsigned mask = 0;
    for (int p = 0; p < 16; ++p) {
        mask |= in[p] < 0x21 || in[p] > 0x7E ? 1u << p : 0;
    }
    return mask;
#endif
}

struct ToSjis {
    // Eight whole pairs of 7-bit rows and cells.
    template <class Sink>
    static void KanjiPairs16(const unsigned char* in, Sink& out) {
        if constexpr (Sink::kCountsOnly) {
            out.Add(16);
        } else {
#if defined(__SSE2__)
            auto set = [](int value) { return _mm_set1_epi8(static_cast<char>(value)); };
            auto atMost = [&](__m128i x, int limit) {
                return _mm_cmpeq_epi8(_mm_min_epu8(x, set(limit)), x);
            };
            auto select = [](__m128i mask, __m128i yes, __m128i no) {
                return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no));
            };
            const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
            // Rows in the even bytes, cells in the odd ones; each cell's row copied beside it.
            const __m128i lead = _mm_add_epi8(_mm_avg_epu8(x, _mm_setzero_si128()),
                                              select(atMost(x, 0x5E), set(0x70), set(0xB0)));
            const __m128i oddRow =
                _mm_cmpeq_epi8(_mm_and_si128(_mm_slli_epi16(x, 8), set(1)), set(1));
            const __m128i trail =
                select(oddRow, _mm_add_epi8(x, select(atMost(x, 0x5F), set(0x1F), set(0x20))),
                       _mm_add_epi8(x, set(0x7E)));
            const __m128i rows = _mm_set1_epi16(0x00FF);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out.cursor()), select(rows, lead, trail));
#else
            unsigned char* o = out.cursor();
            for (int p = 0; p < 16; p += 2) {
                const BytePair s = SjisFromRowCell(in[p], in[p + 1]);
                o[p] = s.first;
                o[p + 1] = s.second;
            }
#endif
            out.Advance(16);
        }
    }
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
    // Eight whole pairs of 7-bit rows and cells.
    template <class Sink>
    static void KanjiPairs16(const unsigned char* in, Sink& out) {
        if constexpr (Sink::kCountsOnly) {
            out.Add(16);
        } else {
            unsigned char* o = out.cursor();
            for (std::size_t p = 0; p < 16; ++p) {
                o[p] = EucByte(in[p]);
            }
            out.Advance(16);
        }
    }
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
#if defined(__SSE2__)
    while (n - i >= 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        const __m128i found =
            _mm_or_si128(_mm_cmpeq_epi8(x, _mm_set1_epi8(kEsc)),
                         _mm_or_si128(_mm_cmpeq_epi8(x, _mm_set1_epi8(kShiftIn)),
                                      _mm_cmpeq_epi8(x, _mm_set1_epi8(kShiftOut))));
        const int mask = _mm_movemask_epi8(found);
        if (mask != 0) {
            return i + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(mask))) -
                   from;
        }
        i += 16;
    }
#endif
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
                if (n - i >= 16 && (Sink::kCountsOnly || out.HasRoom(32))) {
                    const unsigned outside = OutsideRowCell16(in + i);
                    if (outside == 0) {
                        Target::KanjiPairs16(in + i, out);
                        i += 16;
                        break;
                    }
                    // The pairs before the first other byte are whole too.
                    const std::size_t whole = std::countr_zero(outside) / 2;
                    for (std::size_t k = 0; k < whole; ++k, i += 2) {
                        if (!Target::Kanji(in[i], in[i + 1], out)) {
                            return false;
                        }
                    }
                    if (whole != 0) {
                        break;
                    }
                }
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
