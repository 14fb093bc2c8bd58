#include "kernels.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "block_bits.h"

namespace unibridge {

#if defined(UNIBRIDGE_SHUFFLES)

namespace {

// UTF-8 to Shift JIS, 16 characters at a time: each block is checked whole, the characters'
// bytes are gathered by position, their code points computed side by side and looked up, and
// the codes compressed into the output (one byte or two each).
[[UNIBRIDGE_AVX512]] std::size_t Utf8ToSjisBlocks64(const std::uint16_t* codes,
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
            _mm256_mask_storeu_epi8(o, _bzhi_u32(~0u, kept), _mm256_maskz_compress_epi8(keep, words));
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

[[gnu::target("sse4.1")]] std::size_t Utf8ToSjisBlocks(const Cp932Map& map, const unsigned char* in,
                                                       std::size_t i, std::size_t n,
                                                       unsigned char*& out) {
    const std::uint16_t* const codes = map.codes();
    const std::size_t from = i;
    unsigned char* o = out;
    // A sequence at the end of a block reads up to two bytes past it.
    while (i + kBlock + 2 <= n) {
        Prefetch(in + i);
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
            const __m128i continuation =
                _mm_cmpeq_epi8(_mm_and_si128(b, _mm_set1_epi8(static_cast<char>(0xC0))),
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
            const unsigned three =
                (c & 0x0Fu) << 12 | (in[p + 1] & 0x3Fu) << 6 | (in[p + 2] & 0x3Fu);
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
    if (room >= n - i && utf8_blocks::HasAvx512()) {
        return Utf8ToSjisBlocks64(map.codes(), in, i, n, out);
    }
    if (room >= n - i && utf8_blocks::HasShuffles()) {
        return Utf8ToSjisBlocks(map, in, i, n, out);
    }
#endif
    (void)map, (void)in, (void)n, (void)out, (void)room;
    return i;
}

}  // namespace unibridge
