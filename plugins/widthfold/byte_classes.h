// The Shift JIS byte classes of code page 932, byte by byte and 64 bytes at a time.
// A lead byte (0x81-0x9F, 0xE0-0xFC) takes the byte after it with it, whether that is a valid
// trail byte (0x40-0x7E, 0x80-0xFC) or not; every other byte stands alone.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/sjis_bytes.h"

namespace widthfold {

using platform::sjis::IsHalfWidthKana;
using platform::sjis::IsLeadByte;
using platform::sjis::IsTrailByte;

inline constexpr std::size_t kBlockBytes = 64;

// Which bytes of a 64-byte block that begins at a character start begin characters.
struct BlockLayout {
    std::uint64_t starts;     // first bytes of characters within `length`
    std::uint64_t pairLeads;  // lead bytes whose second byte is in the block
    std::size_t length;       // 64, or 63 when byte 63 is a lead byte
};

// The bytes that follow an odd run of lead bytes counted from the block start: exactly the
// second bytes of two-byte characters.
constexpr std::uint64_t SecondBytes(std::uint64_t lead) {
    constexpr std::uint64_t kOddBits = 0xAAAAAAAAAAAAAAAAull;
    return ((((lead << 1) | kOddBits) - lead) ^ kOddBits) ^ lead;
}
static_assert(SecondBytes(0b0111) == 0b1010 && SecondBytes(0b0011) == 0b0010);

constexpr BlockLayout LayoutOf(std::uint64_t lead) {
    const std::uint64_t second = SecondBytes(lead);
    const std::uint64_t starts = ~second;
    const bool lastIsLead = ((starts & lead) >> 63) != 0;
    return {lastIsLead ? starts & ~(std::uint64_t{1} << 63) : starts, second >> 1,
            lastIsLead ? kBlockBytes - 1 : kBlockBytes};
}

// Byte ranges [first, last]; a mask has a bit for every byte of the block in one of them.
struct ByteRange {
    unsigned char first;
    unsigned char last;
};

template <std::size_t N>
std::uint64_t MaskOf(const unsigned char* in, const ByteRange (&ranges)[N]) {
    std::uint64_t mask = 0;
#if defined(__SSE2__)
    for (int chunk = 0; chunk < 4; ++chunk) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 16 * chunk));
        __m128i any = _mm_setzero_si128();
        for (const ByteRange& r : ranges) {
            const __m128i offset = _mm_sub_epi8(x, _mm_set1_epi8(static_cast<char>(r.first)));
            const __m128i span = _mm_set1_epi8(static_cast<char>(r.last - r.first));
            any = _mm_or_si128(any, _mm_cmpeq_epi8(_mm_min_epu8(offset, span), offset));
        }
        mask |= static_cast<std::uint64_t>(_mm_movemask_epi8(any)) << (16 * chunk);
    }
#else
    for (std::size_t p = 0; p < kBlockBytes; ++p) {
        for (const ByteRange& r : ranges) {
            if (in[p] >= r.first && in[p] <= r.last) {
                mask |= std::uint64_t{1} << p;
            }
        }
    }
#endif
    return mask;
}

inline constexpr ByteRange kLeadRanges[] = {{0x81, 0x9F}, {0xE0, 0xFC}};
inline constexpr ByteRange kTrailRanges[] = {{0x40, 0x7E}, {0x80, 0xFC}};

}  // namespace widthfold
