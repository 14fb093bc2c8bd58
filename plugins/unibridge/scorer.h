// How plausible a reading of a text as Shift JIS or EUC-JP is (rule 4 in detect.h): a writer
// that keeps nothing but adds up the score of each code page 932 character read.
#pragma once

#include <cstddef>
#include <cstdint>

#include "cp932_map.h"
#include "jis_row_cell.h"
#include "writers.h"

namespace unibridge {

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

template <unsigned kKanaScore>
class Scorer {
  public:
    static constexpr bool kChecksOnly = true;

    bool Ascii(const unsigned char*, std::size_t) { return true; }
    Put Code(const Cp932Map& map, std::size_t index) {
        score += CharacterScore(map, index, kKanaScore);  // ASCII comes in runs, not here
        return Put::kDone;
    }
    std::uint64_t score = 0;
};

// Half-width katakana count in Shift JIS, where they are common, but not in EUC-JP.
using SjisScorer = Scorer<1>;
using EucScorer = Scorer<0>;

}  // namespace unibridge
