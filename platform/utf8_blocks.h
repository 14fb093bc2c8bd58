// The UTF-8 check of 16 bytes at a time with byte shuffles: three table lookups per block, by
// the high and low half of each byte's predecessor and the high half of the byte itself, find
// every malformed, overlong, surrogate or too large sequence.
#pragma once

#include <cstddef>
#include <cstdint>

// Tests build unibridge a second time without any vector code of its own
// (POLYSHIFT_WITHOUT_VECTORS), the path of processors without SSE2; the vector levels
// themselves are tested by holding the plug-in to each with POLYSHIFT_ISA.
#if defined(__SSE2__) && !defined(POLYSHIFT_WITHOUT_VECTORS)
#define POLYSHIFT_SSE2 1
#endif

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__)) && \
    !defined(POLYSHIFT_WITHOUT_VECTORS)
#define POLYSHIFT_SHUFFLES 1
#include <immintrin.h>

#include "platform/cpu_features.h"

namespace platform::utf8_blocks {

// What can be wrong, as bits that the three lookups of a byte and the byte before it share.
constexpr std::uint8_t kTooShort = 1 << 0;   // a first byte not followed by a continuation
constexpr std::uint8_t kTooLong = 1 << 1;    // ASCII followed by a continuation
constexpr std::uint8_t kOverlong3 = 1 << 2;  // E0 80..9F
constexpr std::uint8_t kTooLarge = 1 << 3;   // F4 90..BF, F5 and above
constexpr std::uint8_t kSurrogate = 1 << 4;  // ED A0..BF
constexpr std::uint8_t kOverlong2 = 1 << 5;  // C0, C1
constexpr std::uint8_t kTooLarge1000 = 1 << 6;
constexpr std::uint8_t kOverlong4 = 1 << 6;  // F0 80..8F
constexpr std::uint8_t kTwoConts = 1 << 7;   // a continuation after a continuation
constexpr std::uint8_t kCarry = kTooShort | kTooLong | kTwoConts;

// The three lookups, by the high and the low half of a byte's predecessor and by the high half
// of the byte itself; a byte is malformed where all three share a bit.
constexpr std::uint8_t kLarge = kCarry | kTooLarge | kTooLarge1000;
constexpr std::uint8_t kCont = kTooLong | kOverlong2 | kTwoConts;
// clang-format off
alignas(16) inline constexpr std::uint8_t kByte1High[16] = {
    kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong,
    kTwoConts, kTwoConts, kTwoConts, kTwoConts, kTooShort | kOverlong2, kTooShort,
    kTooShort | kOverlong3 | kSurrogate, kTooShort | kTooLarge | kTooLarge1000 | kOverlong4};
alignas(16) inline constexpr std::uint8_t kByte1Low[16] = {
    kCarry | kOverlong3 | kOverlong2 | kOverlong4, kCarry | kOverlong2, kCarry, kCarry,
    kCarry | kTooLarge, kLarge, kLarge, kLarge, kLarge, kLarge, kLarge, kLarge, kLarge,
    kLarge | kSurrogate, kLarge, kLarge};
alignas(16) inline constexpr std::uint8_t kByte2High[16] = {
    kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort,
    kCont | kOverlong3 | kTooLarge1000 | kOverlong4, kCont | kOverlong3 | kTooLarge,
    kCont | kSurrogate | kTooLarge, kCont | kSurrogate | kTooLarge, kTooShort, kTooShort,
    kTooShort, kTooShort};
// clang-format on

// Non-zero bytes where `input`, with the 16 bytes before it, is malformed.
[[gnu::target("sse4.1")]] inline __m128i BlockErrors(__m128i input, __m128i previous) {
    const __m128i nibble = _mm_set1_epi8(0x0F);
    const __m128i prev1 = _mm_alignr_epi8(input, previous, 15);
    const __m128i byte1High =
        _mm_shuffle_epi8(_mm_load_si128(reinterpret_cast<const __m128i*>(kByte1High)),
                         _mm_and_si128(_mm_srli_epi16(prev1, 4), nibble));
    const __m128i byte1Low = _mm_shuffle_epi8(
        _mm_load_si128(reinterpret_cast<const __m128i*>(kByte1Low)), _mm_and_si128(prev1, nibble));
    const __m128i byte2High =
        _mm_shuffle_epi8(_mm_load_si128(reinterpret_cast<const __m128i*>(kByte2High)),
                         _mm_and_si128(_mm_srli_epi16(input, 4), nibble));
    const __m128i special = _mm_and_si128(_mm_and_si128(byte1High, byte1Low), byte2High);
    // The second continuation of a three- or four-byte sequence and the third of a four-byte
    // one are continuations after continuations: expected there, and only there.
    const __m128i prev2 = _mm_alignr_epi8(input, previous, 14);
    const __m128i prev3 = _mm_alignr_epi8(input, previous, 13);
    const __m128i third = _mm_subs_epu8(prev2, _mm_set1_epi8(static_cast<char>(0xE0 - 0x80)));
    const __m128i fourth = _mm_subs_epu8(prev3, _mm_set1_epi8(static_cast<char>(0xF0 - 0x80)));
    const __m128i expected =
        _mm_and_si128(_mm_or_si128(third, fourth), _mm_set1_epi8(static_cast<char>(0x80)));
    return _mm_xor_si128(expected, special);
}

#define POLYSHIFT_AVX2 gnu::target("avx2,bmi,popcnt,lzcnt")

// A lookup table in both 16-byte halves.
[[POLYSHIFT_AVX2]] inline __m256i Table32(const std::uint8_t* table) {
    return _mm256_broadcastsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i*>(table)));
}

// BlockErrors for 32 bytes.
[[POLYSHIFT_AVX2]] inline __m256i BlockErrors32(__m256i input, __m256i previous) {
    const __m256i nibble = _mm256_set1_epi8(0x0F);
    // The 16 bytes before each half of `input`.
    const __m256i before = _mm256_permute2x128_si256(previous, input, 0x21);
    const __m256i prev1 = _mm256_alignr_epi8(input, before, 15);
    const __m256i byte1High = _mm256_shuffle_epi8(
        Table32(kByte1High), _mm256_and_si256(_mm256_srli_epi16(prev1, 4), nibble));
    const __m256i byte1Low =
        _mm256_shuffle_epi8(Table32(kByte1Low), _mm256_and_si256(prev1, nibble));
    const __m256i byte2High = _mm256_shuffle_epi8(
        Table32(kByte2High), _mm256_and_si256(_mm256_srli_epi16(input, 4), nibble));
    const __m256i special = _mm256_and_si256(_mm256_and_si256(byte1High, byte1Low), byte2High);
    const __m256i prev2 = _mm256_alignr_epi8(input, before, 14);
    const __m256i prev3 = _mm256_alignr_epi8(input, before, 13);
    const __m256i third = _mm256_subs_epu8(prev2, _mm256_set1_epi8(static_cast<char>(0xE0 - 0x80)));
    const __m256i fourth =
        _mm256_subs_epu8(prev3, _mm256_set1_epi8(static_cast<char>(0xF0 - 0x80)));
    const __m256i expected =
        _mm256_and_si256(_mm256_or_si256(third, fourth), _mm256_set1_epi8(static_cast<char>(0x80)));
    return _mm256_xor_si256(expected, special);
}

// GCC 12 reports the deliberately undefined start values inside its own 64-byte intrinsics as
// possibly uninitialised when they are inlined into functions built for those processors.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

#define POLYSHIFT_AVX512 \
    gnu::target("avx512f,avx512bw,avx512vl,avx512vbmi,avx512vbmi2,bmi,bmi2,popcnt,lzcnt")

// The vector code the kernels use on this processor (within POLYSHIFT_ISA), chosen once, at
// the first call; every kernel asks here.
struct ChosenLevels {
    bool avx512;    // 64-byte vectors with byte permutes and byte compression
    bool avx2;      // 32-byte vectors with gathers
    bool shuffles;  // byte shuffles, and the block test of the same generation
};

inline const ChosenLevels& Levels() {
    static const ChosenLevels levels{platform::Cpu().avx512, platform::Cpu().avx2,
                                     platform::Cpu().sse41};
    return levels;
}

inline bool HasAvx512() {
    return Levels().avx512;
}

// A lookup table in every 16-byte lane.
[[POLYSHIFT_AVX512]] inline __m512i Table64(const std::uint8_t* table) {
    return _mm512_broadcast_i32x4(_mm_load_si128(reinterpret_cast<const __m128i*>(table)));
}

// Bits of the bytes of `input` (with the 64 bytes before it) that are malformed.
[[POLYSHIFT_AVX512]] inline std::uint64_t BlockErrors64(__m512i input, __m512i previous) {
    // Byte k of the predecessors is byte 63 + k (62 + k, 61 + k) of previous:input.
    const __m512i ramp = _mm512_set_epi8(
        63, 62, 61, 60, 59, 58, 57, 56, 55, 54, 53, 52, 51, 50, 49, 48, 47, 46, 45, 44, 43, 42, 41,
        40, 39, 38, 37, 36, 35, 34, 33, 32, 31, 30, 29, 28, 27, 26, 25, 24, 23, 22, 21, 20, 19, 18,
        17, 16, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
    const __m512i prev1 =
        _mm512_permutex2var_epi8(previous, _mm512_add_epi8(ramp, _mm512_set1_epi8(63)), input);
    const __m512i prev2 =
        _mm512_permutex2var_epi8(previous, _mm512_add_epi8(ramp, _mm512_set1_epi8(62)), input);
    const __m512i prev3 =
        _mm512_permutex2var_epi8(previous, _mm512_add_epi8(ramp, _mm512_set1_epi8(61)), input);
    const __m512i nibble = _mm512_set1_epi8(0x0F);
    const __m512i byte1High = _mm512_shuffle_epi8(
        Table64(kByte1High), _mm512_and_si512(_mm512_srli_epi16(prev1, 4), nibble));
    const __m512i byte1Low =
        _mm512_shuffle_epi8(Table64(kByte1Low), _mm512_and_si512(prev1, nibble));
    const __m512i byte2High = _mm512_shuffle_epi8(
        Table64(kByte2High), _mm512_and_si512(_mm512_srli_epi16(input, 4), nibble));
    const __m512i special = _mm512_and_si512(_mm512_and_si512(byte1High, byte1Low), byte2High);
    const __m512i third = _mm512_subs_epu8(prev2, _mm512_set1_epi8(static_cast<char>(0xE0 - 0x80)));
    const __m512i fourth =
        _mm512_subs_epu8(prev3, _mm512_set1_epi8(static_cast<char>(0xF0 - 0x80)));
    const __m512i expected =
        _mm512_and_si512(_mm512_or_si512(third, fourth), _mm512_set1_epi8(static_cast<char>(0x80)));
    return _mm512_test_epi8_mask(_mm512_xor_si512(expected, special),
                                 _mm512_set1_epi8(static_cast<char>(0xFF)));
}

// The last character boundary at or before `end`, where in[from, end) is well-formed up to
// the sequence that may run past `end`.
inline std::size_t BoundaryBefore(const unsigned char* in, std::size_t from, std::size_t end) {
    for (std::size_t back = 1; back <= 3 && back <= end - from; ++back) {
        const unsigned char c = in[end - back];
        if ((c & 0xC0u) != 0x80u) {
            const std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
            return length > back ? end - back : end;
        }
    }
    return end;
}

inline bool HasShuffles() {
    return Levels().shuffles;
}

inline bool HasAvx2() {
    return Levels().avx2;
}

}  // namespace platform::utf8_blocks

#endif
