// Sizes at the edge of what 32 bits describe: the size pass counts in 64 bits and answers 0
// for an output that does not fit, instead of a wrapped, too small size.
#include <gtest/gtest.h>

#include <cstdint>

#include "encswap_plugin.h"
#include "repeated_mapping.h"

namespace {

using namespace encswap_test;

uint32_t SizeFor(uint32_t function, const RepeatedMapping& input) {
    ConvertRequest request{};
    request.size = sizeof request;
    request.input = input.data();
    request.inputLength = static_cast<uint32_t>(input.size());
    request.functionIndex = function;
    request.tablePath = "";
    return Encswap().getBufferSize(&request);
}

TEST(EncswapLimits, OutputBeyondFourGigabytesGetsNoSize) {
    // 1 GiB of half-width katakana followed by a letter: four output bytes per input byte
    // in JIS (ESC ( I, kana, ESC ( B, letter), 4 GiB in all.
    const RepeatedMapping kanaAndLetter(
        "\xB1"
        "a",
        std::size_t{1} << 30);
    if (!kanaAndLetter.ok()) {
        GTEST_SKIP() << "cannot map a large input";
    }
    EXPECT_EQ(SizeFor(kSjisToJis, kanaAndLetter), 0u);
    // Read as JIS in ASCII mode the text is copied: exactly its own size.
    EXPECT_EQ(SizeFor(kJisToSjis, kanaAndLetter), 1u << 30);
}

}  // namespace
