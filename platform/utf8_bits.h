// UTF-8 a 64-byte block at a time as bit masks of the kinds of byte, with no more than SSE2
// (or with AVX2): the masks check the block's one-, two- and three-byte sequences without a
// table, and give the places where characters start. Beside them, the character each place of
// the block would begin, computed for all places side by side.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/block_bits.h"

#if defined(POLYSHIFT_SSE2)

namespace platform::utf8_bits {

struct Utf8Bits {
    std::uint64_t high;   // 0x80 and above
    std::uint64_t cont;   // continuation bytes, 0x80-0xBF
    std::uint64_t lead;   // first bytes of two- and three-byte sequences, 0xC2-0xEF
    std::uint64_t lead3;  // first bytes of three-byte sequences, 0xE0-0xEF
    // 0xE0, which needs a second byte of 0xA0 or more (no overlong forms), and 0xED, which
    // needs one below 0xA0 (no surrogates); rare in Japanese text, so checked on their own.
    std::uint64_t special;
};

inline std::uint64_t Bits16(__m128i m) {
    return static_cast<unsigned>(_mm_movemask_epi8(m));
}

// Second bytes of the block at `in` that make an overlong form or a surrogate.
inline std::uint64_t OverlongsAndSurrogates(const unsigned char* in) {
    std::uint64_t low = 0;   // 0x80-0x9F
    std::uint64_t high = 0;  // 0xA0-0xBF
    std::uint64_t e0 = 0;
    std::uint64_t ed = 0;
    for (std::size_t k = 0; k < kBlock; k += 16) {
        const __m128i bytes = Load16(in + k);
        const __m128i below = _mm_cmplt_epi8(bytes, _mm_set1_epi8(-96));
        low |= Bits16(below) << k;
        high |= Bits16(_mm_andnot_si128(below, _mm_cmplt_epi8(bytes, _mm_set1_epi8(-64)))) << k;
        e0 |= Bits16(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(static_cast<char>(0xE0)))) << k;
        ed |= Bits16(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(static_cast<char>(0xED)))) << k;
    }
    return ((e0 << 1) & low) | ((ed << 1) & high);
}

// Where the block at `in` holds something other than whole, well-formed sequences of one to
// three bytes that start at its first byte, a sequence that runs past its end apart: malformed
// bytes, and four-byte sequences. Those the careful readers take.
inline std::uint64_t Faults(const Utf8Bits& b, const unsigned char* in) {
    const std::uint64_t expected = (b.lead << 1) | (b.lead3 << 2);
    const std::uint64_t faults = (b.cont ^ expected) | (b.high & ~b.cont & ~b.lead);
    return b.special == 0 ? faults : faults | OverlongsAndSurrogates(in);
}

// The end of the last whole sequence of a block without faults: a sequence that runs past the
// block starts the next.
// Without a branch: where the block ends is as good as random in Japanese text.
inline std::size_t WholeEnd(const Utf8Bits& b) {
    const std::size_t cutTwo = b.lead3 >> 62 & 1;  // a three-byte sequence at place 62
    const std::size_t cutOne = b.lead >> 63 & 1;   // a first byte at place 63
    return kBlock - 2 * cutTwo - (cutOne & ~cutTwo);
}

inline Utf8Bits ReadUtf8Bits(const unsigned char* in) {
    Utf8Bits b{};
    const __m128i flip = _mm_set1_epi8(static_cast<char>(0x80));
    for (std::size_t k = 0; k < kBlock; k += 16) {
        const __m128i bytes = Load16(in + k);
        // As signed bytes: continuations are below -64 (0xC0); with the top bit flipped, the
        // ranges of first bytes are ranges of signed bytes from 0x40 up.
        const __m128i flipped = _mm_xor_si128(bytes, flip);
        const __m128i belowF0 = _mm_cmplt_epi8(flipped, _mm_set1_epi8(0x70));
        b.high |= Bits16(bytes) << k;
        b.cont |= Bits16(_mm_cmplt_epi8(bytes, _mm_set1_epi8(-64))) << k;
        b.lead |= Bits16(_mm_and_si128(_mm_cmpgt_epi8(flipped, _mm_set1_epi8(0x41)), belowF0)) << k;
        b.lead3 |= Bits16(_mm_and_si128(_mm_cmpgt_epi8(flipped, _mm_set1_epi8(0x5F)), belowF0))
                   << k;
        b.special |=
            Bits16(_mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(static_cast<char>(0xE0))),
                                _mm_cmpeq_epi8(bytes, _mm_set1_epi8(static_cast<char>(0xED)))))
            << k;
    }
    return b;
}

// The character each place of the 16-bit lanes would begin, from its byte `a` and the two
// after it (`b`, `c`): ASCII, two or three bytes by the first. Places inside a sequence get
// something meaningless.
inline __m128i CharactersAt(__m128i a, __m128i b, __m128i c) {
    const __m128i bits6 = _mm_set1_epi16(0x3F);
    const __m128i b6 = _mm_and_si128(b, bits6);
    const __m128i two = _mm_or_si128(_mm_slli_epi16(_mm_and_si128(a, _mm_set1_epi16(0x1F)), 6), b6);
    const __m128i three = _mm_or_si128(
        _mm_slli_epi16(a, 12), _mm_or_si128(_mm_slli_epi16(b6, 6), _mm_and_si128(c, bits6)));
    const __m128i isTwo = _mm_cmpgt_epi16(a, _mm_set1_epi16(0x7F));
    const __m128i isThree = _mm_cmpgt_epi16(a, _mm_set1_epi16(0xDF));
    const __m128i multi =
        _mm_or_si128(_mm_andnot_si128(isThree, two), _mm_and_si128(isThree, three));
    return _mm_or_si128(_mm_andnot_si128(isTwo, a), _mm_and_si128(isTwo, multi));
}

// The characters the 64 places of the block at `in` would begin; reads 2 bytes past it.
inline void CharactersOfBlock(const unsigned char* in, std::uint16_t* characters) {
    const __m128i zero = _mm_setzero_si128();
    for (std::size_t k = 0; k < kBlock; k += 16) {
        const __m128i a = Load16(in + k);
        const __m128i b = Load16(in + k + 1);
        const __m128i c = Load16(in + k + 2);
        _mm_store_si128(reinterpret_cast<__m128i*>(characters + k),
                        CharactersAt(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(b, zero),
                                     _mm_unpacklo_epi8(c, zero)));
        _mm_store_si128(reinterpret_cast<__m128i*>(characters + k + 8),
                        CharactersAt(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(b, zero),
                                     _mm_unpackhi_epi8(c, zero)));
    }
}

#if defined(POLYSHIFT_SHUFFLES)

[[POLYSHIFT_AVX2]] inline std::uint64_t Bits32(__m256i m) {
    return static_cast<std::uint32_t>(_mm256_movemask_epi8(m));
}

// 16 bytes, each in a 16-bit lane.
[[POLYSHIFT_AVX2]] inline __m256i Widen16(const unsigned char* bytes) {
    return _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes)));
}

[[POLYSHIFT_AVX2]] inline Utf8Bits ReadUtf8Bits32(const unsigned char* in) {
    Utf8Bits b{};
    const __m256i flip = _mm256_set1_epi8(static_cast<char>(0x80));
    for (std::size_t k = 0; k < kBlock; k += 32) {
        const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + k));
        const __m256i flipped = _mm256_xor_si256(bytes, flip);
        const __m256i belowF0 = _mm256_cmpgt_epi8(_mm256_set1_epi8(0x70), flipped);
        b.high |= Bits32(bytes) << k;
        b.cont |= Bits32(_mm256_cmpgt_epi8(_mm256_set1_epi8(-64), bytes)) << k;
        b.lead |=
            Bits32(_mm256_and_si256(_mm256_cmpgt_epi8(flipped, _mm256_set1_epi8(0x41)), belowF0))
            << k;
        b.lead3 |=
            Bits32(_mm256_and_si256(_mm256_cmpgt_epi8(flipped, _mm256_set1_epi8(0x5F)), belowF0))
            << k;
        b.special |= Bits32(_mm256_or_si256(
                         _mm256_cmpeq_epi8(bytes, _mm256_set1_epi8(static_cast<char>(0xE0))),
                         _mm256_cmpeq_epi8(bytes, _mm256_set1_epi8(static_cast<char>(0xED)))))
                     << k;
    }
    return b;
}

[[POLYSHIFT_AVX2]] inline __m256i CharactersAt32(__m256i a, __m256i b, __m256i c) {
    const __m256i bits6 = _mm256_set1_epi16(0x3F);
    const __m256i b6 = _mm256_and_si256(b, bits6);
    const __m256i two =
        _mm256_or_si256(_mm256_slli_epi16(_mm256_and_si256(a, _mm256_set1_epi16(0x1F)), 6), b6);
    const __m256i three =
        _mm256_or_si256(_mm256_slli_epi16(a, 12),
                        _mm256_or_si256(_mm256_slli_epi16(b6, 6), _mm256_and_si256(c, bits6)));
    const __m256i multi =
        _mm256_blendv_epi8(two, three, _mm256_cmpgt_epi16(a, _mm256_set1_epi16(0xDF)));
    return _mm256_blendv_epi8(a, multi, _mm256_cmpgt_epi16(a, _mm256_set1_epi16(0x7F)));
}

[[POLYSHIFT_AVX2]] inline void CharactersOfBlock32(const unsigned char* in,
                                                   std::uint16_t* characters) {
    for (std::size_t k = 0; k < kBlock; k += 16) {
        _mm256_store_si256(
            reinterpret_cast<__m256i*>(characters + k),
            CharactersAt32(Widen16(in + k), Widen16(in + k + 1), Widen16(in + k + 2)));
    }
}

#endif

}  // namespace platform::utf8_bits

#endif
