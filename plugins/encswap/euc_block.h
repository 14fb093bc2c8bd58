// 64 bytes of EUC taken at once, as sjis_block.h takes Shift JIS: every byte from 0x80 up
// starts a two-byte character (0x8E a half-width katakana), and the bytes' Shift JIS forms
// are computed with bit masks and vector operations.
#pragma once

#include "isa.h"

#include <cstddef>
#include <cstdint>

#include "row_cell.h"
#include "sjis_block.h"

namespace encswap::ENCSWAP_ISA {

struct EucBlock {
    std::uint64_t trail = 0;      // second bytes of two-byte characters
    std::uint64_t pairLeads = 0;  // first bytes whose character has its second byte
    std::uint64_t kanaPairs = 0;  // pair leads that are 0x8E
    std::uint64_t extension = 0;  // pair leads 0xF9-0xFC (rows 0x79-0x7C)
    std::uint64_t oddLeads = 0;   // bytes with the low bit set (the row's parity at a lead)
    std::size_t length = 0;       // 64, or 63 when byte 63 starts a two-byte character
};

struct EucClasses {
    std::uint64_t high = 0, zero = 0, kana = 0, extension = 0, odd = 0;
};

inline EucClasses ClassifyEucScalar(const unsigned char* in) {
    EucClasses c;
    for (std::size_t p = 0; p < kBlockBytes; ++p) {
        const std::uint64_t bit = std::uint64_t{1} << p;
        const unsigned char b = in[p];
        c.high |= b >= 0x80 ? bit : 0;
        c.zero |= b == 0 ? bit : 0;
        c.kana |= b == 0x8E ? bit : 0;
        c.extension |= b >= 0xF9 && b <= 0xFC ? bit : 0;
        c.odd |= (b & 1) != 0 ? bit : 0;
    }
    return c;
}

#if defined(__AVX2__)
inline EucClasses ClassifyEucVector(const unsigned char* in) {
    EucClasses c;
    for (int half = 0; half < 2; ++half) {
        const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + 32 * half));
        const auto shift = static_cast<unsigned>(32 * half);
        auto bits = [&](__m256i mask) {
            return std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(mask))} << shift;
        };
        c.high |= bits(x);
        c.zero |= bits(_mm256_cmpeq_epi8(x, _mm256_setzero_si256()));
        c.kana |= bits(_mm256_cmpeq_epi8(x, Bytes256(0x8E)));
        c.extension |= bits(AtMost(_mm256_sub_epi8(x, Bytes256(0xF9)), 3));
        c.odd |= bits(_mm256_slli_epi16(x, 7));
    }
    return c;
}
#elif defined(__SSE2__)
inline EucClasses ClassifyEucVector(const unsigned char* in) {
    EucClasses c;
    for (int chunk = 0; chunk < 4; ++chunk) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 16 * chunk));
        const auto shift = static_cast<unsigned>(16 * chunk);
        auto bits = [&](__m128i mask) {
            return static_cast<std::uint64_t>(_mm_movemask_epi8(mask)) << shift;
        };
        const __m128i fromF9 = _mm_sub_epi8(x, _mm_set1_epi8(static_cast<char>(0xF9)));
        c.high |= bits(x);
        c.zero |= bits(_mm_cmpeq_epi8(x, _mm_setzero_si128()));
        c.kana |= bits(_mm_cmpeq_epi8(x, _mm_set1_epi8(static_cast<char>(0x8E))));
        c.extension |= bits(_mm_cmpeq_epi8(_mm_min_epu8(fromF9, _mm_set1_epi8(3)), fromF9));
        c.odd |= bits(_mm_slli_epi16(x, 7));
    }
    return c;
}
#else
inline EucClasses ClassifyEucVector(const unsigned char* in) {
    return ClassifyEucScalar(in);
}
#endif

// Classifies the 64 bytes at `in` (kBlockReach bytes must be readable), which start a character.
inline EucBlock ClassifyEucBlock(const unsigned char* in) {
    const EucClasses c = ClassifyEucVector(in);
    EucBlock b;
    // A first byte followed by a zero byte is a character of its own; the zero byte too.
    b.trail = TrailsAfterLeads(c.high) & ~c.zero;
    const bool lastStartsPair = ((~b.trail & c.high) >> 63) != 0;
    b.length = lastStartsPair ? kBlockBytes - 1 : kBlockBytes;
    b.pairLeads = b.trail >> 1;
    b.kanaPairs = b.pairLeads & c.kana;
    b.extension = b.pairLeads & c.extension;
    b.oddLeads = c.odd;
    return b;
}

// Shift JIS of one byte of a pair, one byte at a time: the reference the vector forms agree
// with. `leads` marks first bytes of kanji, `oddTrails` and `evenTrails` the second bytes
// after an odd or even row, `kanaTrails` the bytes after 0x8E; other bytes stay.
inline void MapEucScalar(const unsigned char* in, std::uint64_t leads, std::uint64_t oddTrails,
                         std::uint64_t evenTrails, std::uint64_t kanaTrails,
                         unsigned char* mapped) {
    for (std::size_t p = 0; p < kBlockBytes; ++p) {
        const std::uint64_t bit = std::uint64_t{1} << p;
        const unsigned char c = in[p];
        unsigned char m = c;
        if ((leads & bit) != 0) {
            m = SjisFromRowCell(SevenBit(c), 0x21).first;
        } else if ((oddTrails & bit) != 0) {
            m = SjisFromRowCell(0x21, SevenBit(c)).second;
        } else if ((evenTrails & bit) != 0) {
            m = SjisFromRowCell(0x22, SevenBit(c)).second;
        } else if ((kanaTrails & bit) != 0) {
            m = c >= 0x21 && c <= 0x5F ? static_cast<unsigned char>(c + 0x80) : c;
        }
        mapped[p] = m;
    }
}

#if defined(__AVX2__)
inline void MapEucVector(const unsigned char* in, std::uint64_t leads, std::uint64_t oddTrails,
                         std::uint64_t evenTrails, std::uint64_t kanaTrails,
                         unsigned char* mapped) {
    for (int half = 0; half < 2; ++half) {
        const auto shift = static_cast<unsigned>(32 * half);
        auto bytes = [&](std::uint64_t mask) {
            return ByteMaskOf(static_cast<std::uint32_t>(mask >> shift));
        };
        const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + 32 * half));
        const __m256i j = _mm256_and_si256(x, Bytes256(0x7F));
        // Lead: (row + 1) / 2 + 0x70 or 0xB0.
        const __m256i lead =
            _mm256_add_epi8(_mm256_avg_epu8(j, _mm256_setzero_si256()),
                            Select(AtMost(j, 0x5E), Bytes256(0x70), Bytes256(0xB0)));
        // Trail: cell + 0x1F or 0x20 after an odd row, cell + 0x7E after an even one.
        const __m256i odd =
            _mm256_add_epi8(j, Select(AtMost(j, 0x5F), Bytes256(0x1F), Bytes256(0x20)));
        const __m256i even = _mm256_add_epi8(j, Bytes256(0x7E));
        const __m256i fromK = _mm256_sub_epi8(x, Bytes256(0x21));
        const __m256i kana =
            _mm256_add_epi8(x, _mm256_and_si256(AtMost(fromK, 0x5F - 0x21), Bytes256(0x80)));
        __m256i out = Select(bytes(leads), lead, x);
        out = Select(bytes(oddTrails), odd, out);
        out = Select(bytes(evenTrails), even, out);
        out = Select(bytes(kanaTrails), kana, out);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(mapped + 32 * half), out);
    }
}
#elif defined(__SSE2__)
inline void MapEucVector(const unsigned char* in, std::uint64_t leads, std::uint64_t oddTrails,
                         std::uint64_t evenTrails, std::uint64_t kanaTrails,
                         unsigned char* mapped) {
    const __m128i bitOfByte =
        _mm_set_epi8(-128, 64, 32, 16, 8, 4, 2, 1, -128, 64, 32, 16, 8, 4, 2, 1);
    auto set = [](int value) { return _mm_set1_epi8(static_cast<char>(value)); };
    auto atMost = [&](__m128i x, int limit) {
        return _mm_cmpeq_epi8(_mm_min_epu8(x, set(limit)), x);
    };
    auto select = [](__m128i mask, __m128i yes, __m128i no) {
        return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no));
    };
    for (int chunk = 0; chunk < 4; ++chunk) {
        auto bytes = [&](std::uint64_t mask) {
            __m128i v = _mm_cvtsi32_si128(static_cast<int>((mask >> (16 * chunk)) & 0xFFFF));
            v = _mm_unpacklo_epi8(v, v);
            v = _mm_unpacklo_epi16(v, v);
            v = _mm_unpacklo_epi32(v, v);
            return _mm_cmpeq_epi8(_mm_and_si128(v, bitOfByte), bitOfByte);
        };
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 16 * chunk));
        const __m128i j = _mm_and_si128(x, set(0x7F));
        const __m128i lead = _mm_add_epi8(_mm_avg_epu8(j, _mm_setzero_si128()),
                                          select(atMost(j, 0x5E), set(0x70), set(0xB0)));
        const __m128i odd = _mm_add_epi8(j, select(atMost(j, 0x5F), set(0x1F), set(0x20)));
        const __m128i even = _mm_add_epi8(j, set(0x7E));
        const __m128i fromK = _mm_sub_epi8(x, set(0x21));
        const __m128i kana = _mm_add_epi8(x, _mm_and_si128(atMost(fromK, 0x5F - 0x21), set(0x80)));
        __m128i out = select(bytes(leads), lead, x);
        out = select(bytes(oddTrails), odd, out);
        out = select(bytes(evenTrails), even, out);
        out = select(bytes(kanaTrails), kana, out);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(mapped + 16 * chunk), out);
    }
}
#else
inline void MapEucVector(const unsigned char* in, std::uint64_t leads, std::uint64_t oddTrails,
                         std::uint64_t evenTrails, std::uint64_t kanaTrails,
                         unsigned char* mapped) {
    MapEucScalar(in, leads, oddTrails, evenTrails, kanaTrails, mapped);
}
#endif

// The block's bytes in Shift JIS, with each half-width katakana's 0x8E left in place.
inline void MapEucBlock(const unsigned char* in, const EucBlock& b, unsigned char* mapped) {
    const std::uint64_t kanaTrails = b.kanaPairs << 1;
    const std::uint64_t kanjiTrails = b.trail & ~kanaTrails;
    const std::uint64_t afterOdd = b.oddLeads << 1;
    MapEucVector(in, b.pairLeads & ~b.kanaPairs, kanjiTrails & afterOdd, kanjiTrails & ~afterOdd,
                 kanaTrails, mapped);
}

}  // namespace encswap::ENCSWAP_ISA
