// The conversions that carry most text, Shift JIS and EUC-JP to UTF-8 and UTF-8 to Shift JIS,
// and the scores of detection, 64 bytes at a time: the characters' first bytes are found for a
// whole block at once, so that no character waits for the length of the one before it, and
// every character goes through the flat tables without a check of the output room of its own.
// Blocks of ASCII are copied whole.
//
// Each kernel starts at in[i] and stops before anything it does not take (a fault, a
// four-byte UTF-8 sequence, the last bytes of the text); it returns where it stopped, on a
// character boundary, for the careful readers in readers.h to go on from there.
#pragma once

#include <cstddef>
#include <cstdint>

#include "cp932_map.h"

namespace unibridge {

// Needs room for 3 output bytes per input byte from in[i]; takes nothing otherwise.
std::size_t SjisToUtf8Kernel(const Cp932Map& map, const unsigned char* in, std::size_t i,
                             std::size_t n, unsigned char*& out, std::size_t room);

// Needs room for 1 output byte per input byte from in[i]; takes nothing otherwise.
std::size_t Utf8ToSjisKernel(const Cp932Map& map, const unsigned char* in, std::size_t i,
                             std::size_t n, unsigned char*& out, std::size_t room);

// EUC-JP to UTF-8 as SjisToUtf8Kernel; stops before blocks with three-byte characters too.
std::size_t EucToUtf8Kernel(const unsigned char* in, std::size_t i, std::size_t n,
                            unsigned char*& out, std::size_t room);

// Add the scores (scorer.h) of the characters of a reading as Shift JIS or as EUC-JP from
// in[i] to `score`; they stop as the kernels above do, before the block of a character that is
// none (or a three-byte EUC-JP one), and return where.
std::size_t ScoreSjisKernel(const unsigned char* in, std::size_t i, std::size_t n,
                            std::uint64_t& score);
std::size_t ScoreEucKernel(const unsigned char* in, std::size_t i, std::size_t n,
                           std::uint64_t& score);

}  // namespace unibridge
