// encswap's answers to the host: version, count, titles, table use, renaming, refusals.
#include <gtest/gtest.h>

#include <string>

#include "encswap_plugin.h"

namespace {

using namespace encswap_test;

TEST(EncswapContract, EmptyInputHasNothingToDo) {
    const auto& p = Encswap();
    for (uint32_t f = 0; f < kFunctionCount; ++f) {
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
        ConvertRequest request{
            sizeof(ConvertRequest), in, 2, out, capacity, kSjisToJis, "", 0, 0, 0};
        EXPECT_EQ(Encswap().convert(&request), 0u) << capacity;
        for (uint32_t i = capacity; i < sizeof out; ++i) {
            EXPECT_EQ(out[i], 0xEE) << "byte " << i << " written with capacity " << capacity;
        }
    }
}

}  // namespace
