// The UTF-8 forms of the width pairs. Half-width katakana U+FF61-U+FF9F are the Shift JIS bytes
// 0xA1-0xDF decoded, so their full-width forms are the Shift JIS table decoded through code
// page 932 (built from it at first use). Digits, letters and symbols pair ASCII 0x21-0x7E with
// U+FF01-U+FF5E, and the space with the ideographic space U+3000: the pairs that NFKC folds.
//
// That is the Shift JIS symbol table decoded, except for five symbols that mean something
// else in UTF-8. In Shift JIS 0x5C is the yen sign and 0x7E the overline, paired with ￥ and
// ￣; in UTF-8 they are the backslash and the tilde, paired with ＼ (U+FF3C) and ～ (U+FF5E),
// while ￥ (U+FFE5) and ￣ (U+FFE3) stay as they are (NFKC folds them to ¥ and a spacing
// macron, not to ASCII). The Shift JIS table pairs the quotation mark, the apostrophe and the
// grave accent with the curly quotes ” ’ ‘; in UTF-8 they pair with ＂ ＇ ｀ (U+FF02, U+FF07,
// U+FF40), so that half to full and back gives the text again and agrees with NFKC, and
// curly quotes, which are no width forms, stay as they are.
#pragma once

#include <array>
#include <cstdint>

#include "width_tables.h"

namespace widthfold {

using Utf8Code = std::array<unsigned char, 3>;  // a character of U+0800-U+FFFF

constexpr Utf8Code Utf8Of(std::uint16_t unit) {
    return {static_cast<unsigned char>(0xE0 | (unit >> 12)),
            static_cast<unsigned char>(0x80 | ((unit >> 6) & 0x3F)),
            static_cast<unsigned char>(0x80 | (unit & 0x3F))};
}

inline constexpr Utf8Code kIdeographicSpace = Utf8Of(0x3000);

// Full-width forms of ASCII lie in EF BC 81-BF and EF BD 80-9E.
inline constexpr unsigned char kFullWidthLead = 0xEF;
inline constexpr unsigned char kFullWidthSecondFirst = 0xBC;

constexpr bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Per set: the full-width form of every byte ({0, 0, 0} outside the set), and the ASCII byte
// of every character EF BC xx and EF BD xx (0 outside the set), by (second byte - 0xBC) and
// the third byte's low six bits.
struct Utf8WidthTable {
    std::array<Utf8Code, 256> full{};
    std::array<std::array<unsigned char, 64>, 2> half{};
};

constexpr Utf8WidthTable MakeUtf8WidthTable(CharSet set) {
    Utf8WidthTable t;
    for (unsigned b = 0x20; b <= 0x7E; ++b) {
        const auto half = static_cast<unsigned char>(b);
        if (FullWidthOf(set, half) == 0) {
            continue;
        }
        if (half == 0x20) {
            t.full[b] = kIdeographicSpace;
            continue;
        }
        const Utf8Code full = Utf8Of(static_cast<std::uint16_t>(0xFF01 + (half - 0x21)));
        t.full[b] = full;
        t.half[full[1] - kFullWidthSecondFirst][full[2] & 0x3F] = half;
    }
    return t;
}

inline constexpr std::array<Utf8WidthTable, 3> kUtf8WidthTables = {
    MakeUtf8WidthTable(CharSet::kDigits),
    MakeUtf8WidthTable(CharSet::kLetters),
    MakeUtf8WidthTable(CharSet::kSymbols),
};

static_assert(kUtf8WidthTables[0].full['1'] == Utf8Code{0xEF, 0xBC, 0x91});
static_assert(kUtf8WidthTables[1].half[1][0x1A] == 'z');  // ｚ EF BD 9A
static_assert(kUtf8WidthTables[2].full['~'] == Utf8Code{0xEF, 0xBD, 0x9E});
static_assert(kUtf8WidthTables[2].half[0][0x3C] == '\\');  // ＼ EF BC BC

// Half-width katakana (as their Shift JIS bytes 0xA1-0xDF, index byte - 0xA1) in UTF-8 full
// width: alone, with the voiced mark and with the semi-voiced mark (the last two only where
// TakesVoicedMark and TakesSemiVoicedMark say they join), and u with the voiced mark.
struct KanaUtf8Table {
    std::array<Utf8Code, 63> plain{};
    std::array<Utf8Code, 63> voiced{};
    std::array<Utf8Code, 63> semiVoiced{};
    Utf8Code voicedU{};
};

// Built from kKatakana through code page 932 at the first call.
const KanaUtf8Table& KanaUtf8();

// The same characters as UTF-16 units, for UTF-16 text.
struct KanaUtf16Table {
    std::array<char16_t, 63> plain{};
    std::array<char16_t, 63> voiced{};
    std::array<char16_t, 63> semiVoiced{};
    char16_t voicedU{};
};

const KanaUtf16Table& KanaUtf16();

// The Shift JIS byte of the half-width katakana whose UTF-8 form begins at p (three bytes
// readable there), or 0: EF BD A1-BF is 0xA1-0xBF, EF BE 80-9F is 0xC0-0xDF.
constexpr unsigned char HalfWidthKanaAt(const unsigned char* p) {
    if (p[0] != kFullWidthLead) {
        return 0;
    }
    if (p[1] == 0xBD && p[2] >= 0xA1 && p[2] <= 0xBF) {
        return p[2];
    }
    if (p[1] == 0xBE && p[2] >= 0x80 && p[2] <= 0x9F) {
        return static_cast<unsigned char>(p[2] + 0x40);
    }
    return 0;
}

}  // namespace widthfold
