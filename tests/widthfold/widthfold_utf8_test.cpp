// widthfold on UTF-8 text: every function folds what NFKC folds among the characters it covers
// (except where code page 932 lacks what NFKC gives), gives what it gives on Shift JIS read
// through code page 932, and leaves the byte-order mark, other characters and malformed bytes
// as they are.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "nfkc_expectations.h"
#include "platform/text_encoding.h"
#include "platform/utf8_text.h"
#include "support/conversion_cases.h"
#include "support/sample_text.h"
#include "widthfold_plugin.h"

namespace {

using namespace std::string_literals;
using namespace widthfold_test;

// A kanji makes a short text UTF-8 without a byte-order mark.
const std::string kKanji = "漢";
const std::string kMark = "\xEF\xBB\xBF";

std::string Utf8(char32_t c) {
    if (c < 0x80) {
        return std::string(1, static_cast<char>(c));
    }
    if (c < 0x800) {
        return {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
    }
    return {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
            static_cast<char>(0x80 | (c & 0x3F))};
}

std::vector<std::string> Characters(std::string_view text) {
    std::vector<std::string> chars;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = platform::Utf8SequenceLength(text, i);
        chars.emplace_back(text.substr(i, length));
        i += length;
    }
    return chars;
}

std::vector<std::string> Entries(std::string_view list) {
    std::vector<std::string> entries;
    for (std::size_t start = 0;;) {
        const std::size_t bar = list.find('|', start);
        entries.emplace_back(list.substr(start, bar - start));
        if (bar == std::string_view::npos) {
            return entries;
        }
        start = bar + 1;
    }
}

bool Covers(uint32_t function, char c) {
    const bool digit = c >= '0' && c <= '9';
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    switch (function) {
        case kDigitsToFull:
        case kDigitsToHalf:
            return digit;
        case kLettersToFull:
        case kLettersToHalf:
            return letter;
        default:
            return !digit && !letter;
    }
}

// "" for equal texts, else where they part (whole texts would flood the log).
std::string Difference(const std::string& actual, const std::string& expected) {
    if (actual == expected) {
        return "";
    }
    std::size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) {
        ++at;
    }
    const std::size_t from = at < 12 ? 0 : at - 12;
    return "at byte " + std::to_string(at) + ": \"" + actual.substr(from, 40) + "\" instead of \"" +
           expected.substr(from, 40) + "\"";
}

std::string Fold(uint32_t function, const std::string& text) {
    return Widthfold().Run(function, text).value_or("<failed>");
}

TEST(WidthfoldUtf8, HalfToFullGivesTheFormsThatNfkcFoldsBack) {
    const auto wide = Characters(kNfkcWide);
    for (uint32_t f : {kDigitsToFull, kLettersToFull, kSymbolsToFull}) {
        for (char c = 0x20; c <= 0x7E; ++c) {
            const std::size_t k = kNfkcNarrow.find(c);
            ASSERT_NE(k, std::string_view::npos);
            const std::string expected = Covers(f, c) ? wide[k] : std::string(1, c);
            EXPECT_EQ(Fold(f, kKanji + c), kKanji + expected) << f << " " << c;
        }
    }
}

TEST(WidthfoldUtf8, FullToHalfFoldsWhatNfkcFoldsToTheFunctionsCharacters) {
    const auto wide = Characters(kNfkcWide);
    std::vector<char32_t> tried;
    for (char32_t c = 0x2010; c <= 0x2030; ++c)
        tried.push_back(c);  // curly quotes, dashes
    for (char32_t c = 0x3000; c <= 0x30FF; ++c)
        tried.push_back(c);
    for (char32_t c = 0xFF00; c <= 0xFFEF; ++c)
        tried.push_back(c);
    tried.push_back(0xA5);  // yen sign
    for (uint32_t f : {kDigitsToHalf, kLettersToHalf, kSymbolsToHalf}) {
        for (char32_t c : tried) {
            const std::string ch = Utf8(c);
            std::string expected = ch;
            for (std::size_t k = 0; k < wide.size(); ++k) {
                if (wide[k] == ch && Covers(f, kNfkcNarrow[k])) {
                    expected = std::string(1, kNfkcNarrow[k]);
                }
            }
            EXPECT_EQ(Fold(f, kKanji + ch + "x"), kKanji + expected + "x")
                << f << " U+" << std::hex << static_cast<uint32_t>(c);
        }
    }
}

// NFKC with the joins of Shift JIS: a sound mark that joins nothing stays the spacing mark ゛ or
// ゜ (code page 932 has no combining marks), and ﾜﾞ, ｦﾞ stay two characters (it has no ヷ, ヺ).
std::string JoinedAsInShiftJis(std::string nfkc) {
    const std::pair<std::string, std::string> kInstead[] = {
        {"\u3099", "゛"}, {"\u309A", "゜"}, {"ヷ", "ワ゛"}, {"ヺ", "ヲ゛"}};
    for (const auto& [from, to] : kInstead) {
        for (std::size_t at; (at = nfkc.find(from)) != std::string::npos;) {
            nfkc.replace(at, from.size(), to);
        }
    }
    return nfkc;
}

TEST(WidthfoldUtf8, KatakanaJoinTheirMarksAsNfkcDoesWhereShiftJisCan) {
    const auto alone = Entries(kNfkcKanaAlone);
    const auto voiced = Entries(kNfkcKanaVoiced);
    const auto semiVoiced = Entries(kNfkcKanaSemiVoiced);
    ASSERT_EQ(alone.size(), 63u);
    ASSERT_EQ(voiced.size(), 63u);
    ASSERT_EQ(semiVoiced.size(), 63u);
    for (char32_t c = 0xFF61; c <= 0xFF9F; ++c) {
        const std::string kana = Utf8(c);
        const std::size_t k = c - 0xFF61;
        EXPECT_EQ(Fold(kKanaToFull, kKanji + kana + "x"),
                  kKanji + JoinedAsInShiftJis(alone[k]) + "x")
            << k;
        EXPECT_EQ(Fold(kKanaToFull, kKanji + kana + "ﾞ"), kKanji + JoinedAsInShiftJis(voiced[k]))
            << k;
        EXPECT_EQ(Fold(kKanaToFull, kKanji + kana + "ﾟ"),
                  kKanji + JoinedAsInShiftJis(semiVoiced[k]))
            << k;
    }
}

// The characters whose pairs differ between the encodings: in Shift JIS 0x5C and 0x7E pair with
// ￥ and ￣, and 0x22, 0x27, 0x60 with curly quotes; in UTF-8 all five pair with their
// full-width forms.
std::string WithoutTheFiveSymbols(const std::string& text) {
    const std::vector<std::string> differ = {"\\", "~", "\"", "'",  "`",  "￥", "￣", "”",
                                             "’",  "‘", "＼", "～", "＂", "＇", "｀"};
    std::string kept;
    for (const std::string& c : Characters(text)) {
        if (std::find(differ.begin(), differ.end(), c) == differ.end()) {
            kept += c;
        }
    }
    return kept;
}

TEST(WidthfoldUtf8, GivesWhatShiftJisGivesThroughCodePage932) {
    std::string text = testing_support::JapaneseUtf8Text(64 * 1024) + std::string(kNfkcWide) +
                       std::string(kNfkcNarrow) + "\r\n";
    for (char32_t c = 0xFF61; c <= 0xFF9F; ++c) {
        text += Utf8(c) + "ﾞ" + Utf8(c) + "ﾟ" + Utf8(c) + " ";
    }
    text = WithoutTheFiveSymbols(text);
    const std::string sjis = testing_support::Sjis(text);
    ASSERT_EQ(Difference(platform::Cp932ToUtf8(sjis), text), "");
    for (uint32_t f = 0; f < kFunctionCount; ++f) {
        const auto fromSjis = Widthfold().Run(f, sjis);
        ASSERT_TRUE(fromSjis.has_value());
        EXPECT_EQ(Difference(Fold(f, text), platform::Cp932ToUtf8(*fromSjis)), "") << f;
    }
}

TEST(WidthfoldUtf8, RealTextStaysWellFormedAndFoldsBothWaysConsistently) {
    const std::string text = testing_support::JapaneseUtf8Text(256 * 1024);
    for (uint32_t toFull : {kDigitsToFull, kLettersToFull, kSymbolsToFull}) {
        const std::string full = Fold(toFull, text);
        EXPECT_TRUE(platform::IsWellFormedUtf8(full)) << toFull;
        EXPECT_EQ(Difference(Fold(toFull + 1, full), Fold(toFull + 1, text)), "") << toFull;
        EXPECT_EQ(Difference(Fold(toFull, full), full), "") << toFull;
        EXPECT_TRUE(platform::IsWellFormedUtf8(Fold(toFull + 1, text))) << toFull;
    }
    const std::string kana = Fold(kKanaToFull, text);
    EXPECT_TRUE(platform::IsWellFormedUtf8(kana));
    EXPECT_NE(kana.find("データベース"), std::string::npos);
    EXPECT_EQ(kana.find("ﾃ"), std::string::npos);
    EXPECT_EQ(Difference(Fold(kKanaToFull, kana), kana), "");
}

TEST(WidthfoldUtf8, MarkOtherCharactersAndMalformedBytesStayAsTheyWere) {
    const std::vector<testing_support::ConversionCase> cases = {
        {"mark kept", kKanaToFull, kMark + "ｶﾞ１", kMark + "ガ１"},
        {"mark kept from full width", kDigitsToHalf, kMark + "ｶﾞ１", kMark + "ｶﾞ1"},
        {"mark alone", kSymbolsToFull, kMark, kMark},
        // After the mark the text is UTF-8, Shift JIS or not: its bytes stay unless they are
        // ASCII, as Shift JIS trail bytes can be.
        {"Shift JIS after the mark", kKanaToFull, kMark + testing_support::Sjis("ﾃｽﾄ１２ガ"),
         kMark + testing_support::Sjis("ﾃｽﾄ１２ガ")},
        {"Shift JIS trail byte read as a letter", kLettersToFull, kMark + "\xC3\xBD\x82\x6F",
         kMark + "\xC3\xBD\x82ｏ"},
        {"kana last", kKanaToFull, kKanji + "ｶ", kKanji + "カ"},
        {"voiced mark last", kKanaToFull, kKanji + "ｶﾞ", kKanji + "ガ"},
        {"semi-voiced mark last", kKanaToFull, kKanji + "ﾎﾟ", kKanji + "ポ"},
        {"mark alone last", kKanaToFull, kKanji + "ﾞ", kKanji + "゛"},
        {"voiced u", kKanaToFull, kKanji + "ｳﾞ", kKanji + "ヴ"},
        {"mark cut short", kKanaToFull, kMark + "ｶ\xEF\xBE", kMark + "カ\xEF\xBE"},
        {"kana cut short", kKanaToFull, kMark + "\xEF\xBD", kMark + "\xEF\xBD"},
        {"full-width form cut short", kDigitsToHalf, kMark + "\xEF\xBC", kMark + "\xEF\xBC"},
        {"lead without continuation", kDigitsToHalf, kMark + "\xEF\xBC\x31",
         kMark + "\xEF\xBC\x31"},
        {"ASCII after a broken lead", kDigitsToFull, kMark + "\xEF\xBC\x31", kMark + "\xEF\xBC１"},
        {"stray bytes and a surrogate", kDigitsToHalf, kMark + "\x80\xFF\xED\xA0\x80１",
         kMark + "\x80\xFF\xED\xA0\x80" + "1"},
        {"ideographic space cut short", kSymbolsToHalf, kMark + "\xE3\x80", kMark + "\xE3\x80"},
        {"ideographic space", kSymbolsToHalf, kKanji + "　", kKanji + " "},
        {"zero bytes kept", kDigitsToHalf, kKanji + "１\0２"s, kKanji + "1\0"s + "2"},
        {"yen sign and overline stay", kSymbolsToHalf, kKanji + "￥￣", kKanji + "￥￣"},
        {"curly quotes stay", kSymbolsToHalf, kKanji + "“”‘’", kKanji + "“”‘’"},
        {"backslash and tilde", kSymbolsToFull, kKanji + "\\~", kKanji + "＼～"},
    };
    testing_support::ExpectConversions(Widthfold(), cases);
    // Characters outside every function's set, in every function.
    const std::string others = kKanji + "😀①㈱ｸﾞ１Ａ！" + "\xF0\x9F\x87\xAF\xF0\x9F\x87\xB5";
    const std::string expected[] = {
        kKanji + "😀①㈱グ１Ａ！", kKanji + "😀①㈱ｸﾞ１Ａ！", kKanji + "😀①㈱ｸﾞ1Ａ！",
        kKanji + "😀①㈱ｸﾞ１Ａ！", kKanji + "😀①㈱ｸﾞ１A！",  kKanji + "😀①㈱ｸﾞ１Ａ！",
        kKanji + "😀①㈱ｸﾞ１Ａ!",
    };
    for (uint32_t f = 0; f < kFunctionCount; ++f) {
        EXPECT_EQ(Fold(f, others), expected[f] + "\xF0\x9F\x87\xAF\xF0\x9F\x87\xB5") << f;
    }
}

TEST(WidthfoldUtf8, SizesBoundTheUtf8Results) {
    const std::string text = kKanji + "1a!";  // six bytes
    const uint32_t sizes[] = {13, 19, 7, 19, 7, 19, 7};
    for (uint32_t f = 0; f < kFunctionCount; ++f) {
        uint32_t size = 0;
        Widthfold().Run(f, text, "", &size);
        EXPECT_EQ(size, sizes[f]) << f;
    }
    // An output buffer below 3 x n + 1 (which the size pass gives only where it fits 32 bits)
    // is used when the result fits it, and refused untouched otherwise.
    auto convert = [&](uint32_t capacity, std::string& out) {
        out.assign(32, '#');
        ConvertRequest request{sizeof(ConvertRequest),
                               reinterpret_cast<const unsigned char*>(text.data()),
                               static_cast<uint32_t>(text.size()),
                               reinterpret_cast<unsigned char*>(out.data()),
                               capacity,
                               kDigitsToFull,
                               "",
                               0,
                               0,
                               0};
        const uint32_t ok = Widthfold().convert(&request);
        out.resize(ok != 0 ? request.outputLength : out.size());
        return ok;
    };
    std::string out;
    EXPECT_EQ(convert(9, out), 1u);
    EXPECT_EQ(out, kKanji + "１a!");
    EXPECT_EQ(convert(8, out), 0u);
    EXPECT_EQ(out, std::string(32, '#'));
}

}  // namespace
