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

#endif

}  // namespace

std::size_t WellFormedUtf8(const unsigned char* in, std::size_t i, std::size_t limit,
                           Utf8Seen& seen) {
#if defined(UNIBRIDGE_SHUFFLES)
    if (utf8_blocks::HasShuffles()) {
        return WellFormedBlocks(in, i, limit, seen);
    }
#endif
    return WellFormedScalar(in, i, limit, seen);
}

}  // namespace unibridge
