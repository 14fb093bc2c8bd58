// Finding a byte string in a text fast. Japanese text is full of the same few lead bytes,
// so a candidate position must match both the first and the last byte of the string before
// the rest is compared; with SSE2 sixteen positions are tested at once.
#pragma once

#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace rulebook {

// First occurrence of [needle, needle + length) in [from, end), or null. length > 0.
inline const unsigned char* FindBytes(const unsigned char* from, const unsigned char* end,
                                      const unsigned char* needle, std::size_t length) {
    const std::size_t available = static_cast<std::size_t>(end - from);
    if (length == 0 || available < length) {
        return nullptr;
    }
    if (length == 1) {
        return static_cast<const unsigned char*>(std::memchr(from, needle[0], available));
    }
    const unsigned char first = needle[0];
    const unsigned char last = needle[length - 1];
    const std::size_t middle = length - 2;
    const unsigned char* const lastStart = end - length;  // the last possible start
    const unsigned char* p = from;
#if defined(__SSE2__)
    const __m128i firsts = _mm_set1_epi8(static_cast<char>(first));
    const __m128i lasts = _mm_set1_epi8(static_cast<char>(last));
    // Sixteen starts p..p+15 at a time, while their last bytes lie inside the text.
    while (lastStart - p >= 15) {
        const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + length - 1));
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_and_si128(_mm_cmpeq_epi8(head, firsts), _mm_cmpeq_epi8(tail, lasts))));
        while (mask != 0) {
            const unsigned bit = static_cast<unsigned>(__builtin_ctz(mask));
            if (middle == 0 || std::memcmp(p + bit + 1, needle + 1, middle) == 0) {
                return p + bit;
            }
            mask &= mask - 1;
        }
        p += 16;
    }
#endif
    for (; p <= lastStart; ++p) {
        if (p[0] == first && p[length - 1] == last &&
            (middle == 0 || std::memcmp(p + 1, needle + 1, middle) == 0)) {
            return p;
        }
    }
    return nullptr;
}

}  // namespace rulebook
