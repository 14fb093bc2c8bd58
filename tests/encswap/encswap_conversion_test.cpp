// encswap's conversions on short texts: the worked examples, detection, JIS mode switches,
// incomplete characters and zero bytes. Every case also checks that the size pass reports
// exactly the length written.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "encswap_plugin.h"
#include "support/conversion_cases.h"

namespace {

using namespace std::string_literals;
using namespace encswap_test;

// Mode switches as they appear in the tables below.
#define KANJI "\x1b$B"
#define ASCII "\x1b(B"
#define KANA "\x1b(I"

// The size pass reports the exact length, and 1 for an empty result.
void ExpectConversions(const std::vector<testing_support::ConversionCase>& cases) {
    testing_support::ExpectConversions(Encswap(), cases, [](const std::string& expected) {
        return expected.empty() ? 1u : static_cast<uint32_t>(expected.size());
    });
}

TEST(EncswapConversion, PlainAsciiPassesEveryFunctionUnchanged) {
    const std::string ascii = "Hello, world!\r\n\t~\\{}[]|\x7f\x01\n";
    for (uint32_t f = 0; f < kFunctionCount; ++f) {
        EXPECT_EQ(Encswap().Run(f, ascii), ascii) << f;
    }
}

TEST(EncswapConversion, WorkedExamples) {
    ExpectConversions({
        {"kanji and CR LF to JIS", kSjisToJis, "\x8a\xbf\r\n", KANJI "4A" ASCII "\r\n"},
        {"kanji and CR LF to EUC", kSjisToEuc, "\x8a\xbf\r\n", "\xb4\xc1\r\n"},
        {"kana to JIS", kSjisToJis, "\xb1", KANA "1" ASCII},
        {"kana to EUC", kSjisToEuc, "\xb1", "\x8e\xb1"},
        {"kana, kanji, letter to JIS", kSjisToJis,
         "\xb1\x8a\xbf"
         "a",
         KANA "1" KANJI "4A" ASCII "a"},
        {"row 0x5E from JIS", kJisToSjis, KANJI "^!^~" ASCII, "\x9f\x9f\x9f\xfc"},
        {"row 0x5E to JIS", kSjisToJis, "\x9f\x9f\x9f\xfc", KANJI "^!^~" ASCII},
        {"EUC kanji to Shift JIS", kEucToSjis, "\xb4\xc1\r\n", "\x8a\xbf\r\n"},
        {"EUC kanji to JIS", kEucToJis, "\xb4\xc1\r\n", KANJI "4A" ASCII "\r\n"},
        {"JIS kanji to EUC", kJisToEuc, KANJI "4A" ASCII "\r\n", "\xb4\xc1\r\n"},
    });
}

TEST(EncswapConversion, HalfWidthKatakanaInEveryEncoding) {
    ExpectConversions({
        {"SO kana SI", kJisToSjis,
         "\x0e"
         "16\x0f"
         "a",
         "\xb1\xb6"
         "a"},
        {"ESC ( I kana ESC ( B", kJisToSjis, KANA "16" ASCII "a",
         "\xb1\xb6"
         "a"},
        {"SO kana SI to EUC", kJisToEuc,
         "\x0e"
         "1\x0f"
         "a",
         "\x8e\xb1"
         "a"},
        {"EUC kana", kEucToSjis,
         "\x8e\xb1"
         "a",
         "\xb1"
         "a"},
        {"EUC 7-bit kana", kEucToSjis, "\x8e\x31", "\xb1"},
        {"EUC kana to JIS", kEucToJis,
         "\x8e\xb1"
         "a",
         KANA "1" ASCII "a"},
    });
}

TEST(EncswapConversion, JisReaderTakesEveryModeSwitch) {
    ExpectConversions({
        {"ESC $ @ and ESC ( J", kJisToSjis, "\x1b$@4A\x1b(Ja",
         "\x8a\xbf"
         "a"},
        {"an ESC that starts no switch is text", kJisToSjis, "a\x1b(Zb", "a\x1b(Zb"},
        {"SI ends kanji mode", kJisToSjis,
         KANJI "4A\x0f"
               "a",
         "\x8a\xbf"
         "a"},
        {"only switches", kJisToSjis, KANJI ASCII KANA "\x0f", ""},
        {"switch cut short at the end", kJisToSjis, "a\x1b$", "a\x1b$"},
    });
}

TEST(EncswapConversion, ExtensionCharactersMapOnlyBetweenShiftJisAndEuc) {
    ExpectConversions({
        {"EUC row 0x79 to IBM code", kEucToSjis, "\xf9\xa1", "\xfa\x5c"},
        {"IBM code to EUC row 0x79", kSjisToEuc, "\xfa\x5c", "\xf9\xa1"},
        {"IBM code to JIS unmapped", kSjisToJis, "\xfa\x5c", KANJI "\x93=" ASCII},
        {"JIS row 0x79 to NEC-selected code", kJisToSjis, KANJI "\x79\x21" ASCII, "\xed\x40"},
        {"last NEC-selected code", kEucToSjis, "\xfc\xfe", "\xfa\x57"},
        {"IBM code outside every range", kSjisToEuc, "\xfa\x4a", "\x93\xab"},
        {"NEC-selected code outside every range", kEucToSjis, "\xfc\xef", "\xee\xed"},
    });
}

TEST(EncswapConversion, DetectionDecidesOnTheFirstTellingByte) {
    ExpectConversions({
        {"Shift JIS stays Shift JIS", kAutoToSjis, "a\x8a\xbf", "a\x8a\xbf"},
        {"EUC to Shift JIS", kAutoToSjis, "a\xb4\xc1", "a\x8a\xbf"},
        {"JIS to Shift JIS", kAutoToSjis, KANJI "4A" ASCII, "\x8a\xbf"},
        {"leading kana taken for EUC", kAutoToSjis, "\xb1\xb2", "\x89\x51"},
        {"Shift JIS to JIS", kAutoToJis, "\x8a\xbf", KANJI "4A" ASCII},
        {"EUC to JIS", kAutoToJis, "\xb4\xc1", KANJI "4A" ASCII},
        {"JIS stays JIS", kAutoToJis, KANJI "4A" ASCII, KANJI "4A" ASCII},
        {"Shift JIS to EUC", kAutoToEuc, "\x8a\xbf", "\xb4\xc1"},
        {"JIS to EUC", kAutoToEuc, KANJI "4A" ASCII, "\xb4\xc1"},
        {"EUC stays EUC", kAutoToEuc, "\xb4\xc1", "\xb4\xc1"},
        {"0xE0 then a low byte is Shift JIS", kAutoToEuc, "\xe0\x40", "\xdf\xa1"},
        {"0xFD then a high byte is EUC", kAutoToSjis, "\xfd\xa1", "\xef\x40"},
        {"undecided pair, next byte decides", kAutoToEuc,
         "\xe0\xe0"
         "A",
         "\xe0\xe2"
         "A"},
        {"high byte at the end is Shift JIS", kAutoToEuc, "a\xe0", "a\xe0"},
        {"ESC without $ decides nothing", kAutoToEuc, "\x1b(B\x8a\xbf", "\x1b(B\xb4\xc1"},
    });
}

TEST(EncswapConversion, IncompleteCharacterAtTheEndIsKept) {
    ExpectConversions({
        {"Shift JIS to EUC", kSjisToEuc, "a\x8a", "a\x8a"},
        {"Shift JIS to JIS", kSjisToJis, "a\x8a", "a" KANJI "\x8a" ASCII},
        {"EUC to Shift JIS", kEucToSjis, "a\xb4", "a\xb4"},
        {"EUC kana byte alone", kEucToSjis, "a\x8e", "a\x8e"},
        {"EUC to JIS", kEucToJis, "a\xb4", "a" KANJI "\xb4" ASCII},
        {"JIS half pair", kJisToSjis, KANJI "4", "4"},
        {"JIS half pair before a switch", kJisToEuc, KANJI "4" ASCII "z", "4z"},
    });
}

TEST(EncswapConversion, ZeroBytesPassThroughAndNothingAfterThemIsLost) {
    ExpectConversions({
        {"ASCII", kSjisToJis, "a\0b"s, "a\0b"s},
        {"between kanji to EUC", kSjisToEuc, "\x8a\xbf\0\x8a\xbf"s, "\xb4\xc1\0\xb4\xc1"s},
        {"between kanji to JIS", kSjisToJis, "\x8a\xbf\0\x8a\xbf"s,
         KANJI "4A" ASCII "\0"s KANJI "4A" ASCII},
        {"in JIS kanji mode", kJisToSjis,
         KANJI "4A\0"s
               "4A" ASCII,
         "\x8a\xbf\0\x8a\xbf"s},
        {"in JIS kana mode", kJisToEuc,
         "\x0e"
         "1\0"s
         "1",
         "\x8e\xb1\0\x8e\xb1"s},
        {"after a lead byte", kSjisToEuc, "\x8a\0\x8a\xbf"s, "\x8a\0\xb4\xc1"s},
        {"after a lead byte to JIS", kSjisToJis, "\x8a\0"s, KANJI "\x8a" ASCII "\0"s},
        {"after an EUC kana byte", kEucToSjis, "\x8e\0\x8e\xb1"s, "\x8e\0\xb1"s},
        {"detection looks past it", kAutoToEuc, "a\0\x8a\xbf"s, "a\0\xb4\xc1"s},
    });
}

TEST(EncswapConversion, JisOutputMayExceedThreeTimesTheInput) {
    ExpectConversions({
        {"one kanji", kSjisToJis, "\x8a\xbf", KANJI "4A" ASCII},
        {"kana and letter", kSjisToJis,
         "\xb1"
         "a",
         KANA "1" ASCII "a"},
        {"EUC kanji", kEucToJis, "\xb4\xc1", KANJI "4A" ASCII},
        {"EUC kana alternating with ASCII", kEucToJis,
         "\x8e\xb1"
         "a\x8e\xb1",
         KANA "1" ASCII "a" KANA "1" ASCII},
    });
}

}  // namespace
