// base64's answers to the host's questions, and its refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "base64_plugin.h"

namespace {

using base64_test::Base64;

TEST(Base64Contract, AnswersVersionCountTitlesAndTableUse) {
    const auto& p = Base64();
    EXPECT_EQ(p.getVersion(), 0x01000001u);
    EXPECT_EQ(p.getCount(), 2u);
    EXPECT_EQ(p.TitleUtf8(0), "base64エンコード");
    EXPECT_EQ(p.TitleUtf8(1), "base64デコード");
    EXPECT_EQ(p.getTitle(2), nullptr);
    for (uint32_t i = 0; i < 3; ++i) {
        EXPECT_EQ(p.isUseTable(i), 0u);
    }
    EXPECT_EQ(p.regExp, nullptr);
}

TEST(Base64Contract, RefusesNullRequestsAndUnknownFunctions) {
    const auto& p = Base64();
    EXPECT_EQ(p.getBufferSize(nullptr), 0u);
    EXPECT_EQ(p.convert(nullptr), 0u);
    const unsigned char in[] = "Zm9v";
    unsigned char out[8] = {};
    ConvertRequest request{sizeof(ConvertRequest), in, 4, out, 8, 2, "", 0, 0, 0};
    EXPECT_EQ(p.getBufferSize(&request), 0u);
    EXPECT_EQ(p.convert(&request), 0u);
    request.functionIndex = 0xFFFFFFFFu;
    EXPECT_EQ(p.getBufferSize(&request), 0u);
    EXPECT_EQ(p.convert(&request), 0u);
}

TEST(Base64Contract, EmptyInputHasNothingToDoForEitherFunction) {
    for (uint32_t f = 0; f < 2; ++f) {
        uint32_t size = 99;
        EXPECT_FALSE(Base64().Run(f, "", "", &size).has_value()) << f;
        EXPECT_EQ(size, 0u) << f;
    }
}

TEST(Base64Contract, RefusesAnOutputBufferSmallerThanTheResult) {
    const auto& p = Base64();
    const unsigned char text[] = "Zm9vYmFy";  // "foobar"
    const unsigned char bytes[] = "foobar";
    struct Case {
        uint32_t function;
        const unsigned char* input;
        uint32_t inputLength;
        uint32_t size;
    };
    for (const Case& c : {Case{0, bytes, 6, 8}, Case{1, text, 8, 6}}) {
        // Guard bytes after the short buffer must survive.
        unsigned char out[16];
        std::fill(std::begin(out), std::end(out), 0xEE);
        ConvertRequest request{
            sizeof(ConvertRequest), c.input, c.inputLength, out, 0, c.function, "", 0, 0, 0};
        ASSERT_EQ(p.getBufferSize(&request), c.size);
        request.outputCapacity = c.size - 1;
        EXPECT_EQ(p.convert(&request), 0u) << c.function;
        for (std::size_t i = c.size - 1; i < sizeof out; ++i) {
            EXPECT_EQ(out[i], 0xEE) << "function " << c.function << " wrote byte " << i;
        }
    }
}

}  // namespace
