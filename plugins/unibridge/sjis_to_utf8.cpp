#include "kernels.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "block_bits.h"

namespace unibridge {

#if defined(UNIBRIDGE_SHUFFLES)

namespace {

// Shift JIS to UTF-8, 16 characters at a time: their first bytes are gathered from the block
// by position, each pair looks up its packed UTF-8, and the packed bytes are compressed into
// the output by their lengths.
[[UNIBRIDGE_AVX512]] std::size_t SjisToUtf8Blocks64(const std::uint32_t* table,
                                                    const unsigned char* in, std::size_t i,
                                                    std::size_t n, unsigned char*& out) {
    unsigned char* o = out;
    std::uint64_t carry = 0;
    alignas(64) unsigned char first[64];
    alignas(64) unsigned char second[64];
    alignas(64) unsigned char positions[64];
    const __m512i byteInLane = _mm512_set1_epi32(0x03020100);
    for (; i + kBlock < n; i += kBlock) {
        Prefetch(in + i);
        const __m512i block = _mm512_loadu_si512(in + i);
        if (carry == 0 && _mm512_movepi8_mask(block) == 0) {
            _mm512_storeu_si512(o, block);
            o += kBlock;
            continue;
        }
        const std::uint64_t range =
            _mm512_cmplt_epu8_mask(
                _mm512_sub_epi8(block, _mm512_set1_epi8(static_cast<char>(0x81))),
                _mm512_set1_epi8(0x1F)) |
            _mm512_cmplt_epu8_mask(
                _mm512_sub_epi8(block, _mm512_set1_epi8(static_cast<char>(0xE0))),
                _mm512_set1_epi8(0x1D));
        const std::uint64_t leads = Leads(range, carry);
        const std::uint64_t starts = ~((leads << 1) | carry);
        const __m512i at = _mm512_maskz_compress_epi8(starts, Ramp64());
        _mm512_store_si512(positions, at);
        _mm512_store_si512(first, _mm512_permutexvar_epi8(at, block));
        _mm512_store_si512(second, _mm512_permutexvar_epi8(at, _mm512_loadu_si512(in + i + 1)));
        const std::size_t count = static_cast<std::size_t>(std::popcount(starts));
        for (std::size_t k = 0; k < count; k += 16) {
            __mmask16 lanes = static_cast<__mmask16>(LanesBelow(count - k));
            const __m512i a = Widen16(first + k);
            const __m512i b = Widen16(second + k);
            const __m512i index = _mm512_or_si512(_mm512_slli_epi32(a, 8), b);
            const __m512i packed =
                _mm512_mask_i32gather_epi32(_mm512_setzero_si512(), lanes, index, table, 4);
            const __mmask16 bad =
                _mm512_mask_cmpeq_epi32_mask(lanes, packed, _mm512_setzero_si512());
            if (bad != 0) {
                lanes &= static_cast<__mmask16>(
                    (1u << std::countr_zero(static_cast<unsigned>(bad))) - 1);
            }
            // A lane keeps its bytes below its length: the length in all four bytes against
            // each byte's place in the lane.
            const __m512i length =
                _mm512_mullo_epi32(_mm512_srli_epi32(packed, 24), _mm512_set1_epi32(0x01010101));
            const std::uint64_t keep = _mm512_cmplt_epu8_mask(byteInLane, length) &
                                       _pdep_u64(lanes, 0x1111111111111111u) * 0xF;
            // Compressed in a register and stored under a mask: the compressing store to
            // memory is microcoded on some processors and many times slower.
            const unsigned kept = static_cast<unsigned>(std::popcount(keep));
            _mm512_mask_storeu_epi8(o, _bzhi_u64(~std::uint64_t{0}, kept),
                                    _mm512_maskz_compress_epi8(keep, packed));
            o += kept;
            if (bad != 0) {
                out = o;
                return i + positions[k + static_cast<std::size_t>(
                                             std::countr_zero(static_cast<unsigned>(bad)))];
            }
        }
        carry = leads >> 63;
    }
    out = o;
    return i + carry;
}

}  // namespace

#endif

#if defined(UNIBRIDGE_SSE2)

namespace {

// What a block holds: its bytes of 0x80 or more, its bytes in the lead byte ranges, and, in
// `pairs`, the two bytes that begin at each of its places as an index of the pair table.
struct Block {
    std::uint64_t high;
    std::uint64_t leadRange;
};

Block ReadBlock(const unsigned char* in, std::uint16_t* pairs) {
    for (std::size_t k = 0; k < kBlock; k += 16) {
        const __m128i first = Load16(in + k);
        const __m128i second = Load16(in + k + 1);
        _mm_store_si128(reinterpret_cast<__m128i*>(pairs + k), _mm_unpacklo_epi8(second, first));
        _mm_store_si128(reinterpret_cast<__m128i*>(pairs + k + 8),
                        _mm_unpackhi_epi8(second, first));
    }
    return {HighBits(in), LeadRangeBits(in)};
}

#if defined(UNIBRIDGE_SHUFFLES)

// Bits of the 32 bytes in the ranges of Shift JIS lead bytes, 0x81-0x9F and 0xE0-0xFC.
[[UNIBRIDGE_AVX2]] inline std::uint64_t LeadRangeBits32(__m256i bytes) {
    const __m256i low = _mm256_sub_epi8(bytes, _mm256_set1_epi8(static_cast<char>(0x81)));
    const __m256i high = _mm256_sub_epi8(bytes, _mm256_set1_epi8(static_cast<char>(0xE0)));
    const __m256i in =
        _mm256_or_si256(_mm256_cmpeq_epi8(_mm256_min_epu8(low, _mm256_set1_epi8(0x1E)), low),
                        _mm256_cmpeq_epi8(_mm256_min_epu8(high, _mm256_set1_epi8(0x1C)), high));
    return static_cast<std::uint32_t>(_mm256_movemask_epi8(in));
}

[[UNIBRIDGE_AVX2]] Block ReadBlock32(const unsigned char* in, std::uint16_t* pairs) {
    Block block{0, 0};
    for (std::size_t k = 0; k < kBlock; k += 32) {
        const __m256i first = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + k));
        const __m256i second = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + k + 1));
        // Interleaved within each 16-byte half: places 0-7 and 16-23, then 8-15 and 24-31.
        const __m256i low = _mm256_unpacklo_epi8(second, first);
        const __m256i high = _mm256_unpackhi_epi8(second, first);
        _mm256_store_si256(reinterpret_cast<__m256i*>(pairs + k),
                           _mm256_permute2x128_si256(low, high, 0x20));
        _mm256_store_si256(reinterpret_cast<__m256i*>(pairs + k + 16),
                           _mm256_permute2x128_si256(low, high, 0x31));
        block.high |= std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(first))} << k;
        block.leadRange |= LeadRangeBits32(first) << k;
    }
    return block;
}

#endif

// Writes the characters that start at the bits of `starts`, each stored whole (4 bytes) from
// its packed UTF-8 and followed by the next at its length, without a branch of its own; returns
// false when one is none (a packed 0, of length 0), and the block must be written again with
// care.
inline bool PutCharacters(const std::uint32_t* table, const std::uint16_t* pairs,
                          std::uint64_t starts, unsigned char*& out) {
    unsigned char* o = out;
    std::uint32_t none = 0;
    for (std::uint64_t m = starts; m != 0; m &= m - 1) {
        const std::uint32_t packed = table[pairs[std::countr_zero(m)]];
        std::memcpy(o, &packed, 4);  // little-endian: the bytes from the low end
        o += packed >> 24;
        none |= packed - 1;  // the top bit is set only where packed is 0
    }
    out = o;
    return (none >> 31) == 0;
}

// The block's characters up to the first that is none; returns its place.
inline std::size_t PutCharactersBefore(const std::uint32_t* table, const std::uint16_t* pairs,
                                       std::uint64_t starts, unsigned char*& o) {
    for (std::uint64_t m = starts;; m &= m - 1) {
        const std::size_t p = static_cast<std::size_t>(std::countr_zero(m));
        const std::uint32_t packed = table[pairs[p]];
        if (packed == 0) {
            return p;
        }
        std::memcpy(o, &packed, 4);
        o += packed >> 24;
    }
}

// Shift JIS to UTF-8 a block at a time: the places of the characters come from the block's bit
// masks and their pairs of bytes from two loads of it, so that each character takes one lookup
// and one store. `read` is ReadBlock or ReadBlock32.
template <class Read>
inline std::size_t SjisToUtf8Blocks(const std::uint32_t* table, const unsigned char* in,
                                    std::size_t i, std::size_t n, unsigned char*& out, Read read) {
    unsigned char* o = out;
    std::uint64_t carry = 0;  // the block's first byte is the second byte of a pair
    alignas(32) std::uint16_t pairs[kBlock];
    // A block's pairs read one byte past it; its characters take up to 3 bytes each and store
    // up to 4, and more input than the block follows: its room holds every store.
    for (; i + kBlock + 1 < n; i += kBlock) {
        Prefetch(in + i);
        const Block block = read(in + i, pairs);
        if (carry == 0 && block.high == 0) {
            Copy64(in + i, o);
            o += kBlock;
            continue;
        }
        const std::uint64_t leads = Leads(block.leadRange, carry);
        const std::uint64_t starts = ~((leads << 1) | carry);
        unsigned char* const from = o;
        if (!PutCharacters(table, pairs, starts, o)) {
            o = from;
            const std::size_t p = PutCharactersBefore(table, pairs, starts, o);
            out = o;
            return i + p;
        }
        carry = leads >> 63;
    }
    out = o;
    return i + carry;
}

#if defined(UNIBRIDGE_SHUFFLES)
[[UNIBRIDGE_AVX2]] std::size_t SjisToUtf8Blocks32(const std::uint32_t* table,
                                                  const unsigned char* in, std::size_t i,
                                                  std::size_t n, unsigned char*& out) {
    return SjisToUtf8Blocks(table, in, i, n, out, ReadBlock32);
}
#endif

}  // namespace

#endif

std::size_t SjisToUtf8Kernel(const Cp932Map& map, const unsigned char* in, std::size_t i,
                             std::size_t n, unsigned char*& out, std::size_t room) {
#if defined(UNIBRIDGE_SSE2)
    if (room / 3 < n - i) {
        return i;
    }
#if defined(UNIBRIDGE_SHUFFLES)
    if (utf8_blocks::HasAvx512()) {
        return SjisToUtf8Blocks64(map.utf8ByPair(), in, i, n, out);
    }
    if (utf8_blocks::HasAvx2()) {
        return SjisToUtf8Blocks32(map.utf8ByPair(), in, i, n, out);
    }
#endif
    return SjisToUtf8Blocks(map.utf8ByPair(), in, i, n, out, ReadBlock);
#else
    (void)map, (void)in, (void)n, (void)out, (void)room;
    return i;
#endif
}

}  // namespace unibridge
