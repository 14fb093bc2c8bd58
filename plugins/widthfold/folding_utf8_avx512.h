// Full to half width on UTF-8 for processors with 64-byte vectors, byte permutes and byte
// compression: a block's full-width forms are looked up all at once and the two bytes each
// loses squeezed out. Chosen at run time like folding_avx512.h.
#pragma once

#include "folding_avx512.h"

#if defined(WIDTHFOLD_WITH_AVX512)

#include <immintrin.h>

#include <bit>
#include <cstddef>
#include <cstdint>

#include "folding_utf8.h"
#include "utf8_width_tables.h"

namespace widthfold {

// The same result as FullToHalfUtf8.
WIDTHFOLD_AVX512 inline void FullToHalfUtf8Avx512(const unsigned char* in, std::size_t n,
                                                  Output& out, CharSet set) {
    const Utf8WidthTable& table = kUtf8WidthTables[static_cast<int>(set)];
    const bool symbols = set == CharSet::kSymbols;
    // ASCII of EF BC 80-BF and EF BD 80-BF, by the third byte's low six bits, plus 64 for BD.
    const __m512i halfBC = _mm512_loadu_si512(table.half[0].data());
    const __m512i halfBD = _mm512_loadu_si512(table.half[1].data());
    const __m512i lowSix = _mm512_set1_epi8(0x3F);
    std::size_t i = 0;
    while (n - i >= kBlockReadAhead && out.HasBlockRoom()) {
        const unsigned char* block = in + i;
        const __m512i x = _mm512_loadu_si512(block);
        const __m512i x1 = _mm512_loadu_si512(block + 1);
        const __m512i x2 = _mm512_loadu_si512(block + 2);
        const std::uint64_t second =
            _mm512_cmpeq_epi8_mask(x1, _mm512_set1_epi8(static_cast<char>(0xBD)));
        const std::uint64_t fullWidth =
            _mm512_cmpeq_epi8_mask(x, _mm512_set1_epi8(static_cast<char>(kFullWidthLead))) &
            InRange(x1, 0xBC, 0xBD) & InRange(x2, 0x80, 0xBF);
        const __m512i low = _mm512_and_si512(x2, lowSix);
        const __m512i index = _mm512_mask_add_epi8(low, second, low, _mm512_set1_epi8(0x40));
        __m512i half = _mm512_permutex2var_epi8(halfBC, index, halfBD);
        std::uint64_t folds = fullWidth & _mm512_test_epi8_mask(half, half);
        if (symbols) {
            const std::uint64_t space =
                _mm512_cmpeq_epi8_mask(x, _mm512_set1_epi8(static_cast<char>(0xE3))) &
                _mm512_cmpeq_epi8_mask(x1, _mm512_set1_epi8(static_cast<char>(0x80))) &
                _mm512_cmpeq_epi8_mask(x2, _mm512_set1_epi8(static_cast<char>(0x80)));
            half = _mm512_mask_mov_epi8(half, space, _mm512_set1_epi8(' '));
            folds |= space;
        }
        // A block ends before a lead of three or four bytes in its last two bytes, so that every
        // character that folds lies wholly in it.
        const std::uint64_t lateLead = InRange(x, 0xE0, 0xFF) & (std::uint64_t{3} << 62);
        const std::size_t length =
            lateLead != 0 ? static_cast<std::size_t>(std::countr_zero(lateLead)) : kBlockBytes;
        const std::uint64_t inBlock =
            length == kBlockBytes ? ~std::uint64_t{0} : (std::uint64_t{1} << length) - 1;
        folds &= inBlock;
        const std::uint64_t kept = inBlock & ~(folds << 1 | folds << 2);
        const __m512i folded = _mm512_mask_mov_epi8(x, folds, half);
        _mm512_storeu_si512(out.next(), _mm512_maskz_compress_epi8(kept, folded));
        out.Advance(static_cast<std::size_t>(std::popcount(kept)));
        i += length;
    }
    // Blocks end at character ends: the rest converts as a text of its own.
    FullToHalfUtf8(in + i, n - i, out, set);
}

}  // namespace widthfold

#endif
