// Shift JIS and EUC-JP a 64-byte block at a time with no more than SSE2 (or with AVX2): the
// places of the characters come from the block's bit masks and the two bytes at each place,
// as an index of a flat table by pair (first << 8 | second), from two loads of the block, so
// that each character takes one lookup and, converted, one store. Blocks that hold EUC-JP's
// three-byte characters (0x8F ...) are left to the careful readers.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/block_bits.h"

#if defined(POLYSHIFT_SSE2)

namespace platform::pair_blocks {

// What a block holds: its bytes of 0x80 or more; the bytes that begin a character unless they
// end one begun before (Shift JIS lead bytes, any EUC-JP byte of 0x80 or more); in EUC-JP the
// bytes 0x8F. `pairs` receives the index of the pair at each place.
//
// The kernels read a block in two steps, `scan` and `rest`: the bytes of 0x80 or more must be
// known after the first, to tell a block of ASCII apart, and everything after the second. With
// SSE2 everything is read in the first step, which measures faster; with AVX2 the second reads
// all but the bytes of 0x80 or more, which spares blocks of ASCII.
struct Block {
    std::uint64_t high;
    std::uint64_t leadRange;
    std::uint64_t stop;
};

template <bool kEuc>
inline Block ReadBlock(const unsigned char* in, std::uint16_t* pairs) {
    for (std::size_t k = 0; k < kBlock; k += 16) {
        const __m128i first = Load16(in + k);
        const __m128i second = Load16(in + k + 1);
        _mm_store_si128(reinterpret_cast<__m128i*>(pairs + k), _mm_unpacklo_epi8(second, first));
        _mm_store_si128(reinterpret_cast<__m128i*>(pairs + k + 8),
                        _mm_unpackhi_epi8(second, first));
    }
    const std::uint64_t high = HighBits(in);
    if constexpr (kEuc) {
        std::uint64_t stop = 0;
        for (std::size_t k = 0; k < kBlock; k += 16) {
            stop |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(
                        _mm_cmpeq_epi8(Load16(in + k), _mm_set1_epi8(static_cast<char>(0x8F))))))
                    << k;
        }
        return {high, high, stop};
    } else {
        return {high, LeadRangeBits(in), 0};
    }
}

inline void NothingMore(const unsigned char*, std::uint16_t*, Block&) {}

#if defined(POLYSHIFT_SHUFFLES)

[[POLYSHIFT_AVX2]] inline Block HighBits32(const unsigned char* in, std::uint16_t*) {
    const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in));
    const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + 32));
    return {static_cast<std::uint32_t>(_mm256_movemask_epi8(low)) |
                std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(high))} << 32,
            0, 0};
}

// Bits of the 32 bytes in the ranges of Shift JIS lead bytes, 0x81-0x9F and 0xE0-0xFC.
[[POLYSHIFT_AVX2]] inline std::uint64_t LeadRangeBits32(__m256i bytes) {
    const __m256i low = _mm256_sub_epi8(bytes, _mm256_set1_epi8(static_cast<char>(0x81)));
    const __m256i high = _mm256_sub_epi8(bytes, _mm256_set1_epi8(static_cast<char>(0xE0)));
    const __m256i in =
        _mm256_or_si256(_mm256_cmpeq_epi8(_mm256_min_epu8(low, _mm256_set1_epi8(0x1E)), low),
                        _mm256_cmpeq_epi8(_mm256_min_epu8(high, _mm256_set1_epi8(0x1C)), high));
    return static_cast<std::uint32_t>(_mm256_movemask_epi8(in));
}

template <bool kEuc>
[[POLYSHIFT_AVX2]] inline void ReadRest32(const unsigned char* in, std::uint16_t* pairs,
                                          Block& block) {
    block.leadRange = kEuc ? block.high : 0;
    for (std::size_t k = 0; k < kBlock; k += 32) {
        const __m256i first = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + k));
        const __m256i second = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + k + 1));
        // Interleaved within each 16-byte half: places 0-7 and 16-23, then 8-15 and 24-31.
        const __m256i low = _mm256_unpacklo_epi8(second, first);
        const __m256i upper = _mm256_unpackhi_epi8(second, first);
        _mm256_store_si256(reinterpret_cast<__m256i*>(pairs + k),
                           _mm256_permute2x128_si256(low, upper, 0x20));
        _mm256_store_si256(reinterpret_cast<__m256i*>(pairs + k + 16),
                           _mm256_permute2x128_si256(low, upper, 0x31));
        if constexpr (kEuc) {
            block.stop |= std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(
                              _mm256_cmpeq_epi8(first, _mm256_set1_epi8(static_cast<char>(0x8F)))))}
                          << k;
        } else {
            block.leadRange |= LeadRangeBits32(first) << k;
        }
    }
}

#endif

// Writes the characters that start at the bits of `starts`, each stored whole (4 bytes) from
// its packed bytes in `table` (by its index in `pairs`: the bytes from the low end, their
// number in the top byte) and followed by the next at its length, without a branch of its own;
// returns false when one is none (a packed 0, of length 0), and the block must be written
// again with care. Used for UTF-8 to Shift JIS too.
inline bool PutCharacters(const std::uint32_t* table, const std::uint16_t* pairs,
                          std::uint64_t starts, unsigned char*& out) {
    unsigned char* o = out;
    const auto* const bytes = reinterpret_cast<const unsigned char*>(table);
    std::uint32_t all = ~0u;
    for (std::uint64_t m = starts; m != 0; m &= m - 1) {
        const std::size_t index = pairs[static_cast<std::size_t>(std::countr_zero(m))];
        const std::uint32_t packed = table[index];
        std::memcpy(o, &packed, 4);   // little-endian: the bytes from the low end
        o += bytes[4 * index + 3];    // the length, loaded on its own rather than shifted out
        all &= packed + 0x7FFFFFFFu;  // the top bit is clear only where packed is 0
    }
    out = o;
    return (all >> 31) != 0;
}

// The block's characters up to the first that is none (or has no code); returns its place.
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

// To UTF-8 by `table` (packed UTF-8 by pair, 0 for none) from in[i], reading blocks with
// `scan` and `rest` (ReadBlock and NothingMore, or HighBits32 and ReadRest32); stops as the
// kernels in kernels.h do.
template <bool kEuc, class Scan, class Rest>
inline std::size_t PairsToUtf8(const std::uint32_t* table, const unsigned char* in, std::size_t i,
                               std::size_t n, unsigned char*& out, Scan scan, Rest rest) {
    unsigned char* o = out;
    std::uint64_t carry = 0;  // the block's first byte is the second byte of a pair
    alignas(32) std::uint16_t pairs[kBlock];
    // A block's pairs read one byte past it; its characters take up to 3 bytes each and store
    // up to 4, and more input than the block follows: its room holds every store.
    for (; i + kBlock + 1 < n; i += kBlock) {
        Prefetch(in + i);
        Block block = scan(in + i, pairs);
        if (carry == 0 && block.high == 0) {
            Copy64(in + i, o);
            o += kBlock;
            continue;
        }
        rest(in + i, pairs, block);
        if (kEuc && block.stop != 0) {
            break;
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

// Adds to `score` the scores of the characters from in[i] by `table` (0x80 | a character's
// score by pair, 0 for none), reading blocks as PairsToUtf8 does; stops before a block with a
// character that is none (or 0x8F in EUC-JP), on a character boundary, and returns where. ASCII
// scores nothing and is never looked up.
template <bool kEuc, class Scan, class Rest>
inline std::size_t ScorePairs(const std::uint8_t* table, const unsigned char* in, std::size_t i,
                              std::size_t n, std::uint64_t& score, Scan scan, Rest rest) {
    std::uint64_t carry = 0;
    std::uint64_t sum = 0;
    alignas(32) std::uint16_t pairs[kBlock];
    for (; i + kBlock + 1 < n; i += kBlock) {
        Prefetch(in + i);
        Block block = scan(in + i, pairs);
        if (carry == 0 && block.high == 0) {
            continue;
        }
        rest(in + i, pairs, block);
        if (kEuc && block.stop != 0) {
            break;
        }
        const std::uint64_t leads = Leads(block.leadRange, carry);
        const std::uint64_t starts = ~((leads << 1) | carry) & block.high;
        std::uint64_t blockSum = 0;
        unsigned all = 0x80;
        for (std::uint64_t m = starts; m != 0; m &= m - 1) {
            const unsigned value = table[pairs[static_cast<std::size_t>(std::countr_zero(m))]];
            blockSum += value;
            all &= value;
        }
        if (all == 0) {
            break;
        }
        sum += blockSum - 0x80u * static_cast<std::uint64_t>(std::popcount(starts));
        carry = leads >> 63;
    }
    score += sum;
    return i + carry;
}

// ScorePairs with AVX2 where the processor has it (pair_scores.cpp).
std::size_t Score(bool euc, const std::uint8_t* table, const unsigned char* in, std::size_t i,
                  std::size_t n, std::uint64_t& score);

}  // namespace platform::pair_blocks

#endif
