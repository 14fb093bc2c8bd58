// Length of the run of ASCII bytes (below 0x80) at the start of a text, found 16 bytes at a
// time.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace platform {

inline std::size_t AsciiRun(const unsigned char* in, std::size_t n) {
    std::size_t i = 0;
#if defined(__SSE2__)
    for (; i + 16 <= n; i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        const unsigned high = static_cast<unsigned>(_mm_movemask_epi8(bytes));
        if (high != 0) {
            return i + static_cast<std::size_t>(std::countr_zero(high));
        }
    }
#else
    for (; i + 8 <= n; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, in + i, 8);
        if ((word & 0x8080808080808080u) != 0) {
            break;
        }
    }
#endif
    while (i < n && in[i] < 0x80) {
        ++i;
    }
    return i;
}

}  // namespace platform
