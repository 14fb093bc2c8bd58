// The UTF-8 to Shift JIS kernel as it stood before the one-pass block kernel, kept as the
// baseline that unibridge_kernel_bench measures the plug-in's kernel against in the same run.
#include "kernels.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "platform/block_bits.h"
#include "platform/pair_blocks.h"
#include "platform/utf8_bits.h"

namespace unibridge::before {

#if defined(POLYSHIFT_SHUFFLES)

namespace {

// UTF-8 to Shift JIS, 16 characters at a time: each block is checked whole, the characters'
// bytes are gathered by position, their code points computed side by side and looked up, and
// the codes compressed into the output (one byte or two each).
[[POLYSHIFT_AVX512]] std::size_t Utf8ToSjisBlocks64(const std::uint16_t* codes,
                                                    const unsigned char* in, std::size_t i,
                                                    std::size_t n, unsigned char*& out) {
    unsigned char* o = out;
    alignas(64) unsigned char bytes[3][64];
    alignas(64) unsigned char positions[64];
    // A sequence at the end of a block reads up to two bytes past it.
    while (i + kBlock + 2 <= n) {
        Prefetch(in + i);
        const __m512i block = _mm512_loadu_si512(in + i);
        if (_mm512_movepi8_mask(block) == 0) {
            _mm512_storeu_si512(o, block);
            o += kBlock;
            i += kBlock;
            continue;
        }
        // i is a boundary, so nothing before the block is incomplete.
        if (utf8_blocks::BlockErrors64(block, _mm512_setzero_si512()) != 0) {
            break;
        }
        // The characters that end inside the block; one running past it starts the next block.
        const std::size_t end = utf8_blocks::BoundaryBefore(in, i, i + kBlock);
        std::uint64_t starts = _mm512_cmpneq_epi8_mask(
            _mm512_and_si512(block, _mm512_set1_epi8(static_cast<char>(0xC0))),
            _mm512_set1_epi8(static_cast<char>(0x80)));
        if (end - i < kBlock) {
            starts &= (std::uint64_t{1} << (end - i)) - 1;
        }
        // Four-byte sequences have no Shift JIS code: the careful reader reports them.
        if ((_mm512_cmpge_epu8_mask(block, _mm512_set1_epi8(static_cast<char>(0xF0))) & starts) !=
            0) {
            break;
        }
        const __m512i at = _mm512_maskz_compress_epi8(starts, Ramp64());
        _mm512_store_si512(positions, at);
        _mm512_store_si512(bytes[0], _mm512_permutexvar_epi8(at, block));
        _mm512_store_si512(bytes[1], _mm512_permutexvar_epi8(at, _mm512_loadu_si512(in + i + 1)));
        _mm512_store_si512(bytes[2], _mm512_permutexvar_epi8(at, _mm512_loadu_si512(in + i + 2)));
        const std::size_t count = static_cast<std::size_t>(std::popcount(starts));
        for (std::size_t k = 0; k < count; k += 16) {
            __mmask16 lanes = static_cast<__mmask16>(LanesBelow(count - k));
            const __m512i a = Widen16(bytes[0] + k);
            const __m512i b = _mm512_and_si512(Widen16(bytes[1] + k), _mm512_set1_epi32(0x3F));
            const __m512i c = _mm512_and_si512(Widen16(bytes[2] + k), _mm512_set1_epi32(0x3F));
            const __m512i two = _mm512_or_si512(
                _mm512_slli_epi32(_mm512_and_si512(a, _mm512_set1_epi32(0x1F)), 6), b);
            const __m512i three =
                _mm512_or_si512(_mm512_slli_epi32(_mm512_and_si512(a, _mm512_set1_epi32(0x0F)), 12),
                                _mm512_or_si512(_mm512_slli_epi32(b, 6), c));
            __m512i character = _mm512_mask_blend_epi32(
                _mm512_cmpge_epu32_mask(a, _mm512_set1_epi32(0xE0)), two, three);
            character = _mm512_mask_blend_epi32(_mm512_cmplt_epu32_mask(a, _mm512_set1_epi32(0x80)),
                                                character, a);
            const __m512i code = _mm512_and_si512(
                _mm512_mask_i32gather_epi32(_mm512_setzero_si512(), lanes, character, codes, 2),
                _mm512_set1_epi32(0xFFFF));
            const __mmask16 bad =
                _mm512_mask_cmpeq_epi32_mask(lanes, code, _mm512_set1_epi32(Cp932Map::kNoCode));
            if (bad != 0) {
                lanes &= static_cast<__mmask16>(
                    (1u << std::countr_zero(static_cast<unsigned>(bad))) - 1);
            }
            // Two bytes, high first, or one: the high byte is dropped where there is none.
            const __mmask16 pair = _mm512_cmpgt_epu32_mask(code, _mm512_set1_epi32(0xFF));
            const __m512i swapped = _mm512_or_si512(
                _mm512_srli_epi32(code, 8),
                _mm512_slli_epi32(_mm512_and_si512(code, _mm512_set1_epi32(0xFF)), 8));
            const __m256i words =
                _mm512_cvtepi32_epi16(_mm512_mask_blend_epi32(pair, code, swapped));
            const std::uint32_t keep = static_cast<std::uint32_t>(
                _pdep_u32(lanes, 0x55555555u) | _pdep_u32(lanes & pair, 0xAAAAAAAAu));
            // Compressed in a register and stored under a mask (see SjisToUtf8Blocks64).
            const unsigned kept = static_cast<unsigned>(std::popcount(keep));
            _mm256_mask_storeu_epi8(o, _bzhi_u32(~0u, kept),
                                    _mm256_maskz_compress_epi8(keep, words));
            o += kept;
            if (bad != 0) {
                out = o;
                return i + positions[k + static_cast<std::size_t>(
                                             std::countr_zero(static_cast<unsigned>(bad)))];
            }
        }
        i = end;
    }
    out = o;
    return i;
}

}  // namespace

#endif

#if defined(POLYSHIFT_SSE2)

namespace {

using utf8_bits::Utf8Bits;

// utf8_bits::WholeEnd as it stood, with its branches.
inline std::size_t WholeEndBefore(const Utf8Bits& b) {
    if ((b.lead3 >> 62 & 1) != 0) {
        return kBlock - 2;
    }
    return (b.lead >> 63 & 1) != 0 ? kBlock - 1 : kBlock;
}

// UTF-8 to Shift JIS a block at a time: the block is checked by the bit masks of its kinds of
// byte, which also give the places of its characters; the characters of all places are
// computed side by side, so that each character takes one lookup and one store. `readBits` and
// `characters` are the SSE2 or AVX2 forms of ReadUtf8Bits and CharactersOfBlock.
template <class ReadBits, class Characters>
inline std::size_t Utf8ToSjisBlocks(const std::uint32_t* table, const unsigned char* in,
                                    std::size_t i, std::size_t n, unsigned char*& out,
                                    ReadBits readBits, Characters characters) {
    unsigned char* o = out;
    alignas(32) std::uint16_t at[kBlock];
    // A sequence at the end of a block reads up to two bytes past it. The block's characters
    // take no more room than their bytes and store up to 3 bytes more, and at least 4 more
    // bytes of input follow it.
    while (i + kBlock + 4 <= n) {
        Prefetch(in + i);
        const Utf8Bits bits = readBits(in + i);
        if (bits.high == 0) {
            Copy64(in + i, o);
            o += kBlock;
            i += kBlock;
            continue;
        }
        // i is a boundary, so nothing before the block is incomplete.
        if (utf8_bits::Faults(bits, in + i) != 0) {
            break;
        }
        // The characters that end inside the block; one running past it starts the next block.
        const std::size_t end = WholeEndBefore(bits);
        const std::uint64_t starts =
            ~bits.cont & (end == kBlock ? ~std::uint64_t{0} : (std::uint64_t{1} << end) - 1);
        characters(in + i, at);
        unsigned char* const from = o;
        if (!pair_blocks::PutCharacters(table, at, starts, o)) {
            o = from;
            const std::size_t p = pair_blocks::PutCharactersBefore(table, at, starts, o);
            out = o;
            return i + p;
        }
        i += end;
    }
    out = o;
    return i;
}

#if defined(POLYSHIFT_SHUFFLES)
[[POLYSHIFT_AVX2]] std::size_t Utf8ToSjisBlocks32(const std::uint32_t* table,
                                                  const unsigned char* in, std::size_t i,
                                                  std::size_t n, unsigned char*& out) {
    return Utf8ToSjisBlocks(table, in, i, n, out, utf8_bits::ReadUtf8Bits32,
                            utf8_bits::CharactersOfBlock32);
}
#endif

}  // namespace

#endif

std::size_t Utf8ToSjisKernelBefore(const SjisTables& tables, const unsigned char* in,
                                   std::size_t i, std::size_t n, unsigned char*& out, std::size_t room) {
    // Output never outgrows input, so the room holds a whole block's stores.
    if (room < n - i) {
        return i;
    }
#if defined(POLYSHIFT_SHUFFLES)
    if (utf8_blocks::HasAvx512()) {
        return Utf8ToSjisBlocks64(tables.codes, in, i, n, out);
    }
    if (utf8_blocks::HasAvx2()) {
        return Utf8ToSjisBlocks32(tables.sjisByUnit, in, i, n, out);
    }
#endif
#if defined(POLYSHIFT_SSE2)
    return Utf8ToSjisBlocks(tables.sjisByUnit, in, i, n, out, utf8_bits::ReadUtf8Bits,
                            utf8_bits::CharactersOfBlock);
#else
    (void)tables, (void)in, (void)n, (void)out;
    return i;
#endif
}

}  // namespace unibridge::before
