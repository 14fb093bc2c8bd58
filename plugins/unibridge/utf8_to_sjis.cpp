#include "kernels.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include "platform/block_bits.h"
#include "platform/pair_blocks.h"
#include "platform/utf8_bits.h"

namespace unibridge {

#if defined(POLYSHIFT_SSE2)

namespace {

using utf8_bits::Utf8Bits;

// What a run (Runs32) reads and writes at most from where it starts: 32 bytes of ASCII, then
// 16 characters read 16 bytes at a time from 12 bytes apart and 32 bytes stored.
constexpr std::size_t kRunReach = 32 + 36 + 16;

// Bits 0, 3, ..., 45: the places of 16 three-byte characters.
constexpr std::uint64_t kRunLeads = 0x249249249249u;

// UTF-8 to Shift JIS a block at a time: the block is checked by the bit masks of its kinds of
// byte, which also give the places of its characters; the characters of all places are
// computed side by side, so that each character takes one lookup and one store. `readBits` and
// `characters` are the SSE2 or AVX2 forms of ReadUtf8Bits and CharactersOfBlock. Before each
// block, `run` may take the text's common case faster (Runs32); with enough text left, it
// leaves the block to start where it stopped.
template <class ReadBits, class Characters, class Run>
[[gnu::always_inline]] inline std::size_t Utf8ToSjisBlocks(const std::uint32_t* table,
                                                           const unsigned char* in, std::size_t i,
                                                           std::size_t n, unsigned char*& out,
                                                           ReadBits readBits, Characters characters,
                                                           const Run& run) {
    unsigned char* o = out;
    alignas(32) std::uint16_t at[kBlock];
    // A sequence at the end of a block reads up to two bytes past it. The block's characters
    // take no more room than their bytes and store up to 3 bytes more, and at least 4 more
    // bytes of input follow it.
    while (i + kBlock + 4 <= n) {
        if (i + kRunReach <= n && run(table, in, i, o)) {
            continue;
        }
        if (i + kBlock + 4 > n) {
            break;  // the run took ASCII up to a character too near the end for a block
        }
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
        const std::uint64_t starts = ~bits.cont & (~std::uint64_t{0} >> (kBlock - end));
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

inline bool NoRun(const std::uint32_t*, const unsigned char*, std::size_t&, unsigned char*&) {
    return false;
}

#if defined(POLYSHIFT_SHUFFLES)

[[POLYSHIFT_AVX2]] inline __m256i Load32(const unsigned char* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

// `v`, which the compiler no longer knows: a constant so made is kept in a register (or
// reloaded), not made again by instructions of its own at each use.
[[POLYSHIFT_AVX2]] inline __m256i Opaque(__m256i v) {
    __asm__("" : "+x"(v));
    return v;
}

// The bits of the 16-bit lanes of a 32-byte movemask below lane `count` (at most 16).
inline std::uint32_t WordBitsBelow(std::size_t count) {
    return static_cast<std::uint32_t>((std::uint64_t{1} << (2 * count)) - 1);
}

// Japanese text is mostly runs of three-byte characters (kana, kanji, full-width forms) between
// short runs of ASCII. A Runs32 takes up to 32 bytes of ASCII and then up to 16 three-byte
// characters, with no branch where the run ends: the characters are at every third byte, so
// that a byte shuffle puts each in a lane of its own, where it is decoded, and each is looked
// up and stored at a place known beforehand (two bytes each, unless half-width katakana come
// in the run). Where the run ends comes from bit masks of the 64 places, so that the next run
// need not wait for this one's characters. The run ends before anything else; first bytes
// 0xE0 and 0xED end it too, since their second bytes have limits of their own.
class Runs32 {
  public:
    [[POLYSHIFT_AVX2]] Runs32()
        : order_(Opaque(_mm256_setr_epi8(2, 1, 0, -1, 5, 4, 3, -1, 8, 7, 6, -1, 11, 10, 9, -1, 2, 1,
                                         0, -1, 5, 4, 3, -1, 8, 7, 6, -1, 11, 10, 9, -1))),
          e1_(Opaque(_mm256_set1_epi8(static_cast<char>(0xE1)))),
          ed_(Opaque(_mm256_set1_epi8(static_cast<char>(0xED)))),
          fourteen_(Opaque(_mm256_set1_epi8(0x0E))),
          c0_(Opaque(_mm256_set1_epi8(-64))),
          bits4_(Opaque(_mm256_set1_epi32(0xF000))),
          bits6High_(Opaque(_mm256_set1_epi32(0x0FC0))),
          bits6_(Opaque(_mm256_set1_epi32(0x3F))),
          places_(Opaque(_mm256_setr_epi16(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15))),
          twoBytes_(Opaque(_mm256_set1_epi16(0x3042))),
          ff61_(Opaque(_mm256_set1_epi16(static_cast<short>(0xFF61)))),
          sixtyTwo_(Opaque(_mm256_set1_epi16(0x3E))) {}

    // Takes a run from in[i]; false, having taken its ASCII, where a character of the run has
    // no code, or where it took nothing: the general path takes the block from there.
    [[POLYSHIFT_AVX2]] bool operator()(const std::uint32_t* table, const unsigned char* in,
                                       std::size_t& i, unsigned char*& out) const {
        const unsigned char* const s = in + i;
        const __m256i head = Load32(s);
        const std::uint64_t high =
            static_cast<std::uint32_t>(_mm256_movemask_epi8(head)) |
            std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(Load32(s + 32)))} << 32;
        const std::uint64_t starts = PlainStarts(s) | PlainStarts(s + 32) << 32;
        const std::size_t ascii = static_cast<std::size_t>(std::countr_zero(high | 1ull << 32));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), head);
        // The run's characters start every third place from the ASCII's end; past the 64
        // places, none is known.
        const std::uint64_t ends = (~(starts >> ascii) & kRunLeads) | std::uint64_t{1} << 48;
        const std::size_t length = static_cast<std::size_t>(std::countr_zero(ends));
        const std::size_t count = length / 3;
        const unsigned char* const r = s + ascii;
        const __m256i decoded = _mm256_permute4x64_epi64(
            _mm256_packus_epi32(Decode(Four(r)), Decode(Four(r + 24))), 0xD8);
        // The places past the run look up a character of two bytes, so that one test of all
        // lookups tells whether the run's characters all have codes.
        const __m256i characters = _mm256_blendv_epi8(
            twoBytes_, decoded,
            _mm256_cmpgt_epi16(_mm256_set1_epi16(static_cast<short>(count)), places_));
        alignas(32) std::uint16_t at[16];
        _mm256_store_si256(reinterpret_cast<__m256i*>(at), characters);
        // Read back one by one rather than taken out of the vector: loads are cheaper.
        __asm__("" : "+m"(at));
        // Half-width katakana, U+FF61-U+FF9F, take one byte: two bits each.
        const __m256i fromFF61 = _mm256_sub_epi16(characters, ff61_);
        const std::uint32_t halfWidth = static_cast<std::uint32_t>(_mm256_movemask_epi8(
            _mm256_cmpeq_epi16(_mm256_min_epu16(fromFF61, sixtyTwo_), fromFF61)));
        unsigned char* const o = out + ascii;
        i += ascii;
        out = o;
        if (halfWidth == 0 ? !PutPairs(table, at, count, o) : !PutAny(table, at, o)) {
            return false;
        }
        i += length;
        out = o + 2 * count -
              static_cast<std::size_t>(std::popcount(halfWidth & WordBitsBelow(count))) / 2;
        return ascii + count != 0;
    }

  private:
    // Bits of the 32 places at `p` where a well-formed three-byte sequence starts whose first
    // byte is neither 0xE0 nor 0xED; reads 2 bytes past them.
    [[POLYSHIFT_AVX2, gnu::always_inline]] std::uint64_t PlainStarts(const unsigned char* p) const {
        const __m256i first = Load32(p);
        const __m256i fromE1 = _mm256_sub_epi8(first, e1_);
        const __m256i lead =
            _mm256_andnot_si256(_mm256_cmpeq_epi8(first, ed_),
                                _mm256_cmpeq_epi8(_mm256_min_epu8(fromE1, fourteen_), fromE1));
        // Continuations, 0x80-0xBF, are the signed bytes below -64.
        const __m256i conts = _mm256_and_si256(_mm256_cmpgt_epi8(c0_, Load32(p + 1)),
                                               _mm256_cmpgt_epi8(c0_, Load32(p + 2)));
        return static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_and_si256(lead, conts)));
    }

    // Four three-byte characters from the 12 bytes at `r` and at `r` + 12, one in each 32-bit
    // lane as the number first << 16 | second << 8 | third.
    [[POLYSHIFT_AVX2, gnu::always_inline]] __m256i Four(const unsigned char* r) const {
        return _mm256_shuffle_epi8(_mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(r + 12),
                                                       reinterpret_cast<const __m128i*>(r)),
                                   order_);
    }

    // The characters of the lanes of Four.
    [[POLYSHIFT_AVX2, gnu::always_inline]] __m256i Decode(__m256i v) const {
        return _mm256_or_si256(
            _mm256_or_si256(_mm256_and_si256(_mm256_srli_epi32(v, 4), bits4_),
                            _mm256_and_si256(_mm256_srli_epi32(v, 2), bits6High_)),
            _mm256_and_si256(v, bits6_));
    }

    // The characters, every one of two bytes, eight at a time: runs between ASCII are often
    // short. False where one takes one byte or has none.
    [[gnu::always_inline]] static bool PutPairs(const std::uint32_t* table, const std::uint16_t* at,
                                                std::size_t count, unsigned char* o) {
        std::uint32_t all = ~0u;
        const auto put = [&](std::size_t from) {
#pragma GCC unroll 8
            for (std::size_t k = from; k < from + 8; ++k) {
                const std::uint32_t packed = table[at[k]];
                std::memcpy(o + 2 * k, &packed, 2);  // little-endian: the bytes from the low end
                all &= packed;
            }
        };
        put(0);
        if (count > 8) {
            put(8);
        }
        return (all >> 25 & 1) != 0;  // a length of 2 in every top byte
    }

    // The characters, each after the one before at its length; false where one has none.
    [[gnu::always_inline]] static bool PutAny(const std::uint32_t* table, const std::uint16_t* at,
                                              unsigned char* o) {
        std::uint32_t all = ~0u;
#pragma GCC unroll 16
        for (std::size_t k = 0; k < 16; ++k) {
            const std::uint32_t packed = table[at[k]];
            std::memcpy(o, &packed, 2);
            o += packed >> 24;
            all &= packed + 0x7FFFFFFFu;  // the top bit is clear only where packed is 0
        }
        return (all >> 31) != 0;
    }

    __m256i order_, e1_, ed_, fourteen_, c0_, bits4_, bits6High_, bits6_, places_, twoBytes_, ff61_,
        sixtyTwo_;
};

#endif

#if defined(POLYSHIFT_SHUFFLES)
[[POLYSHIFT_AVX2]] std::size_t Utf8ToSjisBlocks32(const std::uint32_t* table,
                                                  const unsigned char* in, std::size_t i,
                                                  std::size_t n, unsigned char*& out) {
    return Utf8ToSjisBlocks(table, in, i, n, out, utf8_bits::ReadUtf8Bits32,
                            utf8_bits::CharactersOfBlock32, Runs32());
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
    // Processors with 64-byte vectors take the AVX2 code too: the 64-byte kernels measured
    // (gathers, or lookups one by one after 64-byte permutes and checks) were slower there.
    if (utf8_blocks::HasAvx2()) {
        return Utf8ToSjisBlocks32(tables.sjisByUnit, in, i, n, out);
    }
#endif
#if defined(POLYSHIFT_SSE2)
    return Utf8ToSjisBlocks(tables.sjisByUnit, in, i, n, out, utf8_bits::ReadUtf8Bits,
                            utf8_bits::CharactersOfBlock, NoRun);
#else
    (void)tables, (void)in, (void)n, (void)out;
    return i;
#endif
}

}  // namespace unibridge
