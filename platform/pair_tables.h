// Flat tables by the two bytes a character of Shift JIS or EUC-JP begins with (first << 8 |
// second), for the block kernels (pair_blocks.h): EUC-JP as packed UTF-8, and the score
// (scorer.h) of each reading's characters. Built once, on first use, from the careful readers'
// own rules, so that the kernels read every pair as they do.
#pragma once

#include <array>
#include <cstdint>

namespace platform {

class PairTables {
  public:
    static const PairTables& Get();

    // As Cp932Map::utf8ByPair for EUC-JP: the packed UTF-8 of the character the two bytes
    // begin, 0 where they begin none or a three-byte one (0x8F ...).
    const std::uint32_t* eucUtf8() const { return eucUtf8_.data(); }
    // 0x80 | the score of the character the two bytes begin in each reading, 0 where they
    // begin none (and at 0x8F in EUC-JP).
    const std::uint8_t* sjisScores() const { return sjisScores_.data(); }
    const std::uint8_t* eucScores() const { return eucScores_.data(); }

    PairTables(const PairTables&) = delete;
    PairTables& operator=(const PairTables&) = delete;

  private:
    PairTables();

    std::array<std::uint32_t, 0x10000> eucUtf8_{};
    std::array<std::uint8_t, 0x10000> sjisScores_{};
    std::array<std::uint8_t, 0x10000> eucScores_{};
};

}  // namespace platform
