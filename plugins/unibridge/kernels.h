// The conversions that carry most text, Shift JIS and EUC-JP to UTF-8 and UTF-8 to Shift JIS,
// 64 bytes at a time: the characters' first bytes are found for a
// whole block at once, so that no character waits for the length of the one before it, and
// every character goes through the flat tables without a check of the output room of its own.
// Blocks of ASCII are copied whole.
//
// Each kernel starts at in[i] and stops before anything it does not take (a fault, a
// four-byte UTF-8 sequence, the last bytes of the text); it returns where it stopped, on a
// character boundary, for the careful readers of platform/text_readers.h to go on from there.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/cp932_map.h"
#include "platform/utf8_blocks.h"
#include "source.h"

namespace unibridge {

// Needs room for 3 output bytes per input byte from in[i]; takes nothing otherwise.
std::size_t SjisToUtf8Kernel(const Cp932Map& map, const unsigned char* in, std::size_t i,
                             std::size_t n, unsigned char*& out, std::size_t room);

// The tables of the way to Shift JIS that the kernels look characters up in: Cp932Map's, or
// the same without the look-alikes (ExactSjisTables).
struct SjisTables {
    const std::uint16_t* codes;       // as Cp932Map::codes()
    const std::uint32_t* sjisByUnit;  // as Cp932Map::sjisByUnit()

    static SjisTables Of(const Cp932Map& map) { return {map.codes(), map.sjisByUnit()}; }
};

// Cp932Map's tables less the seven look-alikes (kJisAliases): every code they give reads back
// as the character it was looked up for.
const SjisTables& ExactSjisTables();

// Needs room for 1 output byte per input byte from in[i]; takes nothing otherwise.
std::size_t Utf8ToSjisKernel(const SjisTables& tables, const unsigned char* in, std::size_t i,
                             std::size_t n, unsigned char*& out, std::size_t room);

// EUC-JP to UTF-8 as SjisToUtf8Kernel; stops before blocks with three-byte characters too.
std::size_t EucToUtf8Kernel(const unsigned char* in, std::size_t i, std::size_t n,
                            unsigned char*& out, std::size_t room);

#if defined(POLYSHIFT_SSE2)
// The pair kernels (platform/pair_blocks.h) of Shift JIS or EUC-JP to UTF-8, with AVX2 where the
// processor has it.
std::size_t PairsToUtf8Kernel(bool euc, const std::uint32_t* table, const unsigned char* in,
                              std::size_t i, std::size_t n, unsigned char*& out);
#endif

}  // namespace unibridge
