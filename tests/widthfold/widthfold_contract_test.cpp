// widthfold's answers to the host: version, count, titles, sizes, refusals.
#include <gtest/gtest.h>

#include <string>

#include "widthfold_plugin.h"

namespace {

using widthfold_test::kFunctionCount;
using widthfold_test::Widthfold;

TEST(WidthfoldContract, EmptyInputRunsAndGivesAnEmptyResult) {
    for (uint32_t f = 0; f < kFunctionCount; ++f) {
        uint32_t size = 0;
        EXPECT_EQ(Widthfold().Run(f, "", "", &size), "") << f;
        EXPECT_EQ(size, 1u) << f;
    }
}

TEST(WidthfoldContract, SizesLeaveRoomForTheResultAndItsZeroByte) {
    const uint32_t expected[] = {7, 7, 4, 7, 4, 7, 4};
    for (uint32_t f = 0; f < kFunctionCount; ++f) {
        uint32_t size = 0;
        Widthfold().Run(f, "a1 ", "", &size);
        EXPECT_EQ(size, expected[f]) << f;
    }
}

TEST(WidthfoldContract, SizesThatDoNotFitThirtyTwoBitsAreZero) {
    // The size pass does not read the text; a one-byte buffer stands in for a huge one.
    const unsigned char in[1] = {'a'};
    auto sizeFor = [&](uint32_t function, uint32_t length) {
        ConvertRequest request{
            sizeof(ConvertRequest), in, length, nullptr, 0, function, "", 0, 0, 0};
        return Widthfold().getBufferSize(&request);
    };
    EXPECT_EQ(sizeFor(1, 0x7FFFFFFFu), 0xFFFFFFFFu);
    EXPECT_EQ(sizeFor(1, 0x80000000u), 0u);
    EXPECT_EQ(sizeFor(0, 0xFFFFFFFFu), 0u);
    EXPECT_EQ(sizeFor(2, 0xFFFFFFFEu), 0xFFFFFFFFu);
    EXPECT_EQ(sizeFor(2, 0xFFFFFFFFu), 0u);
}

TEST(WidthfoldContract, RefusesAnOutputBufferSmallerThanItsSize) {
    const unsigned char in[] = "12";
    unsigned char out[8];
    std::fill(std::begin(out), std::end(out), 0xEE);
    ConvertRequest request{sizeof(ConvertRequest), in, 2, out, 4, 1, "", 0, 0, 0};
    EXPECT_EQ(Widthfold().convert(&request), 0u);
    for (unsigned char c : out) {
        EXPECT_EQ(c, 0xEE);
    }
}

}  // namespace
