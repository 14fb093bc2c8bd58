// Full to half width for processors with 64-byte vectors, byte permutes and byte compression:
// each block's folding pairs are looked up all at once and the bytes they lose squeezed out,
// instead of one pair at a time. Built for those processors by function attributes and chosen
// at run time, so the rest of the plug-in runs anywhere.
#pragma once

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#define WIDTHFOLD_WITH_AVX512 1

#include <immintrin.h>

#include <bit>
#include <cstddef>
#include <cstdint>

#include "folding.h"
#include "platform/cpu_features.h"
#include "width_tables.h"

#define WIDTHFOLD_AVX512 \
    __attribute__((target("avx512f,avx512bw,avx512vbmi,avx512vbmi2,popcnt,bmi,lzcnt")))

namespace widthfold {

inline bool HasAvx512() {
    return platform::Cpu().avx512;
}

// Bytes of `x` from `first` to `last`.
WIDTHFOLD_AVX512 inline std::uint64_t InRange(__m512i x, unsigned char first, unsigned char last) {
    return _mm512_cmple_epu8_mask(_mm512_sub_epi8(x, _mm512_set1_epi8(static_cast<char>(first))),
                                  _mm512_set1_epi8(static_cast<char>(last - first)));
}

// The same result as FullToHalf.
WIDTHFOLD_AVX512 inline void FullToHalfAvx512(const unsigned char* in, std::size_t n, Output& out,
                                              CharSet set) {
    const WidthTable& table = kWidthTables[static_cast<int>(set)];
    // Half-width bytes of the codes 0x8140-0x81BF and 0x8240-0x82BF (every code that can fold),
    // by trail byte - 0x40.
    const __m512i half81Low = _mm512_loadu_si512(table.half[0].data() + 0x40);
    const __m512i half81High = _mm512_loadu_si512(table.half[0].data() + 0x80);
    const __m512i half82Low = _mm512_loadu_si512(table.half[1].data() + 0x40);
    const __m512i half82High = _mm512_loadu_si512(table.half[1].data() + 0x80);
    std::size_t i = 0;
    while (n - i >= kBlockReadAhead && out.HasBlockRoom()) {
        const unsigned char* block = in + i;
        const __m512i x = _mm512_loadu_si512(block);
        const __m512i next = _mm512_loadu_si512(block + 1);
        const BlockLayout layout = LayoutOf(InRange(x, 0x81, 0x9F) | InRange(x, 0xE0, 0xFC));
        const std::uint64_t validTrail =
            InRange(next, 0x40, 0xFC) & _mm512_cmpneq_epi8_mask(next, _mm512_set1_epi8(0x7F));
        const __m512i index = _mm512_sub_epi8(next, _mm512_set1_epi8(0x40));
        const __m512i half81 = _mm512_permutex2var_epi8(half81Low, index, half81High);
        const __m512i half82 = _mm512_permutex2var_epi8(half82Low, index, half82High);
        __m512i half = _mm512_maskz_mov_epi8(
            _mm512_cmpeq_epi8_mask(x, _mm512_set1_epi8(static_cast<char>(0x81))), half81);
        half = _mm512_mask_mov_epi8(
            half, _mm512_cmpeq_epi8_mask(x, _mm512_set1_epi8(static_cast<char>(0x82))), half82);
        const std::uint64_t folds =
            layout.pairLeads & InRange(next, 0x40, 0xBF) & _mm512_test_epi8_mask(half, half);
        // A broken character loses its lead byte, a folding pair its trail byte.
        const std::uint64_t broken = layout.pairLeads & ~validTrail;
        const std::uint64_t inBlock =
            layout.length == kBlockBytes ? ~std::uint64_t{0} : ~(std::uint64_t{1} << 63);
        const std::uint64_t kept = inBlock & ~(broken | folds << 1);
        const __m512i folded = _mm512_mask_mov_epi8(x, folds, half);
        _mm512_storeu_si512(out.next(), _mm512_maskz_compress_epi8(kept, folded));
        out.Advance(static_cast<std::size_t>(std::popcount(kept)));
        i += layout.length;
    }
    // The rest is too short for a block, or the output too near its end: a block ends at a
    // character end, so the rest converts as a text of its own.
    FullToHalf(in + i, n - i, out, set);
}

}  // namespace widthfold

#endif
