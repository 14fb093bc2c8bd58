// Decoding: skipped bytes, the first "=" ending the data, incomplete final groups and the
// size that covers exactly what is written.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base64_plugin.h"
#include "support/sample_text.h"
#include "support/temp_folder.h"

namespace {

using base64_test::Base64;
using base64_test::kDecode;
using base64_test::kEncode;

std::string Encoded(const std::string& bytes) {
    return Base64().Run(kEncode, bytes).value();
}

// `text` with CR LF after every `width` characters, as mail and PEM files break it.
std::string Broken(const std::string& text, std::size_t width) {
    std::string broken;
    for (std::size_t i = 0; i < text.size(); i += width) {
        broken += text.substr(i, width);
        broken += "\r\n";
    }
    return broken;
}

// Decoding `text` gives `bytes`, and the size pass gives exactly their number.
void ExpectDecodes(const std::string& text, const std::string& bytes, const std::string& what) {
    uint32_t size = 0;
    EXPECT_EQ(Base64().Run(kDecode, text, "", &size), bytes) << what;
    EXPECT_EQ(size, bytes.size()) << what;
}

struct Case {
    std::string text;
    std::string bytes;
};

void ExpectDecodes(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        ExpectDecodes(c.text, c.bytes, c.text);
    }
}

TEST(Base64Decode, GivesTheKnownVectorsWithTheExactSize) {
    ExpectDecodes({
        {"Zg==", "f"},
        {"Zm8=", "fo"},
        {"Zm9v", "foo"},
        {"Zm9vYg==", "foob"},
        {"Zm9vYmE=", "fooba"},
        {"Zm9vYmFy", "foobar"},
        {"+/+/", "\xFB\xFF\xBF"},
    });
}

TEST(Base64Decode, UnpaddedFinalGroupsKeepEveryByte) {
    // Without padding, n / 4 * 3 would be too small for these.
    ExpectDecodes({
        {"Zg", "f"},
        {"Zm8", "fo"},
        {"Zm9vYg", "foob"},
        {"Zm9vYmE", "fooba"},
        {"Zm9vYmFy\r\nZm8", "foobarfo"},
    });
}

TEST(Base64Decode, TextThatDecodesToNothingIsLeftAlone) {
    for (const std::string text : {"Z", "====", "=Zm9v", "\r\n", "!!!!", "Z\r\n=", "\x82\xa0"}) {
        uint32_t size = 99;
        EXPECT_FALSE(Base64().Run(kDecode, text, "", &size).has_value()) << text;
        EXPECT_EQ(size, 0u) << text;
    }
}

TEST(Base64Decode, StopsAtTheFirstPaddingCharacterWhereverItStands) {
    ExpectDecodes({
        {"Zm9v=YmFy", "foo"},
        {"Zm9vYg==Zm9v", "foob"},
        {"Zm9vY=mFy", "foo"},  // one character before "=" gives no byte
        {"Zm=9vYmFy", "f"},
        {"Zm9vYmFy\r\n=\r\nZm9v", "foobar"},
    });
}

TEST(Base64Decode, SkipsEveryByteOutsideTheAlphabet) {
    const std::string bytes = testing_support::JapaneseText(4000);
    const std::string text = Encoded(bytes);
    // Junk of every kind at irregular places, so that groups of four are split every way.
    const std::string junk[] = {" ",    "\t", "\r\n", "-",     "\x82\xa0", std::string(1, '\0'),
                                "\xFF", "*~", ".",    "\n\n\n"};
    std::string noisy;
    for (std::size_t i = 0, k = 0; i < text.size(); ++k) {
        const std::size_t run = 1 + (k * 7) % 13;
        noisy += text.substr(i, run);
        noisy += junk[k % std::size(junk)];
        i += run;
    }
    ExpectDecodes(noisy, bytes, "junk between the characters");
}

TEST(Base64Decode, EveryByteValueOutsideTheAlphabetIsSkipped) {
    const std::string alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/=";
    std::string others;
    for (int c = 0; c < 256; ++c) {
        if (alphabet.find(static_cast<char>(c)) == std::string::npos) {
            others += static_cast<char>(c);
        }
    }
    ASSERT_EQ(others.size(), 256u - 65u);
    const std::string bytes = testing_support::JapaneseText(3000);
    const std::string text = Encoded(bytes);
    std::string noisy;
    for (std::size_t i = 0; i < text.size(); ++i) {
        noisy += text[i];
        noisy += others[i % others.size()];
    }
    ExpectDecodes(others + noisy, bytes, "every other byte value");
}

TEST(Base64Decode, LineBreaksEveryFewCharactersChangeNothing) {
    const std::string bytes = testing_support::JapaneseText(20000) + "\x01\xFE";
    const std::string text = Encoded(bytes);
    for (const std::size_t width : {76u, 64u, 75u, 1u, 2u, 3u, 5u}) {
        ExpectDecodes(Broken(text, width), bytes, "lines of " + std::to_string(width));
    }
}

TEST(Base64Decode, MailStyleTextRoundTripsThroughBothFunctions) {
    const std::string bytes = testing_support::JapaneseText(64 * 1024);
    const std::string text = Broken(Encoded(bytes), 76);
    ASSERT_EQ(text.substr(76, 2), "\r\n");
    const auto decoded = Base64().Run(kDecode, text);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(*decoded, bytes);
    EXPECT_EQ(Base64().Run(kEncode, *decoded), Encoded(bytes));
}

}  // namespace

namespace {

TEST(Base64Decode, ShippedSamplesDecodeAndEncodeBackToTheirText) {
    const std::string folder = std::string(POLYSHIFT_SOURCE_DIR) + "/examples/base64/";
    for (const char* name : {"memo.txt", "attachment.b64"}) {
        std::string text = testing_support::ReadFile(folder + name);
        const auto bytes = Base64().Run(kDecode, text);
        ASSERT_TRUE(bytes.has_value()) << name;
        std::erase_if(text, [](char c) { return c == '\r' || c == '\n'; });
        EXPECT_EQ(Base64().Run(kEncode, *bytes), text) << name;
    }
}

}  // namespace
