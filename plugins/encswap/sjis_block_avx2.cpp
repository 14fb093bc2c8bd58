#include "sjis_block_avx2.h"

#if defined(ENCSWAP_HAVE_AVX2_PATH)

#include <immintrin.h>

#include "sjis_block.h"

namespace encswap {

namespace {

#define ENCSWAP_AVX2 __attribute__((target("avx2")))

ENCSWAP_AVX2 inline __m256i Bytes(int value) {
    return _mm256_set1_epi8(static_cast<char>(value));
}

ENCSWAP_AVX2 inline __m256i AtMost(__m256i x, int limit) {
    return _mm256_cmpeq_epi8(_mm256_min_epu8(x, Bytes(limit)), x);
}

// 0xFF for every byte whose bit is set in the 32 bits of `mask`.
ENCSWAP_AVX2 inline __m256i ByteMaskOf(std::uint32_t mask) {
    const __m256i spread =
        _mm256_shuffle_epi8(_mm256_set1_epi32(static_cast<int>(mask)),
                            _mm256_setr_epi8(0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 2, 2,
                                             2, 2, 2, 2, 2, 2, 3, 3, 3, 3, 3, 3, 3, 3));
    const __m256i bit = _mm256_set1_epi64x(static_cast<long long>(0x8040201008040201ull));
    return _mm256_cmpeq_epi8(_mm256_and_si256(spread, bit), bit);
}

ENCSWAP_AVX2 inline __m256i Select(__m256i mask, __m256i yes, __m256i no) {
    return _mm256_blendv_epi8(no, yes, mask);
}

}  // namespace

bool HasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

ENCSWAP_AVX2 void ClassifyBytesAvx2(const unsigned char* in, SjisBlock& b) {
    std::uint64_t high = 0, kana = 0, extended = 0, zero = 0;
    for (int half = 0; half < 2; ++half) {
        const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + 32 * half));
        const __m256i k = _mm256_sub_epi8(x, Bytes(0xA1));
        const auto shift = static_cast<unsigned>(32 * half);
        high |= std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(x))} << shift;
        kana |=
            std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(AtMost(k, 0xDF - 0xA1)))}
            << shift;
        extended |= std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(
                        _mm256_cmpeq_epi8(_mm256_max_epu8(x, Bytes(0xFA)), x)))}
                    << shift;
        zero |= std::uint64_t{static_cast<std::uint32_t>(
                    _mm256_movemask_epi8(_mm256_cmpeq_epi8(x, _mm256_setzero_si256())))}
                << shift;
    }
    b.kana = kana;
    b.lead = high & ~kana;
    b.ascii = ~high;
    b.extended = extended;
    b.zero = zero;
}

ENCSWAP_AVX2 void MapRowCellAvx2(const unsigned char* in, std::uint64_t pairLeads,
                                 std::uint64_t trails, std::uint64_t sevenBitKana,
                                 unsigned char topBit, unsigned char* mapped) {
    const __m256i top = Bytes(topBit);
    for (int half = 0; half < 2; ++half) {
        const auto shift = static_cast<unsigned>(32 * half);
        const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + 32 * half));
        const __m256i next =
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + 32 * half + 1));
        // Row from the lead byte: 2 × (lead − 0x70 or 0xB0), less 1 when the trail < 0x9F.
        const __m256i base = Select(AtMost(x, 0x9F), Bytes(0x70), Bytes(0xB0));
        __m256i row = _mm256_sub_epi8(x, base);
        row = _mm256_add_epi8(row, row);
        row = _mm256_add_epi8(row, AtMost(next, 0x9E));
        // Cell from the trail byte: trail − 0x1F, − 0x20 or − 0x7E.
        const __m256i minus =
            Select(AtMost(x, 0x7E), Bytes(0x1F), Select(AtMost(x, 0x9E), Bytes(0x20), Bytes(0x7E)));
        const __m256i cell = _mm256_sub_epi8(x, minus);
        __m256i out = Select(ByteMaskOf(static_cast<std::uint32_t>(pairLeads >> shift)),
                             _mm256_or_si256(row, top), x);
        out = Select(ByteMaskOf(static_cast<std::uint32_t>(trails >> shift)),
                     _mm256_or_si256(cell, top), out);
        if (sevenBitKana != 0) {
            out = Select(ByteMaskOf(static_cast<std::uint32_t>(sevenBitKana >> shift)),
                         _mm256_and_si256(x, Bytes(0x7F)), out);
        }
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(mapped + 32 * half), out);
    }
}

}  // namespace encswap

#endif
