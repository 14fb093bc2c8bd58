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
    // Processors with 64-byte vectors take the AVX2 code too: the 64-byte kernels measured
    // (gathers, or lookups one by one after 64-byte permutes and checks) were slower there.
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
