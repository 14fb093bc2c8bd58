// encswap's answers to the host: version, count, titles, table use, renaming, refusals.
#include <gtest/gtest.h>

#include <string>

#include "support/plugin_under_test.h"

namespace {

using testing_support::PluginUnderTest;

const PluginUnderTest& Encswap() {
    return testing_support::SharedPlugin("encswap");
}

TEST(EncswapContract, AnswersVersionCountTitlesAndTableUse) {
    const auto& p = Encswap();
    EXPECT_EQ(p.getVersion(), 0x01000002u);
    EXPECT_EQ(p.getCount(), 9u);
    const char* titles[] = {
        "シフトJISに変換（自動判別）",
        "JISに変換（自動判別）",
        "EUCに変換（自動判別）",
        "シフトJIS→JIS変換",
        "シフトJIS→EUC変換",
        "JIS→シフトJIS変換",
        "JIS→EUC変換",
        "EUC→シフトJIS変換",
        "EUC→JIS変換",
    };
    for (uint32_t i = 0; i < 9; ++i) {
        EXPECT_EQ(p.TitleUtf8(i), titles[i]) << i;
        EXPECT_EQ(p.isUseTable(i), 0u) << i;
    }
    EXPECT_EQ(p.getTitle(9), nullptr);
    EXPECT_EQ(p.getTitle(0xFFFFFFFFu), nullptr);
    char newPath[260] = "untouched";
    EXPECT_EQ(p.renameFile("a.txt", newPath, 4), 0u);
    EXPECT_STREQ(newPath, "untouched");
    EXPECT_EQ(p.regExp, nullptr);
}

TEST(EncswapContract, RefusesNullRequestsUnknownFunctionsAndEmptyInput) {
    const auto& p = Encswap();
    EXPECT_EQ(p.getBufferSize(nullptr), 0u);
    EXPECT_EQ(p.convert(nullptr), 0u);
    unsigned char out[16];
    const unsigned char in[] = "abc";
    ConvertRequest request{sizeof(ConvertRequest), in, 3, out, 16, 9, "", 0, 0, 0};
    EXPECT_EQ(p.getBufferSize(&request), 0u);
    EXPECT_EQ(p.convert(&request), 0u);
    for (uint32_t f = 0; f < 9; ++f) {
        uint32_t size = 99;
        EXPECT_FALSE(p.Run(f, "", "", &size).has_value()) << f;
        EXPECT_EQ(size, 0u) << f;
    }
}

TEST(EncswapContract, RefusesAnOutputBufferTooSmallWithoutWritingPastIt) {
    // ESC $ B, row/cell, ESC ( B: eight bytes from two.
    const unsigned char in[] = {0x8A, 0xBF};
    for (uint32_t capacity = 0; capacity < 8; ++capacity) {
        unsigned char out[9];
        std::fill(std::begin(out), std::end(out), 0xEE);
        ConvertRequest request{sizeof(ConvertRequest), in, 2, out, capacity, 3, "", 0, 0, 0};
        EXPECT_EQ(Encswap().convert(&request), 0u) << capacity;
        for (uint32_t i = capacity; i < sizeof out; ++i) {
            EXPECT_EQ(out[i], 0xEE) << "byte " << i << " written with capacity " << capacity;
        }
    }
}

}  // namespace
