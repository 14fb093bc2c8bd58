// The full-width Shift JIS codes of the half-width characters: digits, Latin letters, ASCII
// symbols (space included) and half-width katakana, and the way back for the first three.
#pragma once

#include <array>
#include <cstdint>

namespace widthfold {

// The character sets that the half/full pairs of functions work on.
enum class CharSet { kDigits, kLetters, kSymbols };

struct SymbolCode {
    unsigned char half;
    std::uint16_t full;
};

inline constexpr std::array<SymbolCode, 33> kSymbols = {{
    {0x20, 0x8140}, {0x21, 0x8149}, {0x22, 0x8168}, {0x23, 0x8194}, {0x24, 0x8190}, {0x25, 0x8193},
    {0x26, 0x8195}, {0x27, 0x8166}, {0x28, 0x8169}, {0x29, 0x816A}, {0x2A, 0x8196}, {0x2B, 0x817B},
    {0x2C, 0x8143}, {0x2D, 0x817C}, {0x2E, 0x8144}, {0x2F, 0x815E}, {0x3A, 0x8146}, {0x3B, 0x8147},
    {0x3C, 0x8183}, {0x3D, 0x8181}, {0x3E, 0x8184}, {0x3F, 0x8148}, {0x40, 0x8197}, {0x5B, 0x816D},
    {0x5C, 0x818F}, {0x5D, 0x816E}, {0x5E, 0x814F}, {0x5F, 0x8151}, {0x60, 0x8165}, {0x7B, 0x816F},
    {0x7C, 0x8162}, {0x7D, 0x8170}, {0x7E, 0x8150},
}};

// Full-width code of a one-byte character of `set`, 0 when it is not in the set.
constexpr std::uint16_t FullWidthOf(CharSet set, unsigned char half) {
    switch (set) {
        case CharSet::kDigits:
            return half >= 0x30 && half <= 0x39 ? 0x8200 + half + 0x1F : 0;
        case CharSet::kLetters:
            if (half >= 0x41 && half <= 0x5A) {
                return 0x8200 + half + 0x1F;
            }
            return half >= 0x61 && half <= 0x7A ? 0x8200 + half + 0x20 : 0;
        case CharSet::kSymbols:
            for (const SymbolCode& s : kSymbols) {
                if (s.half == half) {
                    return s.full;
                }
            }
            return 0;
    }
    return 0;
}

// Per set: the full-width code of every byte (0 for bytes outside the set), and the
// half-width byte of every code with lead byte 0x81 or 0x82 (0 for codes outside the set).
struct WidthTable {
    std::array<std::uint16_t, 256> full{};
    std::array<std::array<unsigned char, 256>, 2> half{};  // [lead - 0x81][trail]
};

constexpr WidthTable MakeWidthTable(CharSet set) {
    WidthTable t;
    for (unsigned b = 0; b < 256; ++b) {
        const std::uint16_t full = FullWidthOf(set, static_cast<unsigned char>(b));
        t.full[b] = full;
        if (full != 0) {
            t.half[(full >> 8) - 0x81][full & 0xFF] = static_cast<unsigned char>(b);
        }
    }
    return t;
}

inline constexpr std::array<WidthTable, 3> kWidthTables = {
    MakeWidthTable(CharSet::kDigits),
    MakeWidthTable(CharSet::kLetters),
    MakeWidthTable(CharSet::kSymbols),
};

static_assert(kWidthTables[0].full[0x31] == 0x8250 && kWidthTables[1].full[0x7A] == 0x829A);
static_assert(kWidthTables[2].half[0][0x40] == 0x20 && kWidthTables[2].half[0][0x8F] == 0x5C);

// Half-width katakana 0xA1-0xDF to full width, indexed by byte - 0xA1.
inline constexpr std::array<std::uint16_t, 63> kKatakana = {
    0x8142, 0x8175, 0x8176, 0x8141, 0x8145, 0x8392, 0x8340, 0x8342,
    0x8344, 0x8346, 0x8348, 0x8383, 0x8385, 0x8387, 0x8362,  // 0xA1-0xAF
    0x815B, 0x8341, 0x8343, 0x8345, 0x8347, 0x8349, 0x834A, 0x834C,
    0x834E, 0x8350, 0x8352, 0x8354, 0x8356, 0x8358, 0x835A, 0x835C,  // 0xB0-0xBF
    0x835E, 0x8360, 0x8363, 0x8365, 0x8367, 0x8369, 0x836A, 0x836B,
    0x836C, 0x836D, 0x836E, 0x8371, 0x8374, 0x8377, 0x837A, 0x837D,  // 0xC0-0xCF
    0x837E, 0x8380, 0x8381, 0x8382, 0x8384, 0x8386, 0x8388, 0x8389,
    0x838A, 0x838B, 0x838C, 0x838D, 0x838F, 0x8393, 0x814A, 0x814B,  // 0xD0-0xDF
};

inline constexpr unsigned char kVoicedMark = 0xDE;
inline constexpr unsigned char kSemiVoicedMark = 0xDF;
inline constexpr std::uint16_t kVoicedU = 0x8394;  // the kana u with the voiced mark

constexpr std::uint16_t KatakanaOf(unsigned char half) {
    return kKatakana[half - 0xA1];
}

// Kana that take the voiced mark (ka to to, ha to ho) and the semi-voiced mark (ha to ho).
constexpr bool TakesVoicedMark(unsigned char half) {
    return (half >= 0xB6 && half <= 0xC4) || (half >= 0xCA && half <= 0xCE);
}
constexpr bool TakesSemiVoicedMark(unsigned char half) {
    return half >= 0xCA && half <= 0xCE;
}

static_assert(KatakanaOf(0xB6) + 1 == 0x834B && KatakanaOf(0xCA) + 2 == 0x8370);
static_assert(KatakanaOf(0xDE) == 0x814A && KatakanaOf(0xDF) == 0x814B);

}  // namespace widthfold
