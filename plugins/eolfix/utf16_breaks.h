// Line breaks of UTF-16 text, rewritten in its own 16-bit units: the rule of line_breaks.h (CR
// LF, a lone CR and a lone LF each count as one break) applied to the units U+000D and U+000A
// in the text's byte order. A byte-order mark before the units and an odd last byte after them
// stay as they are; every other unit, surrogates included, is copied unchanged.
//
// As for bytes, both passes take 16 bytes (8 units) at a time where SSE2 is available: runs
// without a break unit are copied a block at a time, and the counts come from unit compares.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "line_breaks.h"

namespace eolfix {

// Where the units of a UTF-16 text lie: after a mark of `start` bytes (0 or 2), in one order.
struct Utf16Text {
    std::size_t start;
    bool bigEndian;
};

namespace detail16 {

inline std::uint16_t UnitAt(const unsigned char* p, bool bigEndian) {
    return static_cast<std::uint16_t>(bigEndian ? p[0] << 8 | p[1] : p[1] << 8 | p[0]);
}

inline unsigned char* PutUnit(unsigned char* out, unsigned char ascii, bool bigEndian) {
    out[0] = bigEndian ? 0 : ascii;
    out[1] = bigEndian ? ascii : 0;
    return out + 2;
}

inline unsigned char* WriteBreak(unsigned char* out, Target target, bool bigEndian) {
    if (target != Target::kLf) {
        out = PutUnit(out, '\r', bigEndian);
    }
    return target == Target::kCr ? out : PutUnit(out, '\n', bigEndian);
}

// Offset of the first CR or LF unit in [p, end) (whole units), or end.
inline const unsigned char* NextBreakUnit(const unsigned char* p, const unsigned char* end,
                                          bool bigEndian) {
    while (p < end) {
        const std::uint16_t unit = UnitAt(p, bigEndian);
        if (unit == '\n' || unit == '\r') {
            break;
        }
        p += 2;
    }
    return p;
}

#if defined(__SSE2__)
// The 16-bit lane that a unit `ascii` loads as from memory, in the text's byte order.
inline __m128i Lanes(unsigned char ascii, bool bigEndian) {
    return _mm_set1_epi16(static_cast<short>(bigEndian ? ascii << 8 : ascii));
}

inline std::uint64_t SumLanes(__m128i counts) {
    const __m128i pairs = _mm_madd_epi16(counts, _mm_set1_epi16(1));
    alignas(16) std::int32_t sums[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(sums), pairs);
    return static_cast<std::uint64_t>(sums[0]) + static_cast<std::uint64_t>(sums[1]) +
           static_cast<std::uint64_t>(sums[2]) + static_cast<std::uint64_t>(sums[3]);
}
#endif

}  // namespace detail16

// Exact length of the converted text of [in, in + n).
inline std::uint64_t ConvertedSize16(const unsigned char* in, std::size_t n, Utf16Text text,
                                     Target target) {
    const unsigned char* p = in + text.start;
    const unsigned char* const end = p + (n - text.start) / 2 * 2;
    std::uint64_t lf = 0;
    std::uint64_t cr = 0;
    std::uint64_t pairs = 0;
#if defined(__SSE2__)
    const __m128i kLf = detail16::Lanes('\n', text.bigEndian);
    const __m128i kCr = detail16::Lanes('\r', text.bigEndian);
    while (end - p >= 18) {
        // Per-lane counters of at most 16384 each, so that their sums stay positive.
        __m128i crCounts = _mm_setzero_si128();
        __m128i lfCounts = _mm_setzero_si128();
        __m128i pairCounts = _mm_setzero_si128();
        for (int round = 0; round < 16384 && end - p >= 18; ++round, p += 16) {
            const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 2));
            const __m128i isCr = _mm_cmpeq_epi16(here, kCr);
            crCounts = _mm_sub_epi16(crCounts, isCr);
            lfCounts = _mm_sub_epi16(lfCounts, _mm_cmpeq_epi16(here, kLf));
            pairCounts = _mm_sub_epi16(pairCounts, _mm_and_si128(isCr, _mm_cmpeq_epi16(next, kLf)));
        }
        cr += detail16::SumLanes(crCounts);
        lf += detail16::SumLanes(lfCounts);
        pairs += detail16::SumLanes(pairCounts);
    }
#endif
    for (; p < end; p += 2) {
        const std::uint16_t unit = detail16::UnitAt(p, text.bigEndian);
        if (unit == '\n') {
            ++lf;
        } else if (unit == '\r') {
            ++cr;
            pairs += end - p >= 4 && detail16::UnitAt(p + 2, text.bigEndian) == '\n';
        }
    }
    const std::uint64_t breaks = lf + cr - pairs;
    return n - 2 * (lf + cr) + 2 * breaks * BreakWidth(target);
}

// Writes the converted text of [in, in + n) to `out`, which has room for `outSize` bytes, and
// returns the number of bytes written; kNoRoom when the text does not fit. Nothing is ever
// written past `outSize`.
inline std::size_t RewriteBreaks16(const unsigned char* in, std::size_t n, Utf16Text text,
                                   unsigned char* out, std::size_t outSize, Target target) {
    unsigned char* const start = out;
    unsigned char* const outEnd = out + outSize;
    const unsigned char* p = in + text.start;
    const unsigned char* const end = p + (n - text.start) / 2 * 2;
    const auto room = [&] { return static_cast<std::size_t>(outEnd - out); };
    if (room() < text.start) {
        return kNoRoom;
    }
    std::memcpy(out, in, text.start);
    out += text.start;
#if defined(__SSE2__)
    const __m128i kLf = detail16::Lanes('\n', text.bigEndian);
    const __m128i kCr = detail16::Lanes('\r', text.bigEndian);
#endif
    while (p < end) {
#if defined(__SSE2__)
        // Whole blocks while they hold no break unit and the output has room for them.
        while (end - p >= 16 && room() >= 16) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(
                _mm_or_si128(_mm_cmpeq_epi16(block, kLf), _mm_cmpeq_epi16(block, kCr))));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), block);
            if (mask != 0) {
                const unsigned k = static_cast<unsigned>(std::countr_zero(mask));
                out += k;
                p += k;
                break;
            }
            out += 16;
            p += 16;
        }
#endif
        const unsigned char* const stop = detail16::NextBreakUnit(p, end, text.bigEndian);
        if (static_cast<std::size_t>(stop - p) > room()) {
            return kNoRoom;
        }
        std::memcpy(out, p, static_cast<std::size_t>(stop - p));
        out += stop - p;
        p = stop;
        if (p == end) {
            break;
        }
        const bool crLf = detail16::UnitAt(p, text.bigEndian) == '\r' && end - p >= 4 &&
                          detail16::UnitAt(p + 2, text.bigEndian) == '\n';
        p += crLf ? 4 : 2;
        if (room() < 2 * BreakWidth(target)) {
            return kNoRoom;
        }
        out = detail16::WriteBreak(out, target, text.bigEndian);
    }
    const std::size_t odd = static_cast<std::size_t>(in + n - end);
    if (room() < odd) {
        return kNoRoom;
    }
    std::memcpy(out, end, odd);
    out += odd;
    return static_cast<std::size_t>(out - start);
}

}  // namespace eolfix
