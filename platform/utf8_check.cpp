#include "platform/utf8_check.h"

#include "platform/utf8_bits.h"
#include "platform/utf8_blocks.h"

namespace platform {
namespace {

// Length of the sequence a first byte starts; 1 for ASCII and for bytes that start none.
std::size_t SequenceLength(unsigned char c) {
    return c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
}

inline bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0u) == 0x80u;
}

// One sequence at a time; stops at the first malformed one (four-byte sequences included, for
// simplicity: the caller takes them one by one).
std::size_t WellFormedScalar(const unsigned char* in, std::size_t i, std::size_t limit,
                             Utf8Seen& seen) {
    while (i < limit) {
        const unsigned char c = in[i];
        if (c < 0x80) {
            seen.escape = seen.escape || c == 0x1B;
            ++i;
            continue;
        }
        const std::size_t length = SequenceLength(c);
        if (c < 0xC2 || length > 3 || i + length > limit || !IsContinuation(in[i + 1]) ||
            (length == 3 && (!IsContinuation(in[i + 2]) || (c == 0xE0 && in[i + 1] < 0xA0) ||
                             (c == 0xED && in[i + 1] > 0x9F)))) {
            break;
        }
        seen.multiByte = true;
        i += length;
    }
    return i;
}

#if defined(POLYSHIFT_SSE2)

// With no more than SSE2, 64 bytes at a time by the bit masks of utf8_bits.h; a block they do
// not pass (a four-byte sequence, or a fault) is taken one sequence at a time.
std::size_t WellFormedBits(const unsigned char* in, std::size_t i, std::size_t limit,
                           Utf8Seen& seen) {
    const __m128i escape = _mm_set1_epi8(0x1B);
    __m128i escapes = _mm_setzero_si128();
    std::uint64_t high = 0;
    while (i + kBlock <= limit) {
        Prefetch(in + i);
        const utf8_bits::Utf8Bits bits = utf8_bits::ReadUtf8Bits(in + i);
        for (std::size_t k = 0; k < kBlock; k += 16) {
            escapes = _mm_or_si128(escapes, _mm_cmpeq_epi8(Load16(in + i + k), escape));
        }
        high |= bits.high;
        if (utf8_bits::Faults(bits, in + i) != 0) {
            seen.multiByte = seen.multiByte || high != 0;
            seen.escape = seen.escape || _mm_movemask_epi8(escapes) != 0;
            return WellFormedScalar(in, i, i + kBlock, seen);
        }
        i += utf8_bits::WholeEnd(bits);
    }
    seen.multiByte = seen.multiByte || high != 0;
    seen.escape = seen.escape || _mm_movemask_epi8(escapes) != 0;
    return i;
}

#endif

#if defined(POLYSHIFT_SHUFFLES)

// With AVX2, as WellFormedBlocks 32 bytes at a time.
[[POLYSHIFT_AVX2]] std::size_t WellFormedBlocks32(const unsigned char* in, std::size_t i,
                                                  std::size_t limit, Utf8Seen& seen) {
    constexpr std::size_t kStep = 32;
    const std::size_t from = i;
    const __m256i escape = _mm256_set1_epi8(0x1B);
    __m256i previous = _mm256_setzero_si256();  // i is a boundary: what came before is complete
    __m256i high = _mm256_setzero_si256();
    __m256i escapes = _mm256_setzero_si256();
    for (; i + kStep <= limit; i += kStep) {
        if ((i & 63) == 0) {
            _mm_prefetch(reinterpret_cast<const char*>(in + i) + 1024, _MM_HINT_T0);
        }
        const __m256i input = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + i));
        const __m256i errors = utf8_blocks::BlockErrors32(input, previous);
        high = _mm256_or_si256(high, input);
        escapes = _mm256_or_si256(escapes, _mm256_cmpeq_epi8(input, escape));
        if (_mm256_testz_si256(errors, errors) == 0) {
            break;
        }
        previous = input;
    }
    seen.multiByte = seen.multiByte || _mm256_movemask_epi8(high) != 0;
    seen.escape = seen.escape || _mm256_movemask_epi8(escapes) != 0;
    return utf8_blocks::BoundaryBefore(in, from, i);
}

[[gnu::target("sse4.1")]] std::size_t WellFormedBlocks(const unsigned char* in, std::size_t i,
                                                       std::size_t limit, Utf8Seen& seen) {
    constexpr std::size_t kBlock = 16;
    const std::size_t from = i;
    const __m128i escape = _mm_set1_epi8(0x1B);
    __m128i previous = _mm_setzero_si128();  // i is a boundary: what came before is complete
    __m128i high = _mm_setzero_si128();
    __m128i escapes = _mm_setzero_si128();
    for (; i + kBlock <= limit; i += kBlock) {
        if ((i & 63) == 0) {
            _mm_prefetch(reinterpret_cast<const char*>(in + i) + 1024, _MM_HINT_T0);
        }
        const __m128i input = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        const __m128i errors = utf8_blocks::BlockErrors(input, previous);
        high = _mm_or_si128(high, input);
        escapes = _mm_or_si128(escapes, _mm_cmpeq_epi8(input, escape));
        if (_mm_testz_si128(errors, errors) == 0) {
            break;
        }
        previous = input;
    }
    seen.multiByte = seen.multiByte || _mm_movemask_epi8(high) != 0;
    seen.escape = seen.escape || _mm_movemask_epi8(escapes) != 0;
    return utf8_blocks::BoundaryBefore(in, from, i);
}

[[POLYSHIFT_AVX512]] std::size_t WellFormedBlocks64(const unsigned char* in, std::size_t i,
                                                    std::size_t limit, Utf8Seen& seen) {
    constexpr std::size_t kBlock = 64;
    const std::size_t from = i;
    __m512i previous = _mm512_setzero_si512();  // i is a boundary: what came before is complete
    std::uint64_t high = 0;
    std::uint64_t escapes = 0;
    for (; i + kBlock <= limit; i += kBlock) {
        _mm_prefetch(reinterpret_cast<const char*>(in + i) + 1024, _MM_HINT_T0);
        const __m512i input = _mm512_loadu_si512(in + i);
        high |= _mm512_movepi8_mask(input);
        escapes |= _mm512_cmpeq_epi8_mask(input, _mm512_set1_epi8(0x1B));
        if (utf8_blocks::BlockErrors64(input, previous) != 0) {
            break;
        }
        previous = input;
    }
    seen.multiByte = seen.multiByte || high != 0;
    seen.escape = seen.escape || escapes != 0;
    return utf8_blocks::BoundaryBefore(in, from, i);
}

#endif

}  // namespace

std::size_t WellFormedUtf8(const unsigned char* in, std::size_t i, std::size_t limit,
                           Utf8Seen& seen) {
#if defined(POLYSHIFT_SHUFFLES)
    if (utf8_blocks::HasAvx512()) {
        return WellFormedBlocks64(in, i, limit, seen);
    }
    if (utf8_blocks::HasAvx2()) {
        return WellFormedBlocks32(in, i, limit, seen);
    }
    if (utf8_blocks::HasShuffles()) {
        return WellFormedBlocks(in, i, limit, seen);
    }
#endif
#if defined(POLYSHIFT_SSE2)
    return WellFormedBits(in, i, limit, seen);
#else
    return WellFormedScalar(in, i, limit, seen);
#endif
}

}  // namespace platform
