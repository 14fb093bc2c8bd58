// widthfold on EUC-JP, JIS and UTF-16 text: every function folds the text in its own encoding
// as it folds the same text in Shift JIS (EUC-JP, JIS) or UTF-8 (UTF-16), and writes the result
// in the text's encoding (text_forms.h writes the expectations). Then the edges of each form:
// escape sequences at the ends and between changed characters, SO and SI, three-byte EUC-JP
// characters, byte-order marks, surrogates and odd lengths.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/text_encoding.h"
#include "platform/text_form.h"
#include "support/character_pieces.h"
#include "support/conversion_cases.h"
#include "support/sample_text.h"
#include "text_forms.h"
#include "widthfold_plugin.h"

namespace {

using namespace std::string_literals;
using namespace widthfold_test;
using platform::TextForm;

const std::string kUtf8Mark = "\xEF\xBB\xBF";

std::string Fold(uint32_t function, const std::string& text) {
    return Widthfold().Run(function, text).value_or("<failed>");
}

TextForm FormOf(const std::string& text) {
    return platform::DetectTextForm(reinterpret_cast<const unsigned char*>(text.data()),
                                    text.size());
}

// "" for equal texts, else where they part, in hexadecimal.
std::string Difference(const std::string& actual, const std::string& expected) {
    if (actual == expected) {
        return "";
    }
    std::size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) {
        ++at;
    }
    auto hex = [&](const std::string& s) {
        std::string h;
        for (std::size_t i = at < 8 ? 0 : at - 8; i < s.size() && i < at + 16; ++i) {
            static const char kDigits[] = "0123456789ABCDEF";
            const auto c = static_cast<unsigned char>(s[i]);
            h += i == at ? "[" : " ";
            h += kDigits[c >> 4];
            h += kDigits[c & 15];
        }
        return h;
    };
    return "at byte " + std::to_string(at) + " of " + std::to_string(expected.size()) + ":" +
           hex(actual) + " instead of" + hex(expected);
}

// UTF-8 characters that code page 932 holds, in runs of one kind: ASCII of every set and
// line breaks, half-width katakana with and without sound marks (lone marks too), their
// full-width forms, kanji and kana, other symbols of row 1 and 13. Every text begins with a
// kanji and ◇ (whose EUC-JP code 0xA1FE Shift JIS cannot read) and has a line break at least
// every 40 characters, as the detection of EUC-JP, JIS and UTF-16 without a mark wants
// texts that leave no doubt.
std::string RandomText(std::mt19937& random, std::size_t count) {
    static const std::vector<std::vector<std::string>> kKinds = {
        {"a", "Z", "q", "5", "0", "9", " ", "!", "~", "\\", "\"", "'", "`", "{", "@", "-", "."},
        {"ｶ", "ﾞ", "ﾟ", "ｶﾞ", "ﾊﾟ", "ｳﾞ", "ｱﾞ", "ｰ", "｡", "ﾄ", "ﾎﾟ", "ﾝ", "ｦ"},
        {"０", "９", "Ａ", "ｚ", "！", "　", "＼", "～", "＄", "（", "＠", "｛", "￥", "”"},
        {"漢", "字", "あ", "ア", "ガ", "ー", "、", "。", "語", "表", "ヴ"},
        {"①", "㈱", "≒", "¬", "Ⅲ", "◇"},
    };
    std::string text = "漢◇";
    std::size_t sinceBreak = 0;
    while (count > 0) {
        const auto& kind = kKinds[random() % kKinds.size()];
        for (std::size_t run = 1 + random() % 30; run > 0 && count > 0; --run, --count) {
            text += kind[random() % kind.size()];
            if (++sinceBreak == 40 || random() % 25 == 0) {
                text += "\r\n";
                sinceBreak = 0;
            }
        }
    }
    return text;
}

struct Form {
    const char* name;
    TextForm detected;
    std::string (*write)(const std::string& utf8);
};

std::string AsEuc(const std::string& utf8) {
    return SjisToEuc(testing_support::Sjis(utf8));
}
std::string AsJis(const std::string& utf8) {
    return SjisToJis(testing_support::Sjis(utf8));
}
std::string AsJisShiftOut(const std::string& utf8) {
    return SjisToJis(testing_support::Sjis(utf8), KanaSwitch::kShiftOut);
}
std::string AsUtf16Le(const std::string& utf8) {
    return Utf16Bytes(utf8, false, true);
}
std::string AsUtf16Be(const std::string& utf8) {
    return Utf16Bytes(utf8, true, true);
}
std::string AsBareUtf16Le(const std::string& utf8) {
    return Utf16Bytes(utf8, false, false);
}
std::string AsBareUtf16Be(const std::string& utf8) {
    return Utf16Bytes(utf8, true, false);
}

// EUC-JP and JIS give the Shift JIS result, UTF-16 the UTF-8 result, in their own form.
std::string Expected(const Form& form, uint32_t function, const std::string& utf8) {
    if (form.write == &AsEuc || form.write == &AsJis || form.write == &AsJisShiftOut) {
        const std::string sjis = Fold(function, testing_support::Sjis(utf8));
        return form.write == &AsEuc ? SjisToEuc(sjis)
               : form.write == &AsJis
                   ? SjisToJis(sjis)
                   : SjisToJis(sjis, KanaSwitch::kShiftOut);
    }
    const std::string folded = Fold(function, kUtf8Mark + utf8);
    EXPECT_EQ(folded.substr(0, 3), kUtf8Mark);
    return form.write(folded.substr(3));
}

const Form kForms[] = {
    {"EUC-JP", TextForm::kEuc, &AsEuc},
    {"JIS", TextForm::kJis, &AsJis},
    {"JIS with SO and SI", TextForm::kJis, &AsJisShiftOut},
    {"UTF-16LE", TextForm::kUtf16Le, &AsUtf16Le},
    {"UTF-16BE", TextForm::kUtf16Be, &AsUtf16Be},
    {"UTF-16LE without a mark", TextForm::kUtf16LeBare, &AsBareUtf16Le},
    {"UTF-16BE without a mark", TextForm::kUtf16BeBare, &AsBareUtf16Be},
};

TEST(WidthfoldEncodings, EveryFormFoldsAsShiftJisOrUtf8Folds) {
    std::mt19937 random(3003);
    for (int round = 0; round < 60; ++round) {
        // Short texts go character by character, long ones block by block.
        const std::string text = RandomText(random, round % 3 == 0 ? 20 + round : 300 + 40 * round);
        for (const Form& form : kForms) {
            // UTF-16 without a mark needs a longer text, with four line breaks, to be taken for it.
            const bool bare = form.detected == TextForm::kUtf16LeBare ||
                              form.detected == TextForm::kUtf16BeBare;
            if (bare && text.size() < 600) {
                continue;
            }
            const std::string input = form.write(text);
            ASSERT_EQ(FormOf(input), form.detected) << form.name << " round " << round;
            for (uint32_t f = 0; f < kFunctionCount; ++f) {
                ASSERT_EQ(Difference(Fold(f, input), Expected(form, f, text)), "")
                    << form.name << " round " << round << " function " << f;
            }
        }
    }
}

void ExpectFolds(const std::vector<testing_support::ConversionCase>& cases) {
    for (const auto& c : cases) {
        EXPECT_NE(FormOf(c.input), TextForm::kSjis) << c.what;
        EXPECT_EQ(Difference(Fold(c.function, c.input), c.expected), "") << c.what;
    }
}

const std::string kKanjiJis = "\x1B$B4A\x1B(B";  // 漢: makes a short text JIS

TEST(WidthfoldEncodings, JisKeepsItsEscapeSequencesWellFormed) {
    ExpectFolds({
        {"escapes at both ends dropped with the kanji", kLettersToHalf, "\x1B$B#A#B\x1B(B", "AB"},
        {"an unclosed kanji run", kLettersToHalf, "\x1B$B#A#B", "AB"},
        {"kanji after a folded one", kDigitsToHalf, "\x1B$B#04A\x1B(B", "0\x1B$B4A\x1B(B"},
        {"folded last before a line break", kDigitsToHalf, "\x1B$B4A#1\x1B(B\r\n",
         "\x1B$B4A\x1B(B1\r\n"},
        {"a digit at the end joins the kanji run", kDigitsToFull, kKanjiJis + "1",
         "\x1B$B4A#1\x1B(B"},
        {"a digit joins the kanji before it", kDigitsToFull, "\x1B$B4A\x1B(B12\x1B$B4A\x1B(B",
         "\x1B$B4A#1#24A\x1B(B"},
        {"the text's own forms", kDigitsToFull, "\x1B$@4A\x1B(J1",
         "\x1B$@4A#1\x1B(J"},
        {"its forms for a run of its own", kDigitsToFull, "1\x1B$@4A\x1B(J",
         "\x1B$@#14A\x1B(J"},
        {"nothing folds: the text as it was, redundant escapes too", kLettersToHalf,
         "\x1B$B\x1B$B4A\x1B(B\x1B(Babc\x1B$B", "\x1B$B\x1B$B4A\x1B(B\x1B(Babc\x1B$B"},
        {"a lone byte in kanji mode at the end", kDigitsToHalf, "\x1B$B#0#", "0\x1B$B#"},
        {"an ESC that begins nothing stays apart from a folded $", kSymbolsToHalf,
         "\x1B\x1B$B!p\x1B(BB", "\x1B\x1B(B$B"},
        {"an ESC at the end", kDigitsToFull, kKanjiJis + "1\x1B", "\x1B$B4A#1\x1B(B\x1B"},
    });
}

TEST(WidthfoldEncodings, JisKanaKeepTheirForm) {
    ExpectFolds({
        {"kana run ending the text", kKanaToFull, "\x1B(I6^", "\x1B$B%,"},
        {"kana run closed", kKanaToFull, "\x1B(I6\x1B(B", "\x1B$B%+\x1B(B"},
        {"lone sound marks", kKanaToFull, "\x1B(I^_\x1B(B", "\x1B$B!+!,\x1B(B"},
        {"a mark after an escape does not join", kKanaToFull, "\x1B(I6\x1B(I^\x1B(B",
         "\x1B$B%+!+\x1B(B"},
        {"kana between kanji", kKanaToFull, "\x1B$B4A\x1B(I6^\x1B$B4A\x1B(B",
         "\x1B$B4A%,4A\x1B(B"},
        {"SO and SI", kKanaToFull, kKanjiJis + "a\x0E" "6^\x0F" "b",
         kKanjiJis + "a\x1B$B%,\x1B(Bb"},
        {"SO after a widened digit", kDigitsToFull, kKanjiJis + "1\x0E" "6\x0F",
         "\x1B$B4A#1\x0E" "6\x0F"},
        {"SI before a widened digit", kDigitsToFull, kKanjiJis + "\x0E" "6\x0F" "1",
         kKanjiJis + "\x0E" "6\x0F\x1B$B#1\x1B(B"},
        {"ESC ( I after a folded letter", kLettersToHalf, "\x1B$B#A\x1B(I6\x1B(B",
         "A\x1B(I6\x1B(B"},
        {"kana untouched by the other functions", kSymbolsToFull, "\x1B(I6\x1B(B",
         "\x1B(I6\x1B(B"},
    });
}

TEST(WidthfoldEncodings, EucJpEdges) {
    // Real text before each case makes it EUC-JP, and so does 0xFE, which Shift JIS lacks.
    const std::string kanji = SjisToEuc(testing_support::Sjis("日本語の文章◇"));
    const std::string threeByte = "\x8F\xA2\xFE";
    ExpectFolds({
        {"three-byte characters pass", kLettersToHalf, kanji + threeByte + "\xA3\xC1",
         kanji + threeByte + "A"},
        {"three-byte characters pass in kana", kKanaToFull, kanji + threeByte + "\x8E\xB6",
         kanji + threeByte + "\xA5\xAB"},
        {"kana and its mark", kKanaToFull, kanji + "\x8E\xB6\x8E\xDE", kanji + "\xA5\xAC"},
        {"lone mark", kKanaToFull, kanji + "\x8E\xDE", kanji + "\xA1\xAB"},
        {"kana ending the text", kKanaToFull, kanji + "\x8E\xCA", kanji + "\xA5\xCF"},
        {"a lone 0x8E at the end stays", kKanaToFull, kanji + "\x8E", kanji + "\x8E"},
        {"a lead at the end stays", kDigitsToHalf, kanji + "\xA3", kanji + "\xA3"},
        {"a digit after a lead is no character", kDigitsToFull, kanji + "\xA3" "1",
         kanji + "\xA3" "1"},
        {"ideographic space", kSymbolsToHalf, kanji + "\xA1\xA1", kanji + " "},
        {"backslash to yen sign", kSymbolsToFull, kanji + "\\", kanji + "\xA1\xEF"},
    });
    // Three-byte characters at every place of a block, and folding pairs after them.
    std::string text = kanji, expected = kanji;
    for (int k = 0; k < 200; ++k) {
        text += threeByte + std::string(k % 5, 'x') + "\xA3\xB1";
        expected += threeByte + std::string(k % 5, 'x') + "1";
    }
    ASSERT_EQ(FormOf(text), TextForm::kEuc);
    EXPECT_EQ(Difference(Fold(kDigitsToHalf, text), expected), "");
    EXPECT_EQ(Difference(Fold(kLettersToHalf, text), text), "");
}

TEST(WidthfoldEncodings, Utf16Edges) {
    auto le = [](const std::string& utf8) { return Utf16Bytes(utf8, false, true); };
    auto be = [](const std::string& utf8) { return Utf16Bytes(utf8, true, true); };
    ExpectFolds({
        {"mark kept", kKanaToFull, le("ｶﾞ"), le("ガ")},
        {"big-endian", kKanaToFull, be("ﾊﾟｳﾞﾞ"), be("パヴ゛")},
        {"odd byte at the end kept", kDigitsToFull, le("1") + "\x31", le("１") + "\x31"},
        {"odd byte after a kana kept", kKanaToFull, be("ｶ") + "\xFF", be("カ") + "\xFF"},
        {"surrogate pairs untouched", kDigitsToHalf, le("😀１😀"), le("😀1😀")},
        {"a lone surrogate untouched", kDigitsToHalf, "\xFF\xFE\x3D\xD8\x11\xFF",
         "\xFF\xFE\x3D\xD8\x31\x00"s},
        {"ideographic space", kSymbolsToHalf, be("　"), be(" ")},
        {"backslash and tilde", kSymbolsToFull, le("\\~"), le("＼～")},
        {"yen sign stays", kSymbolsToHalf, le("￥"), le("￥")},
        {"letters only", kLettersToFull, be("a1!"), be("ａ1!")},
        {"mark alone", kSymbolsToFull, le(""), le("")},
    });
}

// Random JIS of every kind of byte: switches of every form, lone ESC, SO and SI, zero bytes,
// 8-bit bytes, rows and cells that fold and that do not, at any place. Every function converts
// it within the size it asked for, and a second pass changes nothing: the result's switches
// are well formed and nothing that folds is left.
TEST(WidthfoldEncodings, AnyJisConvertsWithinItsSizeAndFoldsOnce) {
    const std::vector<std::string> kinds = {
        "\x1B$B", "\x1B$@", "\x1B(B", "\x1B(J", "\x1B(I", "\x0E", "\x0F", "\x1B", "\x1B$",
        "#0",     "#A",     "!!",     "!p",     "4A",     "6",      "^",    "_",    "1",
        "a",      " ",      "$",      "(",      "\r\n",   "\0",     "\xB1",  "\xFF", "%"};
    std::mt19937 random(3004);
    for (int round = 0; round < 400; ++round) {
        std::string text = kKanjiJis;
        for (std::size_t k = random() % (round % 2 == 0 ? 40 : 400); k > 0; --k) {
            text += kinds[random() % kinds.size()];
        }
        for (uint32_t f = 0; f < kFunctionCount; ++f) {
            uint32_t size = 0;
            const auto once = Widthfold().Run(f, text, "", &size);
            ASSERT_TRUE(once.has_value()) << round << " " << f;
            EXPECT_LT(once->size(), size) << round << " " << f;
            if (FormOf(*once) == TextForm::kJis) {
                EXPECT_EQ(Difference(Fold(f, *once), *once), "") << round << " " << f;
            }
        }
    }
}

TEST(WidthfoldEncodings, SizesBoundEveryResult) {
    // The longest JIS results: a change of mode at every character.
    const std::string widen = kKanjiJis + "1x1x1x1x1x1";
    const std::string narrow = "\x1B$B#04A#04A#04A#0\x1B(B";
    const std::string kana = "\x1B(I6\n6\n6\n6\x1B(B";
    for (const auto& [function, text] : {std::pair{kDigitsToFull, widen},
                                         std::pair{kDigitsToHalf, narrow},
                                         std::pair{kKanaToFull, kana}}) {
        uint32_t size = 0;
        const auto out = Widthfold().Run(function, text, "", &size);
        ASSERT_TRUE(out.has_value()) << function;
        EXPECT_LT(out->size(), size) << function;
    }
    // UTF-16 never grows.
    uint32_t size = 0;
    Widthfold().Run(kDigitsToFull, Utf16Bytes("1", false, true), "", &size);
    EXPECT_EQ(size, 5u);
}

}  // namespace
