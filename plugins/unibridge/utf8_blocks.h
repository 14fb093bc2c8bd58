// The UTF-8 check of 16 bytes at a time with byte shuffles: three table lookups per block, by
// the high and low half of each byte's predecessor and the high half of the byte itself, find
// every malformed, overlong, surrogate or too large sequence.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define UNIBRIDGE_SHUFFLES 1
#include <immintrin.h>

namespace unibridge::utf8_blocks {

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

#define UNIBRIDGE_TABLE(...) _mm_setr_epi8(__VA_ARGS__)

// Non-zero bytes where `input`, with the 16 bytes before it, is malformed.
[[gnu::target("sse4.1")]] inline __m128i BlockErrors(__m128i input, __m128i previous) {
    const __m128i nibble = _mm_set1_epi8(0x0F);
    const __m128i prev1 = _mm_alignr_epi8(input, previous, 15);
    const __m128i byte1High = _mm_shuffle_epi8(
        UNIBRIDGE_TABLE(kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong,
                        kTooLong, kTwoConts, kTwoConts, kTwoConts, kTwoConts,
                        kTooShort | kOverlong2, kTooShort, kTooShort | kOverlong3 | kSurrogate,
                        kTooShort | kTooLarge | kTooLarge1000 | kOverlong4),
        _mm_and_si128(_mm_srli_epi16(prev1, 4), nibble));
    constexpr char kLarge = kCarry | kTooLarge | kTooLarge1000;
    const __m128i byte1Low = _mm_shuffle_epi8(
        UNIBRIDGE_TABLE(kCarry | kOverlong3 | kOverlong2 | kOverlong4, kCarry | kOverlong2,
                        kCarry, kCarry, kCarry | kTooLarge, kLarge, kLarge, kLarge, kLarge, kLarge,
                        kLarge, kLarge, kLarge, kLarge | kSurrogate, kLarge, kLarge),
        _mm_and_si128(prev1, nibble));
    constexpr char kCont = kTooLong | kOverlong2 | kTwoConts;
    const __m128i byte2High = _mm_shuffle_epi8(
        UNIBRIDGE_TABLE(kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort,
                        kTooShort, kTooShort, kCont | kOverlong3 | kTooLarge1000 | kOverlong4,
                        kCont | kOverlong3 | kTooLarge, kCont | kSurrogate | kTooLarge,
                        kCont | kSurrogate | kTooLarge, kTooShort, kTooShort, kTooShort,
                        kTooShort),
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

#undef UNIBRIDGE_TABLE

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

// True where the processor has the shuffles (and the block test of the same generation).
inline bool HasShuffles() {
    static const bool has = __builtin_cpu_supports("sse4.1");
    return has;
}

}  // namespace unibridge::utf8_blocks

#endif
