#include "kernels.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include "platform/block_bits.h"
#include "platform/pair_blocks.h"
#include "platform/utf8_bits.h"

namespace unibridge {

#if defined(POLYSHIFT_SHUFFLES)

namespace {

// The `count` lowest bits of `bits` (`count` at most 64). _bzhi_u64 exists on x86-64 only.
[[POLYSHIFT_AVX512]] inline std::uint64_t LowBits64(std::uint64_t bits, unsigned count) {
#if defined(__x86_64__)
    return _bzhi_u64(bits, count);
#else
    return count >= 64 ? bits : bits & ((std::uint64_t{1} << count) - 1);
#endif
}

// UTF-8 to Shift JIS, 16 characters at a time. Each block is checked whole; the characters
// that start in it are found by bit masks, and one that runs past its end starts the next block,
// which is found without a branch from its first byte. For each 16 of them, two byte permutes
// put a character's bytes into its 32-bit lane straight from the block and the one after it;
// the code points are computed side by side, looked up by one gather, and the codes compressed
// into the output (one byte or two each). Nothing goes through memory on the way.
[[POLYSHIFT_AVX512]] std::size_t Utf8ToSjisBlocks64(const std::uint16_t* codes,
                                                    const unsigned char* in, std::size_t i,
                                                    std::size_t n, unsigned char*& out) {
    unsigned char* o = out;
    const __m512i ramp = Ramp64();
    // Byte t of a lane picks place t / 4 of the characters' places; then byte t % 4 after it.
    const __m512i placeOfLane = _mm512_srli_epi32(
        _mm512_mullo_epi32(_mm512_set_epi32(15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0),
                           _mm512_set1_epi32(0x04040404)),
        2);
    const __m512i byteInLane = _mm512_set1_epi32(0x03020100);
    const __m512i low6 = _mm512_set1_epi32(0x3F);
    // A block's characters read up to two bytes of the next block.
    while (i + 2 * kBlock <= n) {
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
        std::uint64_t starts = _mm512_cmpneq_epi8_mask(
            _mm512_and_si512(block, _mm512_set1_epi8(static_cast<char>(0xC0))),
            _mm512_set1_epi8(static_cast<char>(0x80)));
        // Four-byte sequences have no Shift JIS code: the careful reader reports them.
        if ((_mm512_cmpge_epu8_mask(block, _mm512_set1_epi8(static_cast<char>(0xF0))) & starts) !=
            0) {
            break;
        }
        // The last character, when it runs past the block, starts the next one.
        const unsigned last = 63u - static_cast<unsigned>(std::countl_zero(starts));
        const unsigned lead = in[i + last];
        const unsigned length = 1u + (lead >= 0xC0) + (lead >= 0xE0);
        const unsigned end = last + length > kBlock ? last : static_cast<unsigned>(kBlock);
        starts = LowBits64(starts, end);
        const __m512i next = _mm512_loadu_si512(in + i + kBlock);
        const __m512i at = _mm512_maskz_compress_epi8(starts, ramp);
        const unsigned count = static_cast<unsigned>(std::popcount(starts));
        for (unsigned k = 0; k < count; k += 16) {
            __mmask16 lanes = static_cast<__mmask16>(LanesBelow(count - k));
            const __m512i place = _mm512_permutexvar_epi8(
                _mm512_add_epi8(placeOfLane, _mm512_set1_epi8(static_cast<char>(k))), at);
            const __m512i raw =
                _mm512_permutex2var_epi8(block, _mm512_add_epi8(place, byteInLane), next);
            const __m512i a = _mm512_and_si512(raw, _mm512_set1_epi32(0xFF));
            const __m512i b = _mm512_and_si512(_mm512_srli_epi32(raw, 8), low6);
            const __m512i c = _mm512_and_si512(_mm512_srli_epi32(raw, 16), low6);
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
            // Compressed in a register and stored under a mask: the compressing store to
            // memory is microcoded on some processors and many times slower.
            const unsigned kept = static_cast<unsigned>(std::popcount(keep));
            _mm256_mask_storeu_epi8(o, _bzhi_u32(~0u, kept),
                                    _mm256_maskz_compress_epi8(keep, words));
            o += kept;
            if (bad != 0) {
                alignas(64) unsigned char places[64];
                _mm512_store_si512(places, at);
                out = o;
                return i + places[k + static_cast<unsigned>(
                                          std::countr_zero(static_cast<unsigned>(bad)))];
            }
        }
        i += end;
    }
    out = o;
    return i;
}

}  // namespace

#endif

#if defined(POLYSHIFT_SSE2)

namespace {

using utf8_bits::Utf8Bits;

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
        const std::size_t end = utf8_bits::WholeEnd(bits);
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

const SjisTables& ExactSjisTables() {
    struct Exact {
        Exact() {
            const Cp932Map& map = Cp932Map::Get();
            std::memcpy(codes.data(), map.codes(), sizeof codes);
            std::memcpy(sjisByUnit.data(), map.sjisByUnit(), sizeof sjisByUnit);
            for (const JisAlias& alias : kJisAliases) {
                codes[alias.unit] = Cp932Map::kNoCode;
                sjisByUnit[alias.unit] = 0;
            }
            tables = {codes.data(), sjisByUnit.data()};
        }
        std::array<std::uint16_t, 0x10001> codes;
        std::array<std::uint32_t, 0x10000> sjisByUnit;
        SjisTables tables;
    };
    static const Exact exact;
    return exact.tables;
}

std::size_t Utf8ToSjisKernel(const SjisTables& tables, const unsigned char* in, std::size_t i,
                             std::size_t n, unsigned char*& out, std::size_t room) {
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

}  // namespace unibridge
