#include "platform/pair_tables.h"

#include "platform/cp932_map.h"
#include "platform/text_readers.h"
#include "platform/text_scorer.h"

namespace platform {

const PairTables& PairTables::Get() {
    static const PairTables tables;
    return tables;
}

PairTables::PairTables() {
    const Cp932Map& map = Cp932Map::Get();
    for (unsigned pair = 0; pair < 0x10000; ++pair) {
        const auto c = static_cast<unsigned char>(pair >> 8);
        const auto next = static_cast<unsigned char>(pair);
        if (c < 0x80) {
            // The readers copy ASCII as it stands and score nothing for it.
            eucUtf8_[pair] = 1u << 24 | c;
            sjisScores_[pair] = 0x80;
            eucScores_[pair] = 0x80;
            continue;
        }
        const std::size_t euc = c == 0x8F ? 0 : EucIndex(map, c, next);
        if (euc != 0) {
            eucUtf8_[pair] = map.Utf8(euc);
            eucScores_[pair] = static_cast<std::uint8_t>(0x80 | CharacterScore(map, euc, 0));
        }
        const std::size_t row = map.RowOf(c);
        const std::size_t sjis = row == Cp932Map::kSingle ? c : Cp932Map::Index(row, next);
        if (map.Utf8(sjis) != 0) {
            sjisScores_[pair] = static_cast<std::uint8_t>(0x80 | CharacterScore(map, sjis, 1));
        }
    }
}

}  // namespace platform
