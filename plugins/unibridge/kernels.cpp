#include "kernels.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "utf8_blocks.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace unibridge {
namespace {

constexpr std::size_t kBlock = 64;
constexpr std::uint64_t kEvenBits = 0x5555555555555555u;
constexpr std::uint64_t kOddBits = ~kEvenBits;

#if defined(__SSE2__)

__m128i Load16(const unsigned char* in) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
}

// Bits of the 64 bytes at `in` that are 0x80 or more.
std::uint64_t HighBits(const unsigned char* in) {
    std::uint64_t bits = 0;
    for (std::size_t k = 0; k < kBlock; k += 16) {
        bits |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(Load16(in + k))))
                << k;
    }
    return bits;
}

void Copy64(const unsigned char* in, unsigned char* out) {
    for (std::size_t k = 0; k < kBlock; k += 16) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + k), Load16(in + k));
    }
}

// Bits of the 64 bytes at `in` in the ranges of Shift JIS lead bytes, 0x81-0x9F and 0xE0-0xFC.
std::uint64_t LeadRangeBits(const unsigned char* in) {
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

#endif

// The lead bytes among `range` (bytes in the lead ranges) when bit 0 is the second byte of a
// pair begun before the block if `carry` is 1. A byte that is no lead ends a character, so
// every run of lead-range bytes begins a character, and inside the run leads and trail bytes
// alternate: the leads are the bytes at even distance from the run's start.
std::uint64_t Leads(std::uint64_t range, std::uint64_t carry) {
    range &= ~carry;
    const std::uint64_t runStarts = range & ~(range << 1);
    // Adding a run's start bit clears the whole run: that picks the runs that start on even
    // bits.
    const std::uint64_t evenRuns = range & ~(range + (runStarts & kEvenBits));
    const std::uint64_t oddRuns = range & ~evenRuns;
    return (evenRuns & kEvenBits) | (oddRuns & kOddBits);
}

}  // namespace

std::size_t SjisToUtf8Kernel(const Cp932Map& map, const unsigned char* in, std::size_t i,
                             std::size_t n, unsigned char*& out, std::size_t room) {
#if defined(__SSE2__)
    if (room / 3 < n - i) {
        return i;
    }
    const std::uint8_t* const rows = map.rows();
    const std::uint32_t* const utf8 = map.utf8();
    unsigned char* o = out;
    std::uint64_t carry = 0;  // the block's first byte is the second byte of a pair
    // A lead byte at the end of a block reads one byte past it.
    for (; i + kBlock < n; i += kBlock) {
        if (carry == 0 && HighBits(in + i) == 0) {
            Copy64(in + i, o);
            o += kBlock;
            continue;
        }
        const std::uint64_t leads = Leads(LeadRangeBits(in + i), carry);
        const std::uint64_t starts = ~((leads << 1) | carry);
        for (std::uint64_t m = starts; m != 0; m &= m - 1) {
            const std::size_t p = i + static_cast<std::size_t>(std::countr_zero(m));
            const std::size_t row = rows[in[p]];
            const std::uint32_t packed = utf8[row == 0 ? in[p] : row * 256 + in[p + 1]];
            if (packed == 0) {
                out = o;
                return p;
            }
            std::memcpy(o, &packed, 4);  // little-endian: the bytes from the low end
            o += packed >> 24;
        }
        carry = leads >> 63;
    }
    out = o;
    return i + carry;
#else
    (void)map, (void)in, (void)n, (void)out, (void)room;
    return i;
#endif
}

#if defined(UNIBRIDGE_SHUFFLES)

namespace {

[[gnu::target("sse4.1")]] std::size_t Utf8ToSjisBlocks(const Cp932Map& map,
                                                       const unsigned char* in, std::size_t i,
                                                       std::size_t n, unsigned char*& out) {
    const std::uint16_t* const codes = map.codes();
    const std::size_t from = i;
    unsigned char* o = out;
    // A sequence at the end of a block reads up to two bytes past it.
    while (i + kBlock + 2 <= n) {
        const std::uint64_t high = HighBits(in + i);
        if (high == 0) {
            Copy64(in + i, o);
            o += kBlock;
            i += kBlock;
            continue;
        }
        __m128i previous = i == from ? _mm_setzero_si128() : Load16(in + i - 16);
        __m128i errors = _mm_setzero_si128();
        for (std::size_t k = 0; k < kBlock; k += 16) {
            const __m128i input = Load16(in + i + k);
            errors = _mm_or_si128(errors, utf8_blocks::BlockErrors(input, previous));
            previous = input;
        }
        if (_mm_testz_si128(errors, errors) == 0) {
            break;
        }
        // The characters that end inside the block; one running past it starts the next block.
        const std::size_t end = utf8_blocks::BoundaryBefore(in, i, i + kBlock);
        std::uint64_t starts = 0;
        for (std::size_t k = 0; k < kBlock; k += 16) {
            const __m128i b = Load16(in + i + k);
            const __m128i continuation = _mm_cmpeq_epi8(
                _mm_and_si128(b, _mm_set1_epi8(static_cast<char>(0xC0))),
                _mm_set1_epi8(static_cast<char>(0x80)));
            starts |= static_cast<std::uint64_t>(
                          static_cast<unsigned>(~_mm_movemask_epi8(continuation) & 0xFFFF))
                      << k;
        }
        if (end - i < kBlock) {
            starts &= (std::uint64_t{1} << (end - i)) - 1;
        }
        for (std::uint64_t m = starts; m != 0; m &= m - 1) {
            const std::size_t p = i + static_cast<std::size_t>(std::countr_zero(m));
            const unsigned c = in[p];
            const unsigned two = (c & 0x1Fu) << 6 | (in[p + 1] & 0x3Fu);
            const unsigned three = (c & 0x0Fu) << 12 | (in[p + 1] & 0x3Fu) << 6 | (in[p + 2] & 0x3Fu);
            const unsigned character = c < 0x80 ? c : c < 0xE0 ? two : three;
            const std::uint16_t code = c < 0xF0 ? codes[character] : Cp932Map::kNoCode;
            if (code == Cp932Map::kNoCode) {
                out = o;
                return p;
            }
            // Two bytes, high first, or one.
            const bool pair = code > 0xFF;
            o[0] = static_cast<unsigned char>(pair ? code >> 8 : code);
            o[1] = static_cast<unsigned char>(code);
            o += pair ? 2 : 1;
        }
        i = end;
    }
    out = o;
    return i;
}

}  // namespace

#endif

std::size_t Utf8ToSjisKernel(const Cp932Map& map, const unsigned char* in, std::size_t i,
                             std::size_t n, unsigned char*& out, std::size_t room) {
#if defined(UNIBRIDGE_SHUFFLES)
    // Output never outgrows input, so the room holds a whole block's stores.
    if (room >= n - i && utf8_blocks::HasShuffles()) {
        return Utf8ToSjisBlocks(map, in, i, n, out);
    }
#endif
    (void)map, (void)in, (void)n, (void)out, (void)room;
    return i;
}

}  // namespace unibridge
