// 32-byte vector forms of the block classification and mapping, used on processors that have
// them (chosen at run time).
#pragma once

#include <cstdint>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define ENCSWAP_HAVE_AVX2_PATH 1
#endif

namespace encswap {

struct SjisBlock;

#if defined(ENCSWAP_HAVE_AVX2_PATH)
bool HasAvx2();
void ClassifyBytesAvx2(const unsigned char* in, SjisBlock& b);
void MapRowCellAvx2(const unsigned char* in, std::uint64_t pairLeads, std::uint64_t trails,
                    std::uint64_t sevenBitKana, unsigned char topBit, unsigned char* mapped);
#endif

}  // namespace encswap
