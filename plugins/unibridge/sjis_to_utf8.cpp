#include "kernels.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "platform/block_bits.h"
#include "platform/pair_blocks.h"

namespace unibridge {

#if defined(POLYSHIFT_SHUFFLES)

namespace {

// The `count` lowest bits (`count` at most 64). _bzhi_u64 exists on x86-64 only.
[[POLYSHIFT_AVX512]] inline std::uint64_t LowBits64(unsigned count) {
#if defined(__x86_64__)
    return _bzhi_u64(~std::uint64_t{0}, count);
#else
    return count >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << count) - 1;
#endif
}

// Shift JIS to UTF-8, 16 characters at a time: their first bytes are gathered from the block
// by position, each pair looks up its packed UTF-8, and the packed bytes are compressed into
// the output by their lengths.
[[POLYSHIFT_AVX512]] std::size_t SjisToUtf8Blocks64(const std::uint32_t* table,
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
            // Lanes left out get the length 0 and keep nothing.
            const __m512i length = _mm512_maskz_mullo_epi32(
                lanes, _mm512_srli_epi32(packed, 24), _mm512_set1_epi32(0x01010101));
            const std::uint64_t keep = _mm512_cmplt_epu8_mask(byteInLane, length);
            // Compressed in a register and stored under a mask: the compressing store to
            // memory is microcoded on some processors and many times slower.
            const unsigned kept = static_cast<unsigned>(std::popcount(keep));
            _mm512_mask_storeu_epi8(o, LowBits64(kept), _mm512_maskz_compress_epi8(keep, packed));
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

std::size_t SjisToUtf8Kernel(const Cp932Map& map, const unsigned char* in, std::size_t i,
                             std::size_t n, unsigned char*& out, std::size_t room) {
#if defined(POLYSHIFT_SSE2)
    if (room / 3 < n - i) {
        return i;
    }
#if defined(POLYSHIFT_SHUFFLES)
    if (utf8_blocks::HasAvx512()) {
        return SjisToUtf8Blocks64(map.utf8ByPair(), in, i, n, out);
    }
#endif
    return PairsToUtf8Kernel(false, map.utf8ByPair(), in, i, n, out);
#else
    (void)map, (void)in, (void)n, (void)out, (void)room;
    return i;
#endif
}

}  // namespace unibridge
