// How plausible a reading of a text as Shift JIS or EUC-JP is (rule 4 in detect.h): a writer
// that keeps nothing but adds up the score of each code page 932 character read.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/cp932_map.h"
#include "platform/text_readers.h"
#include "plugins/common/jis_row_cell.h"

namespace platform {

// The score of the character at `index` of `map` (not ASCII): a two-byte character by its JIS
// row, a half-width katakana `kanaScore`.
inline unsigned CharacterScore(const Cp932Map& map, std::size_t index, unsigned kanaScore) {
    if (index < 256) {
        return kanaScore;
    }
    const unsigned row =
        jis::RowCellFromSjis(map.LeadOf(index / 256), static_cast<std::uint8_t>(index)).first -
        0x20u;
    if ((row >= 1 && row <= 8) || (row >= 16 && row <= 47)) {
        return 4;
    }
    return row >= 48 && row <= 84 ? 2 : 0;
}

// Add the scores of the characters of a reading as Shift JIS or as EUC-JP from in[i] to
// `score` 64 bytes at a time (pair_scores.cpp); they stop before the block of a character that
// is none (or a three-byte EUC-JP one), and return where.
std::size_t ScoreSjisKernel(const unsigned char* in, std::size_t i, std::size_t n,
                            std::uint64_t& score);
std::size_t ScoreEucKernel(const unsigned char* in, std::size_t i, std::size_t n,
                           std::uint64_t& score);

template <unsigned kKanaScore>
class Scorer {
  public:
    static constexpr bool kChecksOnly = true;

    bool Ascii(const unsigned char*, std::size_t) { return true; }
    Put Code(const Cp932Map& map, std::size_t index) {
        score += CharacterScore(map, index, kKanaScore);  // ASCII comes in runs, not here
        return Put::kDone;
    }
    std::size_t SjisKernel(const Cp932Map&, const unsigned char* in, std::size_t i,
                           std::size_t n)
        requires(kKanaScore == 1)
    {
        return ScoreSjisKernel(in, i, n, score);
    }
    std::size_t EucKernel(const unsigned char* in, std::size_t i, std::size_t n)
        requires(kKanaScore == 0)
    {
        return ScoreEucKernel(in, i, n, score);
    }
    std::uint64_t score = 0;
};

// Half-width katakana count in Shift JIS, where they are common, but not in EUC-JP.
using SjisScorer = Scorer<1>;
using EucScorer = Scorer<0>;

}  // namespace platform
