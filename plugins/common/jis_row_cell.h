// The arithmetic between Shift JIS codes and JIS X 0208 row/cell pairs, applied to every
// two-byte character without range checks (all results modulo 256), and the EUC form of a
// row/cell pair. Shared by the plug-ins that read or write JIS and EUC.
//
// Some plug-ins build their code several times for different processors and choose one at run
// time; these functions are therefore always inlined, so that no out-of-line copy built for one
// processor is ever called from code built for another.
#pragma once

#include <cstdint>

namespace jis {

#define JIS_INLINE [[gnu::always_inline]] constexpr

struct BytePair {
    std::uint8_t first;
    std::uint8_t second;
};

// Row/cell (j1, j2) to Shift JIS lead and trail byte.
JIS_INLINE BytePair SjisFromRowCell(std::uint8_t row, std::uint8_t cell) {
    const unsigned lead = (row + 1u) / 2u + (row <= 0x5E ? 0x70u : 0xB0u);
    unsigned trail;
    if ((row & 1u) != 0) {
        trail = cell + (cell <= 0x5F ? 0x1Fu : 0x20u);
    } else {
        trail = cell + 0x7Eu;
    }
    return {static_cast<std::uint8_t>(lead), static_cast<std::uint8_t>(trail)};
}

// Shift JIS lead and trail byte to row/cell (j1, j2).
JIS_INLINE BytePair RowCellFromSjis(std::uint8_t lead, std::uint8_t trail) {
    unsigned row = 2u * (lead - (lead <= 0x9F ? 0x70u : 0xB0u));
    if (trail < 0x9F) {
        row -= 1u;
    }
    unsigned cell;
    if (trail <= 0x7E) {
        cell = trail - 0x1Fu;
    } else if (trail <= 0x9E) {
        cell = trail - 0x20u;
    } else {
        cell = trail - 0x7Eu;
    }
    return {static_cast<std::uint8_t>(row), static_cast<std::uint8_t>(cell)};
}

// EUC bytes carry the row and the cell with the top bit set; reading EUC clears it again.
JIS_INLINE std::uint8_t EucByte(std::uint8_t rowOrCell) {
    return static_cast<std::uint8_t>(rowOrCell | 0x80u);
}
JIS_INLINE std::uint8_t SevenBit(std::uint8_t byte) {
    return static_cast<std::uint8_t>(byte & 0x7Fu);
}

#undef JIS_INLINE

static_assert(SjisFromRowCell(0x34, 0x41).first == 0x8A &&
              SjisFromRowCell(0x34, 0x41).second == 0xBF);
static_assert(RowCellFromSjis(0x8A, 0xBF).first == 0x34 &&
              RowCellFromSjis(0x8A, 0xBF).second == 0x41);

}  // namespace jis
