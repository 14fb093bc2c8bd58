// Line-break rewriting: CR LF, a lone CR and a lone LF each count as one break, and every
// break is written as `Target`. The size count and the conversion share that rule, so the
// reported size is exactly what is written.
//
// Both scan 16 bytes at a time where SSE2 is available: text runs without a break byte are
// copied a block at a time, and the counts come from byte-compare masks.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace eolfix {

enum class Target { kCrLf, kCr, kLf };

inline std::size_t BreakWidth(Target target) { return target == Target::kCrLf ? 2 : 1; }

// Exact length of the converted text of [in, in + n): every byte that is not part of a
// break, plus the target's width for every break.
inline std::uint64_t ConvertedSize(const unsigned char* in, std::size_t n, Target target) {
    std::uint64_t lf = 0;    // LF bytes
    std::uint64_t cr = 0;    // CR bytes
    std::uint64_t pairs = 0; // CR directly followed by LF: one break of two bytes
    std::size_t i = 0;
#if defined(__SSE2__)
    // Per-lane byte counters (a compare gives -1 per match, subtracted), emptied into the
    // totals before they can overflow.
    const __m128i kLfByte = _mm_set1_epi8('\n');
    const __m128i kCrByte = _mm_set1_epi8('\r');
    const auto total = [](__m128i counts) {
        const __m128i sums = _mm_sad_epu8(counts, _mm_setzero_si128());
        return static_cast<std::uint64_t>(_mm_cvtsi128_si32(sums)) +
               static_cast<std::uint64_t>(_mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
    };
    while (i + 17 <= n) {
        __m128i crCounts = _mm_setzero_si128();
        __m128i lfCounts = _mm_setzero_si128();
        __m128i pairCounts = _mm_setzero_si128();
        for (int round = 0; round < 255 && i + 17 <= n; ++round, i += 16) {
            const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
            const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 1));
            const __m128i isCr = _mm_cmpeq_epi8(here, kCrByte);
            crCounts = _mm_sub_epi8(crCounts, isCr);
            lfCounts = _mm_sub_epi8(lfCounts, _mm_cmpeq_epi8(here, kLfByte));
            pairCounts =
                _mm_sub_epi8(pairCounts, _mm_and_si128(isCr, _mm_cmpeq_epi8(next, kLfByte)));
        }
        cr += total(crCounts);
        lf += total(lfCounts);
        pairs += total(pairCounts);
    }
#endif
    for (; i < n; ++i) {
        if (in[i] == '\n') {
            ++lf;
        } else if (in[i] == '\r') {
            ++cr;
            pairs += (i + 1 < n && in[i + 1] == '\n');
        }
    }
    const std::uint64_t breaks = lf + cr - pairs;
    return n - (lf + cr) + breaks * BreakWidth(target);
}

namespace detail {

inline unsigned char* WriteBreak(unsigned char* out, Target target) {
    switch (target) {
        case Target::kCrLf:
            *out++ = '\r';
            *out++ = '\n';
            break;
        case Target::kCr:
            *out++ = '\r';
            break;
        case Target::kLf:
            *out++ = '\n';
            break;
    }
    return out;
}

// Offset of the first CR or LF in [in + i, in + n), or n.
inline std::size_t NextBreakByte(const unsigned char* in, std::size_t i, std::size_t n) {
    while (i < n && in[i] != '\n' && in[i] != '\r') {
        ++i;
    }
    return i;
}

}  // namespace detail

inline constexpr std::size_t kNoRoom = static_cast<std::size_t>(-1);

// Writes the converted text of [in, in + n) to `out`, which has room for `outSize` bytes, and
// returns the number of bytes written; kNoRoom when the text does not fit. Nothing is ever
// written past `outSize`.
inline std::size_t RewriteBreaks(const unsigned char* in, std::size_t n, unsigned char* out,
                                 std::size_t outSize, Target target) {
    unsigned char* const start = out;
    unsigned char* const end = out + outSize;
    std::size_t i = 0;
    while (i < n) {
        std::size_t run = i;
#if defined(__SSE2__)
        // Copy whole blocks while they hold no break byte and the output has room for them.
        const __m128i kLfByte = _mm_set1_epi8('\n');
        const __m128i kCrByte = _mm_set1_epi8('\r');
        while (run + 16 <= n && end - out >= 16) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + run));
            const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(
                _mm_cmpeq_epi8(block, kLfByte), _mm_cmpeq_epi8(block, kCrByte))));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), block);
            if (mask != 0) {
                const unsigned k = static_cast<unsigned>(std::countr_zero(mask));
                out += k;
                run += k;
                break;
            }
            out += 16;
            run += 16;
        }
        if (run < n && in[run] != '\n' && in[run] != '\r') {
            const std::size_t stop = detail::NextBreakByte(in, run, n);
            if (stop - run > static_cast<std::size_t>(end - out)) {
                return kNoRoom;
            }
            std::memcpy(out, in + run, stop - run);
            out += stop - run;
            run = stop;
        }
#else
        run = detail::NextBreakByte(in, i, n);
        if (run - i > static_cast<std::size_t>(end - out)) {
            return kNoRoom;
        }
        std::memcpy(out, in + i, run - i);
        out += run - i;
#endif
        if (run >= n) {
            break;
        }
        i = run + 1;
        if (in[run] == '\r' && i < n && in[i] == '\n') {
            ++i;
        }
        if (static_cast<std::size_t>(end - out) < BreakWidth(target)) {
            return kNoRoom;
        }
        out = detail::WriteBreak(out, target);
    }
    return static_cast<std::size_t>(out - start);
}

}  // namespace eolfix
