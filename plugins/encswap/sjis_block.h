// 64 bytes of Shift JIS taken at once: which bytes are lead bytes, trail bytes, half-width
// katakana and one-byte characters, and the bytes' converted forms, computed with bit masks
// (one bit per byte) and 16-byte vector operations. A block always starts at a character
// start and ends at a character end, so no state crosses from one block to the next.
#pragma once

#include "isa.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__AVX2__) || defined(__AVX512BW__)
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "row_cell.h"

namespace encswap::ENCSWAP_ISA {

inline constexpr std::size_t kBlockBytes = 64;
// Bytes a block may read: its own and up to 16 more (the trail of a pair at its end, and
// whole 8-byte steps over a run of half-width katakana).
inline constexpr std::size_t kBlockReach = kBlockBytes + 16;

struct SjisBlock {
    std::uint64_t lead = 0;       // 0x80-0xA0 and 0xE0-0xFF
    std::uint64_t kana = 0;       // 0xA1-0xDF
    std::uint64_t ascii = 0;      // below 0x80
    std::uint64_t extended = 0;   // 0xFA-0xFF
    std::uint64_t zero = 0;       // 0x00
    std::uint64_t trail = 0;      // second byte of a two-byte character
    std::uint64_t starts = 0;     // first byte of a character, within `length`
    std::uint64_t pairLeads = 0;  // starts whose character has its trail byte
    std::size_t length = 0;       // 64, or 63 when byte 63 starts a two-byte character
};

// Number of bits set; without a population-count instruction where the build has none.
constexpr unsigned BitCount(std::uint64_t x) {
#if defined(__POPCNT__)
    return static_cast<unsigned>(std::popcount(x));
#else
    x = x - ((x >> 1) & 0x5555555555555555ull);
    x = (x & 0x3333333333333333ull) + ((x >> 2) & 0x3333333333333333ull);
    x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Full;
    return static_cast<unsigned>((x * 0x0101010101010101ull) >> 56);
#endif
}
static_assert(BitCount(0) == 0 && BitCount(~std::uint64_t{0}) == 64 && BitCount(0x8001) == 2);

// The bytes that follow an odd run of lead bytes counted from the block start, which is a
// character start: exactly the trail bytes.
constexpr std::uint64_t TrailsAfterLeads(std::uint64_t lead) {
    constexpr std::uint64_t kOddBits = 0xAAAAAAAAAAAAAAAAull;
    const std::uint64_t leadsAndTrailCodes = (((lead << 1) | kOddBits) - lead) ^ kOddBits;
    return leadsAndTrailCodes ^ lead;
}
static_assert(TrailsAfterLeads(0b0111) == 0b1010);
static_assert(TrailsAfterLeads(0b0011) == 0b0010);

// Byte classes, one byte at a time: the reference the vector forms agree with.
inline void ClassifyBytesScalar(const unsigned char* in, SjisBlock& b) {
    b.lead = b.kana = b.ascii = b.extended = b.zero = 0;
    for (std::size_t p = 0; p < kBlockBytes; ++p) {
        const unsigned char c = in[p];
        const std::uint64_t bit = std::uint64_t{1} << p;
        if (c < 0x80) {
            b.ascii |= bit;
        } else if (c >= 0xA1 && c <= 0xDF) {
            b.kana |= bit;
        } else {
            b.lead |= bit;
        }
        if (c >= 0xFA) {
            b.extended |= bit;
        }
        if (c == 0) {
            b.zero |= bit;
        }
    }
}

#if defined(__SSE2__)
inline void ClassifyBytesSse2(const unsigned char* in, SjisBlock& b) {
    const __m128i kanaFirst = _mm_set1_epi8(static_cast<char>(0xA1));
    const __m128i kanaSpan = _mm_set1_epi8(0xDF - 0xA1);
    const __m128i extendedFirst = _mm_set1_epi8(static_cast<char>(0xFA));
    const __m128i zero = _mm_setzero_si128();
    std::uint64_t high = 0, kana = 0, extended = 0, zeros = 0;
    for (int chunk = 0; chunk < 4; ++chunk) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 16 * chunk));
        const __m128i k = _mm_sub_epi8(x, kanaFirst);
        const __m128i isKana = _mm_cmpeq_epi8(_mm_min_epu8(k, kanaSpan), k);
        const __m128i isExtended = _mm_cmpeq_epi8(_mm_max_epu8(x, extendedFirst), x);
        const auto shift = static_cast<unsigned>(16 * chunk);
        high |= static_cast<std::uint64_t>(_mm_movemask_epi8(x)) << shift;
        kana |= static_cast<std::uint64_t>(_mm_movemask_epi8(isKana)) << shift;
        extended |= static_cast<std::uint64_t>(_mm_movemask_epi8(isExtended)) << shift;
        zeros |= static_cast<std::uint64_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(x, zero))) << shift;
    }
    b.kana = kana;
    b.lead = high & ~kana;
    b.ascii = ~high;
    b.extended = extended;
    b.zero = zeros;
}
#endif

#if defined(__AVX2__)
inline __m256i Bytes256(int value) {
    return _mm256_set1_epi8(static_cast<char>(value));
}

inline __m256i AtMost(__m256i x, int limit) {
    return _mm256_cmpeq_epi8(_mm256_min_epu8(x, Bytes256(limit)), x);
}

// 0xFF for every byte whose bit is set in the 32 bits of `mask`.
inline __m256i ByteMaskOf(std::uint32_t mask) {
    const __m256i spread =
        _mm256_shuffle_epi8(_mm256_set1_epi32(static_cast<int>(mask)),
                            _mm256_setr_epi8(0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 2, 2,
                                             2, 2, 2, 2, 2, 2, 3, 3, 3, 3, 3, 3, 3, 3));
    const __m256i bit = _mm256_set1_epi64x(static_cast<long long>(0x8040201008040201ull));
    return _mm256_cmpeq_epi8(_mm256_and_si256(spread, bit), bit);
}

inline __m256i Select(__m256i mask, __m256i yes, __m256i no) {
    return _mm256_blendv_epi8(no, yes, mask);
}

inline void ClassifyBytesAvx2(const unsigned char* in, SjisBlock& b) {
    std::uint64_t high = 0, kana = 0, extended = 0, zero = 0;
    for (int half = 0; half < 2; ++half) {
        const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + 32 * half));
        const __m256i k = _mm256_sub_epi8(x, Bytes256(0xA1));
        const auto shift = static_cast<unsigned>(32 * half);
        high |= std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(x))} << shift;
        kana |=
            std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(AtMost(k, 0xDF - 0xA1)))}
            << shift;
        extended |= std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(
                        _mm256_cmpeq_epi8(_mm256_max_epu8(x, Bytes256(0xFA)), x)))}
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

#endif

#if defined(__AVX512BW__)
inline __m512i Bytes512(int value) {
    return _mm512_set1_epi8(static_cast<char>(value));
}

inline void ClassifyBytesAvx512(const unsigned char* in, SjisBlock& b) {
    const __m512i x = _mm512_loadu_si512(in);
    const std::uint64_t high = _mm512_movepi8_mask(x);
    b.kana = _mm512_cmple_epu8_mask(_mm512_sub_epi8(x, Bytes512(0xA1)), Bytes512(0xDF - 0xA1));
    b.lead = high & ~b.kana;
    b.ascii = ~high;
    b.extended = _mm512_cmpge_epu8_mask(x, Bytes512(0xFA));
    b.zero = _mm512_testn_epi8_mask(x, x);
}
#endif

inline void ClassifyBytes(const unsigned char* in, SjisBlock& b) {
#if defined(__AVX512BW__)
    ClassifyBytesAvx512(in, b);
#elif defined(__AVX2__)
    ClassifyBytesAvx2(in, b);
#elif defined(__SSE2__)
    ClassifyBytesSse2(in, b);
#else
    ClassifyBytesScalar(in, b);
#endif
}

// Classifies the 64 bytes at `in` (kBlockReach bytes must be readable).
inline SjisBlock ClassifySjisBlock(const unsigned char* in) {
    SjisBlock b;
    ClassifyBytes(in, b);
    // A lead byte followed by a zero byte is a character of its own; the zero byte too.
    b.trail = TrailsAfterLeads(b.lead) & ~b.zero;
    const std::uint64_t starts = ~b.trail;
    const bool lastStartsPair = (starts & b.lead) >> 63 != 0;
    b.length = lastStartsPair ? kBlockBytes - 1 : kBlockBytes;
    const std::uint64_t inBlock = lastStartsPair ? ~(std::uint64_t{1} << 63) : ~std::uint64_t{0};
    b.starts = starts & inBlock;
    b.pairLeads = b.trail >> 1;
    return b;
}

// Classifies the 64 bytes at `in` (kBlockReach bytes must be readable) as a piece of a longer
// run of blocks that each take exactly 64 bytes: `carriedTrail` says that byte 0 is the trail
// byte of a pair whose lead byte ended the block before. A lead byte at 63 with a nonzero byte
// after it is a pair lead whose trail byte goes to the next block; `carriesTrail` says so. The
// blocks then no longer wait for each other's lengths.
inline SjisBlock ClassifySjisBlockInRun(const unsigned char* in, bool carriedTrail,
                                        bool& carriesTrail) {
    SjisBlock b;
    ClassifyBytes(in, b);
    const std::uint64_t carried = std::uint64_t{carriedTrail};
    b.trail = (TrailsAfterLeads(b.lead & ~carried) & ~b.zero) | carried;
    b.starts = ~b.trail;
    carriesTrail = ((b.starts & b.lead) >> 63 != 0) && in[kBlockBytes] != 0;
    b.pairLeads = b.trail >> 1 | std::uint64_t{carriesTrail} << 63;
    b.length = kBlockBytes;
    return b;
}

// The mapping of MapRowCell below, one byte at a time: the reference the vector forms agree
// with. `pairLeads`, `trails` and `sevenBitKana` mark the bytes to map; `topBit` is 0x80 for
// EUC and 0 for JIS.
inline void MapRowCellScalar(const unsigned char* in, std::uint64_t pairLeads, std::uint64_t trails,
                             std::uint64_t sevenBitKana, unsigned char topBit,
                             unsigned char* mapped) {
    for (std::size_t p = 0; p < kBlockBytes; ++p) {
        const std::uint64_t bit = std::uint64_t{1} << p;
        unsigned char c = in[p];
        if ((pairLeads & bit) != 0) {
            c = RowCellFromSjis(in[p], in[p + 1]).first | topBit;
        } else if ((trails & bit) != 0) {
            c = RowCellFromSjis(0x81, in[p]).second | topBit;
        } else if ((sevenBitKana & bit) != 0) {
            c = SevenBit(c);
        }
        mapped[p] = c;
    }
}

#if defined(__SSE2__)
inline void MapRowCellSse2(const unsigned char* in, std::uint64_t pairLeads, std::uint64_t trails,
                           std::uint64_t sevenBitKana, unsigned char topBit,
                           unsigned char* mapped) {
    const __m128i top = _mm_set1_epi8(static_cast<char>(topBit));
    const __m128i bitOfByte =
        _mm_set_epi8(-128, 64, 32, 16, 8, 4, 2, 1, -128, 64, 32, 16, 8, 4, 2, 1);
    auto bytesOf = [&](std::uint64_t mask, int chunk) {
        __m128i v = _mm_cvtsi32_si128(static_cast<int>((mask >> (16 * chunk)) & 0xFFFF));
        v = _mm_unpacklo_epi8(v, v);
        v = _mm_unpacklo_epi16(v, v);
        v = _mm_unpacklo_epi32(v, v);
        return _mm_cmpeq_epi8(_mm_and_si128(v, bitOfByte), bitOfByte);
    };
    auto select = [](__m128i mask, __m128i yes, __m128i no) {
        return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no));
    };
    const __m128i x9F = _mm_set1_epi8(static_cast<char>(0x9F));
    const __m128i x9E = _mm_set1_epi8(static_cast<char>(0x9E));
    const __m128i x7E = _mm_set1_epi8(0x7E);
    for (int chunk = 0; chunk < 4; ++chunk) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 16 * chunk));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 16 * chunk + 1));
        // Row from the lead byte: 2 × (lead − 0x70 or 0xB0), less 1 when the trail < 0x9F.
        const __m128i leadLow = _mm_cmpeq_epi8(_mm_min_epu8(x, x9F), x);
        const __m128i base =
            select(leadLow, _mm_set1_epi8(0x70), _mm_set1_epi8(static_cast<char>(0xB0)));
        __m128i row = _mm_sub_epi8(x, base);
        row = _mm_add_epi8(row, row);
        row = _mm_add_epi8(row, _mm_cmpeq_epi8(_mm_min_epu8(next, x9E), next));
        // Cell from the trail byte: trail − 0x1F, − 0x20 or − 0x7E.
        const __m128i upTo7E = _mm_cmpeq_epi8(_mm_min_epu8(x, x7E), x);
        const __m128i upTo9E = _mm_cmpeq_epi8(_mm_min_epu8(x, x9E), x);
        const __m128i minus =
            select(upTo7E, _mm_set1_epi8(0x1F), select(upTo9E, _mm_set1_epi8(0x20), x7E));
        const __m128i cell = _mm_sub_epi8(x, minus);
        __m128i out = select(bytesOf(pairLeads, chunk), _mm_or_si128(row, top), x);
        out = select(bytesOf(trails, chunk), _mm_or_si128(cell, top), out);
        if (sevenBitKana != 0) {
            out = select(bytesOf(sevenBitKana, chunk), _mm_and_si128(x, _mm_set1_epi8(0x7F)), out);
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(mapped + 16 * chunk), out);
    }
}
#endif

#if defined(__AVX2__)
inline void MapRowCellAvx2(const unsigned char* in, std::uint64_t pairLeads, std::uint64_t trails,
                           std::uint64_t sevenBitKana, unsigned char topBit,
                           unsigned char* mapped) {
    const __m256i top = Bytes256(topBit);
    for (int half = 0; half < 2; ++half) {
        const auto shift = static_cast<unsigned>(32 * half);
        const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + 32 * half));
        const __m256i next =
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + 32 * half + 1));
        // Row from the lead byte: 2 × (lead − 0x70 or 0xB0), less 1 when the trail < 0x9F.
        const __m256i base = Select(AtMost(x, 0x9F), Bytes256(0x70), Bytes256(0xB0));
        __m256i row = _mm256_sub_epi8(x, base);
        row = _mm256_add_epi8(row, row);
        row = _mm256_add_epi8(row, AtMost(next, 0x9E));
        // Cell from the trail byte: trail − 0x1F, − 0x20 or − 0x7E.
        const __m256i minus = Select(AtMost(x, 0x7E), Bytes256(0x1F),
                                     Select(AtMost(x, 0x9E), Bytes256(0x20), Bytes256(0x7E)));
        const __m256i cell = _mm256_sub_epi8(x, minus);
        __m256i out = Select(ByteMaskOf(static_cast<std::uint32_t>(pairLeads >> shift)),
                             _mm256_or_si256(row, top), x);
        out = Select(ByteMaskOf(static_cast<std::uint32_t>(trails >> shift)),
                     _mm256_or_si256(cell, top), out);
        if (sevenBitKana != 0) {
            out = Select(ByteMaskOf(static_cast<std::uint32_t>(sevenBitKana >> shift)),
                         _mm256_and_si256(x, Bytes256(0x7F)), out);
        }
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(mapped + 32 * half), out);
    }
}

#endif

#if defined(__AVX512BW__)
// `bits` as a byte mask. A 32-bit build holds `bits` in two registers; handing it over in
// memory as one would stall every time (the halves are stored apart and loaded as one), so the
// halves go into mask registers one at a time.
inline __mmask64 Mask64(std::uint64_t bits) {
#if defined(__x86_64__)
    return bits;
#else
    return _mm512_kunpackd(_cvtu32_mask32(static_cast<std::uint32_t>(bits >> 32)),
                           _cvtu32_mask32(static_cast<std::uint32_t>(bits)));
#endif
}

// MapRowCell below with the 64 mapped bytes left in a register.
inline __m512i MapRowCellAvx512(const unsigned char* in, std::uint64_t pairLeads,
                                std::uint64_t trails, std::uint64_t sevenBitKana,
                                unsigned char topBit) {
    const __m512i x = _mm512_loadu_si512(in);
    const __m512i next = _mm512_loadu_si512(in + 1);
    const __m512i top = Bytes512(topBit);
    // Row from the lead byte: 2 × (lead − 0x70 or 0xB0), less 1 when the trail < 0x9F.
    const __m512i base = _mm512_mask_blend_epi8(_mm512_cmple_epu8_mask(x, Bytes512(0x9F)),
                                                Bytes512(0xB0), Bytes512(0x70));
    __m512i row = _mm512_sub_epi8(x, base);
    row = _mm512_add_epi8(row, row);
    row = _mm512_mask_sub_epi8(row, _mm512_cmple_epu8_mask(next, Bytes512(0x9E)), row, Bytes512(1));
    // Cell from the trail byte: trail − 0x1F, − 0x20 or − 0x7E.
    __m512i minus = _mm512_mask_blend_epi8(_mm512_cmple_epu8_mask(x, Bytes512(0x9E)),
                                           Bytes512(0x7E), Bytes512(0x20));
    minus = _mm512_mask_mov_epi8(minus, _mm512_cmple_epu8_mask(x, Bytes512(0x7E)), Bytes512(0x1F));
    const __m512i cell = _mm512_sub_epi8(x, minus);
    __m512i out = _mm512_mask_mov_epi8(x, Mask64(pairLeads), _mm512_or_si512(row, top));
    out = _mm512_mask_mov_epi8(out, Mask64(trails), _mm512_or_si512(cell, top));
    return _mm512_mask_mov_epi8(out, Mask64(sevenBitKana), _mm512_and_si512(x, Bytes512(0x7F)));
}
#endif

// The 64 bytes with every pair's lead and trail replaced by the row and the cell (with the top
// bit set when `euc`), and every half-width katakana start by its 7-bit form when `sevenBitKana`.
// Other bytes stay as they are. Extension characters are not mapped here.
template <bool euc, bool sevenBitKana>
void MapRowCell(const unsigned char* in, const SjisBlock& b, unsigned char* mapped) {
    const std::uint64_t kana = sevenBitKana ? b.kana & b.starts : 0;
    const unsigned char topBit = euc ? 0x80 : 0x00;
#if defined(__AVX512BW__)
    _mm512_storeu_si512(mapped, MapRowCellAvx512(in, b.pairLeads, b.trail, kana, topBit));
#elif defined(__AVX2__)
    MapRowCellAvx2(in, b.pairLeads, b.trail, kana, topBit, mapped);
#elif defined(__SSE2__)
    MapRowCellSse2(in, b.pairLeads, b.trail, kana, topBit, mapped);
#else
    MapRowCellScalar(in, b.pairLeads, b.trail, kana, topBit, mapped);
#endif
}

}  // namespace encswap::ENCSWAP_ISA
