// The width pairs in JIS X 0208 rows and cells, the form that EUC-JP (both bytes with the top
// bit set) and JIS (7 bits, in kanji mode) write them in. They are the Shift JIS tables
// converted by the Shift JIS arithmetic, so that all three encodings fold the same characters:
// the full-width symbols lie in row 1 (0x21), the full-width digits and letters in row 3
// (0x23), the full-width katakana in row 5 and their punctuation in row 1.
#pragma once

#include <array>
#include <cstdint>

#include "width_tables.h"

namespace widthfold {

// Row and cell of a JIS X 0208 character, row << 8 | cell, each 0x21-0x7E.
using RowCell = std::uint16_t;

// The row and cell of a Shift JIS two-byte code (lead byte 0x81-0x9F or 0xE0-0xEF).
constexpr RowCell RowCellOf(std::uint16_t sjis) {
    const unsigned lead = sjis >> 8;
    const unsigned trail = sjis & 0xFF;
    const unsigned row = 2 * (lead - (lead <= 0x9F ? 0x70 : 0xB0)) - (trail < 0x9F ? 1 : 0);
    const unsigned cell = trail <= 0x7E ? trail - 0x1F : trail <= 0x9E ? trail - 0x20 : trail - 0x7E;
    return static_cast<RowCell>(row << 8 | cell);
}

static_assert(RowCellOf(0x8140) == 0x2121 && RowCellOf(0x824F) == 0x2330);
static_assert(RowCellOf(0x829A) == 0x237A && RowCellOf(0x8394) == 0x2574);
static_assert(RowCellOf(0x8ABF) == 0x3441);

inline constexpr unsigned char kSymbolRow = 0x21;
inline constexpr unsigned char kAlnumRow = 0x23;

// Per set: the row and cell of the full-width form of every ASCII byte (0 outside the set),
// and the ASCII byte of every cell of rows 1 and 3 (0 outside the set), by [row == 3][cell].
struct RowCellWidthTable {
    std::array<RowCell, 128> full{};
    std::array<std::array<unsigned char, 128>, 2> half{};
};

constexpr RowCellWidthTable MakeRowCellWidthTable(const WidthTable& sjis) {
    RowCellWidthTable t;
    for (unsigned b = 0; b < 0x80; ++b) {
        if (sjis.full[b] == 0) {
            continue;
        }
        const RowCell code = RowCellOf(sjis.full[b]);
        t.full[b] = code;
        t.half[(code >> 8) == kAlnumRow][code & 0x7F] = static_cast<unsigned char>(b);
    }
    return t;
}

inline constexpr std::array<RowCellWidthTable, 3> kRowCellWidthTables = {
    MakeRowCellWidthTable(kWidthTables[0]),
    MakeRowCellWidthTable(kWidthTables[1]),
    MakeRowCellWidthTable(kWidthTables[2]),
};

static_assert(kRowCellWidthTables[2].full[' '] == 0x2121);
static_assert(kRowCellWidthTables[1].half[1][0x7A] == 'z' && kRowCellWidthTables[2].half[0][0x6F] == '\\');

// Half-width katakana (by Shift JIS byte - 0xA1) to full width: alone, with the voiced mark
// and with the semi-voiced mark (the last two only where the kana takes them), and u with the
// voiced mark.
struct KanaRowCellTable {
    std::array<RowCell, 63> plain{};
    std::array<RowCell, 63> voiced{};
    std::array<RowCell, 63> semiVoiced{};
    RowCell voicedU = 0;
};

constexpr KanaRowCellTable MakeKanaRowCellTable() {
    KanaRowCellTable t;
    for (unsigned b = 0xA1; b <= 0xDF; ++b) {
        const auto half = static_cast<unsigned char>(b);
        const std::uint16_t full = KatakanaOf(half);
        t.plain[b - 0xA1] = RowCellOf(full);
        t.voiced[b - 0xA1] = RowCellOf(TakesVoicedMark(half) ? full + 1 : full);
        t.semiVoiced[b - 0xA1] = RowCellOf(TakesSemiVoicedMark(half) ? full + 2 : full);
    }
    t.voicedU = RowCellOf(kVoicedU);
    return t;
}

inline constexpr KanaRowCellTable kKanaRowCells = MakeKanaRowCellTable();

static_assert(kKanaRowCells.plain[0xB6 - 0xA1] == 0x252B && kKanaRowCells.voiced[0xB6 - 0xA1] == 0x252C);
static_assert(kKanaRowCells.semiVoiced[0xCA - 0xA1] == 0x2551 && kKanaRowCells.plain[0xDE - 0xA1] == 0x212B);

// The full-width code the sound mark `mark` (0xDE, 0xDF or anything else) makes of the kana
// `kana` (0xA1-0xDF) before it, or 0 when they do not join.
constexpr RowCell JoinedKana(unsigned char kana, unsigned char mark) {
    if (mark == kVoicedMark && kana == 0xB3) {
        return kKanaRowCells.voicedU;
    }
    if (mark == kVoicedMark && TakesVoicedMark(kana)) {
        return kKanaRowCells.voiced[kana - 0xA1];
    }
    if (mark == kSemiVoicedMark && TakesSemiVoicedMark(kana)) {
        return kKanaRowCells.semiVoiced[kana - 0xA1];
    }
    return 0;
}

}  // namespace widthfold
