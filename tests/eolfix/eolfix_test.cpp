// eolfix through its entry points, as the host loads and calls it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/plugin_under_test.h"
#include "support/sample_text.h"

namespace {

using testing_support::PluginUnderTest;

const PluginUnderTest& Eolfix() {
    return testing_support::SharedPlugin("eolfix");
}

TEST(EolfixContract, EmptyInputHasNothingToDo) {
    uint32_t size = 99;
    EXPECT_FALSE(Eolfix().Run(0, "", "", &size).has_value());
    EXPECT_EQ(size, 0u);
}

struct BreakCase {
    std::string input;
    std::string crlf, cr, lf;
};

TEST(EolfixConversion, RewritesEveryKindOfBreakAndReportsTheExactSize) {
    const std::vector<BreakCase> cases = {
        {"plain text", "plain text", "plain text", "plain text"},
        {"a\rb\nc\r\n", "a\r\nb\r\nc\r\n", "a\rb\rc\r", "a\nb\nc\n"},
        {"a\rb\nc\r\n", "a\r\nb\r\nc\r\n", "a\rb\rc\r", "a\nb\nc\n"},
        {"ends in cr\r", "ends in cr\r\n", "ends in cr\r", "ends in cr\n"},
        {"\r\r\n", "\r\n\r\n", "\r\r", "\n\n"},    // CR CR LF: two breaks
        {"\n\r", "\r\n\r\n", "\r\r", "\n\n"},      // LF CR: two breaks
        {"\r\n\r\n", "\r\n\r\n", "\r\r", "\n\n"},  // CR LF CR LF: two breaks
        {"\r", "\r\n", "\r", "\n"},
        {"\n", "\r\n", "\r", "\n"},
        {"\r\r\r", "\r\n\r\n\r\n", "\r\r\r", "\n\n\n"},
        {std::string("a\0b\r", 4), std::string("a\0b\r\n", 5), std::string("a\0b\r", 4),
         std::string("a\0b\n", 4)},
    };
    for (const auto& c : cases) {
        const std::string* expected[] = {&c.crlf, &c.cr, &c.lf};
        for (uint32_t f = 0; f < 3; ++f) {
            uint32_t size = 0;
            const auto out = Eolfix().Run(f, c.input, "", &size);
            ASSERT_TRUE(out.has_value()) << f;
            EXPECT_EQ(*out, *expected[f]) << "function " << f;
            EXPECT_EQ(size, expected[f]->size()) << "function " << f;
        }
    }
}

TEST(EolfixConversion, SevenBytesBecomeNineForWindowsAndSixForUnix) {
    uint32_t size = 0;
    EXPECT_EQ(Eolfix().Run(0, "a\rb\nc\r\n", "", &size), "a\r\nb\r\nc\r\n");
    EXPECT_EQ(size, 9u);
    EXPECT_EQ(Eolfix().Run(2, "a\rb\nc\r\n", "", &size), "a\nb\nc\n");
    EXPECT_EQ(size, 6u);
}

TEST(EolfixConversion, JapaneseTextKeepsItsCharactersAndRoundTrips) {
    const std::string windows = testing_support::JapaneseText(64 * 1024, "\r\n");
    EXPECT_EQ(Eolfix().Run(0, windows), windows);
    const auto unix = Eolfix().Run(2, windows);
    ASSERT_TRUE(unix.has_value());
    EXPECT_EQ(unix->find('\r'), std::string::npos);
    EXPECT_EQ(Eolfix().Run(0, *unix), windows);
    const auto mac = Eolfix().Run(1, *unix);
    ASSERT_TRUE(mac.has_value());
    EXPECT_EQ(Eolfix().Run(0, *mac), windows);
}

// The rule as a byte-at-a-time state machine with a "CR pending" flag, to check the block-wise
// conversion against on generated texts.
std::string ReferenceConversion(const std::string& in, const std::string& lineBreak) {
    std::string out;
    bool crPending = false;
    for (const char c : in) {
        if (c == '\n') {
            out += lineBreak;
            crPending = false;
        } else if (c == '\r') {
            if (crPending) {
                out += lineBreak;
            }
            crPending = true;
        } else {
            if (crPending) {
                out += lineBreak;
                crPending = false;
            }
            out += c;
        }
    }
    if (crPending) {
        out += lineBreak;
    }
    return out;
}

TEST(EolfixConversion, AgreesWithTheByteRuleOnGeneratedTexts) {
    const std::string breaks[] = {"\r\n", "\r", "\n"};
    uint32_t state = 7;
    for (int round = 0; round < 300; ++round) {
        // Lengths around the 16-byte blocks, dense and sparse break bytes, all byte values.
        const std::size_t length = round < 100 ? round : 16 * (round % 40) + round % 17;
        const unsigned density = 2 + round % 30;
        std::string text;
        for (std::size_t i = 0; i < length; ++i) {
            state = state * 1664525u + 1013904223u;
            const unsigned pick = (state >> 8) % density;
            text += pick == 0 ? '\r' : pick == 1 ? '\n' : static_cast<char>(state >> 24);
        }
        for (uint32_t f = 0; f < 3; ++f) {
            const std::string expected = ReferenceConversion(text, breaks[f]);
            uint32_t size = 0;
            const auto out = Eolfix().Run(f, text, "", &size);
            if (text.empty()) {
                EXPECT_FALSE(out.has_value());
                continue;
            }
            ASSERT_TRUE(out.has_value());
            ASSERT_EQ(*out, expected) << "round " << round << " function " << f;
            ASSERT_EQ(size, expected.size());
        }
    }
}

}  // namespace
