#include "utf8_check.h"

#include "utf8_blocks.h"

namespace unibridge {
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

#if defined(UNIBRIDGE_SHUFFLES)

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

[[UNIBRIDGE_AVX512]] std::size_t WellFormedBlocks64(const unsigned char* in, std::size_t i,
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
#if defined(UNIBRIDGE_SHUFFLES)
    if (utf8_blocks::HasAvx512()) {
        return WellFormedBlocks64(in, i, limit, seen);
    }
    if (utf8_blocks::HasShuffles()) {
        return WellFormedBlocks(in, i, limit, seen);
    }
#endif
    return WellFormedScalar(in, i, limit, seen);
}

}  // namespace unibridge
