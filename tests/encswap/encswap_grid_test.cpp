// Every row and cell of the 94 × 94 JIS X 0208 grid, one row per line, with a line of
// half-width katakana and one of ASCII: the EUC and JIS outputs are what the row/cell
// arithmetic gives, and both round trips give the Shift JIS text back. Real prose round-trips
// too.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "encswap_plugin.h"
#include "support/sample_text.h"

namespace {

using namespace encswap_test;

// Row r (0-based, JIS row 0x21 + r) lives under Shift JIS lead byte 0x81 + r / 2 (0xE0 + ...
// from row 62 on); odd JIS rows use the trail bytes 0x40-0x7E and 0x80-0x9E, even ones
// 0x9F-0xFC. Built by counting, not by the conversion formulas.
struct Grid {
    std::string sjis, euc, jis;
};

std::vector<unsigned char> TrailBytes(bool oddJisRow) {
    std::vector<unsigned char> trails;
    for (int b = 0x40; b <= 0xFC; ++b) {
        const bool odd = b < 0x9F;
        if (b != 0x7F && odd == oddJisRow) {
            trails.push_back(static_cast<unsigned char>(b));
        }
    }
    return trails;
}

Grid MakeGrid(int firstRow, int lastRow) {
    Grid g;
    for (int r = firstRow; r <= lastRow; ++r) {
        const int leadIndex = r / 2;
        const auto lead =
            static_cast<char>(leadIndex < 31 ? 0x81 + leadIndex : 0xE0 + leadIndex - 31);
        const auto trails = TrailBytes(r % 2 == 0);
        EXPECT_EQ(trails.size(), 94u);
        g.jis += "\x1b$B";
        for (int c = 0; c < 94; ++c) {
            g.sjis += lead;
            g.sjis += static_cast<char>(trails[c]);
            g.euc += static_cast<char>(0xA1 + r);
            g.euc += static_cast<char>(0xA1 + c);
            g.jis += static_cast<char>(0x21 + r);
            g.jis += static_cast<char>(0x21 + c);
        }
        g.sjis += "\r\n";
        g.euc += "\r\n";
        g.jis += "\x1b(B\r\n";
    }
    return g;
}

void AddKanaAndAsciiLines(Grid& g) {
    g.jis += "\x1b(I";
    for (int b = 0xA1; b <= 0xDF; ++b) {
        g.sjis += static_cast<char>(b);
        g.euc += "\x8e";
        g.euc += static_cast<char>(b);
        g.jis += static_cast<char>(b - 0x80);
    }
    g.jis += "\x1b(B";
    for (std::string* s : {&g.sjis, &g.euc, &g.jis}) {
        *s += "\r\n";
        for (int b = 0x20; b <= 0x7E; ++b) {
            *s += static_cast<char>(b);
        }
        *s += "\r\n";
    }
}

TEST(EncswapGrid, EveryRowAndCellConvertsByTheArithmeticAndRoundTrips) {
    Grid g = MakeGrid(0, 93);
    AddKanaAndAsciiLines(g);
    EXPECT_EQ(Encswap().Run(kSjisToEuc, g.sjis), g.euc);
    EXPECT_EQ(Encswap().Run(kSjisToJis, g.sjis), g.jis);
    EXPECT_EQ(Encswap().Run(kEucToJis, g.euc), g.jis);
    EXPECT_EQ(Encswap().Run(kJisToSjis, g.jis), g.sjis);
    EXPECT_EQ(Encswap().Run(kAutoToSjis, g.jis), g.sjis);
    EXPECT_EQ(Encswap().Run(kAutoToJis, g.sjis), g.jis);
    EXPECT_EQ(Encswap().Run(kAutoToEuc, g.sjis), g.euc);
}

TEST(EncswapGrid, EucRoundTripKeepsEveryRowButTheExtensionRows) {
    // Rows 0x79-0x7C come back at their IBM extension codes, checked below.
    for (const Grid& g : {MakeGrid(0, 0x79 - 0x22), MakeGrid(0x7D - 0x21, 93)}) {
        EXPECT_EQ(Encswap().Run(kEucToSjis, g.euc), g.sjis);
        EXPECT_EQ(Encswap().Run(kAutoToSjis, g.euc), g.sjis);
    }
    Grid kana;
    AddKanaAndAsciiLines(kana);
    EXPECT_EQ(Encswap().Run(kEucToSjis, kana.euc), kana.sjis);
}

TEST(EncswapGrid, ExtensionRowsGoToIbmCodesAndBack) {
    const Grid g = MakeGrid(0x79 - 0x21, 0x7C - 0x21);
    const auto sjis = Encswap().Run(kEucToSjis, g.euc);
    ASSERT_TRUE(sjis.has_value());
    ASSERT_EQ(sjis->size(), g.sjis.size());
    // Every NEC-selected code but 0xEEED and 0xEEEE has an IBM code 0xFA40-0xFC4B.
    int unmapped = 0;
    for (std::size_t i = 0; i + 1 < sjis->size(); i += 2) {
        if ((*sjis)[i] == '\r') {
            continue;
        }
        const unsigned code = static_cast<unsigned char>((*sjis)[i]) << 8 |
                              static_cast<unsigned char>((*sjis)[i + 1]);
        if (code < 0xFA40 || code > 0xFC4B) {
            EXPECT_TRUE(code == 0xEEED || code == 0xEEEE) << std::hex << code;
            ++unmapped;
        }
    }
    EXPECT_EQ(unmapped, 2);
    EXPECT_EQ(Encswap().Run(kSjisToEuc, *sjis), g.euc);
}

TEST(EncswapGrid, RealTextRoundTripsThroughEveryEncoding) {
    const std::string text = testing_support::JapaneseText(256 * 1024);
    const auto euc = Encswap().Run(kSjisToEuc, text);
    const auto jis = Encswap().Run(kSjisToJis, text);
    ASSERT_TRUE(euc && jis);
    EXPECT_EQ(Encswap().Run(kEucToSjis, *euc), text);
    EXPECT_EQ(Encswap().Run(kJisToSjis, *jis), text);
    EXPECT_EQ(Encswap().Run(kEucToJis, *euc), *jis);
    EXPECT_EQ(Encswap().Run(kJisToEuc, *jis), *euc);
    EXPECT_EQ(Encswap().Run(kAutoToSjis, *jis), text);
    EXPECT_EQ(Encswap().Run(kAutoToEuc, *jis), *euc);
    EXPECT_EQ(Encswap().Run(kAutoToJis, *euc), *jis);
}

}  // namespace
