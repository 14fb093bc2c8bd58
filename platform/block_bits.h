// What the block kernels share: 64-byte blocks, their bit masks, and the lead bytes of Shift
// JIS found for a whole block at once.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

#include "platform/utf8_blocks.h"

#if defined(POLYSHIFT_SSE2)
#include <emmintrin.h>
#endif

namespace platform {

inline constexpr std::size_t kBlock = 64;
inline constexpr std::uint64_t kEvenBits = 0x5555555555555555u;
inline constexpr std::uint64_t kOddBits = ~kEvenBits;

#if defined(POLYSHIFT_SSE2)

// Asks for the input a few blocks ahead: streams are read faster so on some machines.
inline void Prefetch(const unsigned char* in) {
    _mm_prefetch(reinterpret_cast<const char*>(in) + 1024, _MM_HINT_T0);
}

inline __m128i Load16(const unsigned char* in) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
}

// Bits of the 64 bytes at `in` that are 0x80 or more.
inline std::uint64_t HighBits(const unsigned char* in) {
    std::uint64_t bits = 0;
    for (std::size_t k = 0; k < kBlock; k += 16) {
        bits |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(Load16(in + k))))
                << k;
    }
    return bits;
}

inline void Copy64(const unsigned char* in, unsigned char* out) {
    for (std::size_t k = 0; k < kBlock; k += 16) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + k), Load16(in + k));
    }
}

// Bits of the 64 bytes at `in` in the ranges of Shift JIS lead bytes, 0x81-0x9F and 0xE0-0xFC.
inline std::uint64_t LeadRangeBits(const unsigned char* in) {
    // With the top bit flipped the ranges are 0x01-0x1F and 0x60-0x7C as signed bytes.
    const __m128i flip = _mm_set1_epi8(static_cast<char>(0x80));
    std::uint64_t bits = 0;
    for (std::size_t k = 0; k < kBlock; k += 16) {
        const __m128i b = _mm_xor_si128(Load16(in + k), flip);
        const __m128i low = _mm_and_si128(_mm_cmpgt_epi8(b, _mm_setzero_si128()),
                                          _mm_cmplt_epi8(b, _mm_set1_epi8(0x20)));
        const __m128i high = _mm_and_si128(_mm_cmpgt_epi8(b, _mm_set1_epi8(0x5F)),
                                           _mm_cmplt_epi8(b, _mm_set1_epi8(0x7D)));
        bits |= static_cast<std::uint64_t>(
                    static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(low, high))))
                << k;
    }
    return bits;
}

// The lead bytes among `range` (bytes in the lead ranges) when bit 0 is the second byte of a
// pair begun before the block if `carry` is 1. A byte that is no lead ends a character, so
// every run of lead-range bytes begins a character, and inside the run leads and trail bytes
// alternate: the leads are the bytes at even distance from the run's start.
inline std::uint64_t Leads(std::uint64_t range, std::uint64_t carry) {
    range &= ~carry;
    const std::uint64_t runStarts = range & ~(range << 1);
    // Adding a run's start bit clears the whole run: that picks the runs that start on even
    // bits.
    const std::uint64_t evenRuns = range & ~(range + (runStarts & kEvenBits));
    const std::uint64_t oddRuns = range & ~evenRuns;
    return (evenRuns & kEvenBits) | (oddRuns & kOddBits);
}

#endif

#if defined(POLYSHIFT_SHUFFLES)

// 0, 1, ..., 63.
[[POLYSHIFT_AVX512]] inline __m512i Ramp64() {
    return _mm512_set_epi8(63, 62, 61, 60, 59, 58, 57, 56, 55, 54, 53, 52, 51, 50, 49, 48, 47, 46,
                           45, 44, 43, 42, 41, 40, 39, 38, 37, 36, 35, 34, 33, 32, 31, 30, 29, 28,
                           27, 26, 25, 24, 23, 22, 21, 20, 19, 18, 17, 16, 15, 14, 13, 12, 11, 10,
                           9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
}

// 16 bytes, each in a 32-bit lane.
[[POLYSHIFT_AVX512]] inline __m512i Widen16(const unsigned char* bytes) {
    return _mm512_cvtepu8_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes)));
}

// The lanes below `count` (at most 16).
inline unsigned LanesBelow(std::size_t count) {
    return count >= 16 ? 0xFFFFu : (1u << count) - 1;
}

#endif

}  // namespace platform
