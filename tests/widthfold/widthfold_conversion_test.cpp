// widthfold's conversions: the worked examples, every entry of the tables, voiced and
// semi-voiced sound marks, lead bytes without trail bytes, zero bytes and real text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/conversion_cases.h"
#include "support/sample_text.h"
#include "widthfold_plugin.h"

namespace {

using namespace std::string_literals;
using namespace widthfold_test;

void ExpectConversions(const std::vector<testing_support::ConversionCase>& cases) {
    testing_support::ExpectConversions(Widthfold(), cases);
}

TEST(WidthfoldConversion, WorkedExamples) {
    ExpectConversions({
        {"full-width 1 is not the letter P", kLettersToFull, "\x82\x50", "\x82\x50"},
        {"ka and voiced mark", kKanaToFull, "\xb6\xde", "\x83\x4b"},
        {"ha and semi-voiced mark", kKanaToFull, "\xca\xdf", "\x83\x70"},
        {"u and voiced mark", kKanaToFull, "\xb3\xde", "\x83\x94"},
        {"a and voiced mark", kKanaToFull, "\xb1\xde", "\x83\x41\x81\x4a"},
        {"voiced mark alone", kKanaToFull, "\xde", "\x81\x4a"},
        {"semi-voiced mark after ka", kKanaToFull, "\xb6\xdf", "\x83\x4a\x81\x4b"},
        {"kana as last byte", kKanaToFull, "a\xb1", "a\x83\x41"},
        {"kana untouched in other text", kKanaToFull, "abc\r\n\x82\xa0\x8a\xbf",
         "abc\r\n\x82\xa0\x8a\xbf"},
        {"kana byte as trail byte", kKanaToFull, "\x83\xb1", "\x83\xb1"},
        {"ideographic space to space", kSymbolsToHalf, "\x81\x40", " "},
        {"yen sign to backslash", kSymbolsToHalf, "\x81\x8f", "\\"},
        {"backslash to yen sign", kSymbolsToFull, "\\", "\x81\x8f"},
        {"tilde to wave", kSymbolsToFull, "~", "\x81\x50"},
        {"full-width A and z", kLettersToHalf, "\x82\x60\x82\x9a", "Az"},
        {"Greek and Cyrillic stay", kLettersToHalf, "\x83\x9f\x84\x40", "\x83\x9f\x84\x40"},
        {"digits", kDigitsToFull, "2026", "\x82\x51\x82\x4f\x82\x51\x82\x55"},
        {"digits back", kDigitsToHalf, "\x82\x51\x82\x4f\x82\x51\x82\x55", "2026"},
        {"digit after a lead byte is no character", kDigitsToFull, "\x82\x31", "\x82\x31"},
        {"letters leave digits", kLettersToFull, "a1",
         "\x82\x81"
         "1"},
    });
}

TEST(WidthfoldConversion, FullToHalfDropsLeadBytesWithoutTrailBytes) {
    for (uint32_t f : {kDigitsToHalf, kLettersToHalf, kSymbolsToHalf}) {
        ExpectConversions({
            {"lone lead byte at the end", f, "a\x82", "a"},
            {"lead byte before a line break", f, "\x82\r\n", "\r\n"},
            {"lead byte before a zero byte", f, "\x82\0x"s, "\0x"s},
        });
    }
    // The same in the middle of a long text, where the conversion goes block by block.
    const std::string filler(200, 'x');
    ExpectConversions({
        {"a trail byte that could lead stays a trail byte", kLettersToHalf, "\x88\x82\x82\x60",
         "\x88\x82"
         "A"},
        {"in a long text", kLettersToHalf, filler + "\x82\r\n\x82\x60" + filler,
         filler + "\r\nA" + filler},
        {"at a block's last byte", kLettersToHalf, std::string(63, 'x') + "\x82\n" + filler,
         std::string(63, 'x') + "\n" + filler},
    });
    ExpectConversions({
        {"half to full copies it too", kDigitsToFull, "1\x82", "\x82\x50\x82"},
    });
}

TEST(WidthfoldConversion, ZeroBytesAreKeptAndCounted) {
    ExpectConversions({
        {"digits", kDigitsToFull,
         "1\0"
         "2"s,
         "\x82\x50\0\x82\x51"s},
        {"digits back", kDigitsToHalf, "\x82\x50\0\x82\x51"s,
         "1\0"
         "2"s},
        {"kana", kKanaToFull, "\xb1\0\xb6\xde"s, "\x83\x41\0\x83\x4b"s},
        {"symbols", kSymbolsToFull, "\0 "s, "\0\x81\x40"s},
    });
}

std::string Bytes(int first, int last) {
    std::string s;
    for (int b = first; b <= last; ++b) {
        s += static_cast<char>(b);
    }
    return s;
}

TEST(WidthfoldConversion, EveryTableEntryGoesBothWays) {
    const std::string symbols =
        Bytes(0x20, 0x2F) + Bytes(0x3A, 0x40) + Bytes(0x5B, 0x60) + Bytes(0x7B, 0x7E);
    const std::string fullSymbols =
        "\x81\x40\x81\x49\x81\x68\x81\x94\x81\x90\x81\x93\x81\x95\x81\x66\x81\x69\x81\x6a"
        "\x81\x96\x81\x7b\x81\x43\x81\x7c\x81\x44\x81\x5e\x81\x46\x81\x47\x81\x83\x81\x81"
        "\x81\x84\x81\x48\x81\x97\x81\x6d\x81\x8f\x81\x6e\x81\x4f\x81\x51\x81\x65\x81\x6f"
        "\x81\x62\x81\x70\x81\x50";
    EXPECT_EQ(Widthfold().Run(kSymbolsToFull, symbols), fullSymbols);
    EXPECT_EQ(Widthfold().Run(kSymbolsToHalf, fullSymbols), symbols);

    std::string fullDigits, fullLetters;
    for (int b = 0x4F; b <= 0x58; ++b) {
        fullDigits += "\x82"s + static_cast<char>(b);
    }
    for (int b : {0x60, 0x81}) {
        for (int k = 0; k < 26; ++k) {
            fullLetters += "\x82"s + static_cast<char>(b + k);
        }
    }
    const std::string letters = Bytes('A', 'Z') + Bytes('a', 'z');
    EXPECT_EQ(Widthfold().Run(kDigitsToFull, Bytes('0', '9')), fullDigits);
    EXPECT_EQ(Widthfold().Run(kDigitsToHalf, fullDigits), Bytes('0', '9'));
    EXPECT_EQ(Widthfold().Run(kLettersToFull, letters), fullLetters);
    EXPECT_EQ(Widthfold().Run(kLettersToHalf, fullLetters), letters);
    // Each set leaves the others alone.
    EXPECT_EQ(Widthfold().Run(kDigitsToFull, letters + symbols), letters + symbols);
    EXPECT_EQ(Widthfold().Run(kLettersToHalf, fullDigits + fullSymbols), fullDigits + fullSymbols);
}

TEST(WidthfoldConversion, EveryKatakanaAndEverySoundMarkPair) {
    const unsigned kFull[] = {
        0x8142, 0x8175, 0x8176, 0x8141, 0x8145, 0x8392, 0x8340, 0x8342, 0x8344, 0x8346, 0x8348,
        0x8383, 0x8385, 0x8387, 0x8362, 0x815B, 0x8341, 0x8343, 0x8345, 0x8347, 0x8349, 0x834A,
        0x834C, 0x834E, 0x8350, 0x8352, 0x8354, 0x8356, 0x8358, 0x835A, 0x835C, 0x835E, 0x8360,
        0x8363, 0x8365, 0x8367, 0x8369, 0x836A, 0x836B, 0x836C, 0x836D, 0x836E, 0x8371, 0x8374,
        0x8377, 0x837A, 0x837D, 0x837E, 0x8380, 0x8381, 0x8382, 0x8384, 0x8386, 0x8388, 0x8389,
        0x838A, 0x838B, 0x838C, 0x838D, 0x838F, 0x8393, 0x814A, 0x814B,
    };
    auto code = [](unsigned c) {
        return std::string{static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)};
    };
    for (int b = 0xA1; b <= 0xDF; ++b) {
        const std::string kana(1, static_cast<char>(b));
        const unsigned full = kFull[b - 0xA1];
        EXPECT_EQ(Widthfold().Run(kKanaToFull, kana + "x"), code(full) + "x") << b;
        std::string voiced = code(full) + code(0x814A);
        if (b == 0xB3) {
            voiced = code(0x8394);
        } else if ((b >= 0xB6 && b <= 0xC4) || (b >= 0xCA && b <= 0xCE)) {
            voiced = code(full + 1);
        }
        EXPECT_EQ(Widthfold().Run(kKanaToFull, kana + "\xde"), voiced) << b;
        const std::string semiVoiced =
            b >= 0xCA && b <= 0xCE ? code(full + 2) : code(full) + code(0x814B);
        EXPECT_EQ(Widthfold().Run(kKanaToFull, kana + "\xdf"), semiVoiced) << b;
    }
}

TEST(WidthfoldConversion, RealTextFoldsBothWaysConsistently) {
    const std::string text = testing_support::JapaneseText(256 * 1024);
    for (uint32_t toFull : {kDigitsToFull, kLettersToFull, kSymbolsToFull}) {
        const auto full = Widthfold().Run(toFull, text);
        ASSERT_TRUE(full.has_value());
        EXPECT_EQ(Widthfold().Run(toFull + 1, *full), Widthfold().Run(toFull + 1, text)) << toFull;
        EXPECT_EQ(Widthfold().Run(toFull, *full), *full) << toFull;
    }
    const auto kana = Widthfold().Run(kKanaToFull, text);
    ASSERT_TRUE(kana.has_value());
    EXPECT_NE(kana->find(testing_support::Sjis("データベース")), std::string::npos);
    EXPECT_EQ(Widthfold().Run(kKanaToFull, *kana), *kana);
}

}  // namespace
