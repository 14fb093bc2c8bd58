// Which form a text is taken for, and what each function then does with it: real texts in
// each of the six forms, short texts, plain ASCII, and texts already in the target form.
#include <string>

#include "platform/text_encoding.h"
#include "support/sample_text.h"
#include "unibridge_fixture.h"

namespace unibridge_test {
namespace {

class Detection : public UnibridgeTest {
  protected:
    // The sample prose of the tests and benchmarks, in UTF-8, with a few more characters that
    // every form can carry.
    static const std::string& Text() {
        static const std::string text =
            platform::Cp932ToUtf8(testing_support::JapaneseText(20000)) + "①②㈱〜—∥−￠￡￢\r\n";
        return text;
    }
};

TEST_F(Detection, RealTextsInEverySourceFormBecomeTheSameUtf8) {
    const std::string& utf8 = Text();
    const std::string expected = platform::Cp932ToUtf8(Sjis(utf8));  // the code page's forms
    const struct {
        const char* form;
        std::string text;
    } forms[] = {
        {"Shift JIS", Sjis(utf8)},
        {"EUC-JP", Euc(utf8)},
        {"JIS", Jis(utf8)},
        {"UTF-8 with a mark", std::string(kUtf8Mark) + expected},
        {"UTF-16LE", std::string(kUtf16LeMark) + Utf16Le(expected)},
        {"UTF-16BE", std::string(kUtf16BeMark) + Utf16Be(expected)},
    };
    // A text already in the target form is left as it is.
    for (const auto& form : forms) {
        EXPECT_TRUE(Convert(kToUtf8, form.text) == expected) << form.form;
        EXPECT_TRUE(Convert(kToUtf8Bom, form.text).value_or(form.text) ==
                    std::string(kUtf8Mark) + expected)
            << form.form;
        EXPECT_TRUE(Convert(kToUtf16, form.text).value_or(form.text) ==
                    std::string(kUtf16LeMark) + Utf16Le(expected))
            << form.form;
    }
    EXPECT_TRUE(Convert(kToSjis, expected) == Sjis(utf8));
    EXPECT_TRUE(Convert(kToSjis, std::string(kUtf8Mark) + expected) == Sjis(utf8));
    EXPECT_TRUE(Convert(kToSjis, std::string(kUtf16LeMark) + Utf16Le(expected)) == Sjis(utf8));
    EXPECT_TRUE(Convert(kToSjis, std::string(kUtf16BeMark) + Utf16Be(expected)) == Sjis(utf8));
    EXPECT_TRUE(messages.empty());
}

TEST_F(Detection, ShortTextsAreReadTheWayTheyWereWritten) {
    for (const char* utf8 : {"あ", "ア", "漢字", "日本語", "ｱ", "ｱｲｳｴｵ漢", "表", "ソ", "予定表",
                             "①", "a\u30FBb", "能力"}) {
        EXPECT_EQ(Convert(kToUtf8, Sjis(utf8)), utf8) << "Shift JIS " << utf8;
        EXPECT_EQ(Convert(kToUtf8, Jis(utf8)), utf8) << "JIS " << utf8;
        EXPECT_EQ(Convert(kToSjis, utf8), Sjis(utf8)) << "UTF-8 " << utf8;
    }
    for (const char* utf8 : {"あ", "ア", "漢字", "日本語", "予定表", "の", "ひらがなです", "ⅰ"}) {
        EXPECT_EQ(Convert(kToUtf8, Euc(utf8)), utf8) << "EUC-JP " << utf8;
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(Detection, EucAndShiftJisReadingsAreWeighedWhenBothAreValid) {
    // A4 A2 A4 A4 is "あい" in EUC-JP and four half-width katakana in Shift JIS.
    EXPECT_EQ(Convert(kToUtf8, "\xA4\xA2\xA4\xA4"), "あい");
    // Half-width katakana alone, in an odd number, is no EUC-JP.
    EXPECT_EQ(Convert(kToUtf8, "\xB1\xB2\xB3"), "ｱｲｳ");
    // Shift JIS 0xE0 to 0xEF lead bytes with high trail bytes read as second-level kanji in
    // both; the half-width katakana tip the balance.
    EXPECT_EQ(Convert(kToUtf8, Sjis("ｶﾀｶﾅ漾")), "ｶﾀｶﾅ漾");
}

TEST_F(Detection, PlainAsciiIsLeftAsItIsExceptForTheMarkedForms) {
    const std::string ascii = "plain ASCII text\r\nwith\ttabs, \x1B escapes and \0 zeros\n";
    EXPECT_EQ(SizeFor(kToUtf8, ascii), 0u);
    EXPECT_EQ(SizeFor(kToSjis, ascii), 0u);
    EXPECT_EQ(Convert(kToUtf8Bom, ascii), std::string(kUtf8Mark) + ascii);
    EXPECT_EQ(Convert(kToUtf16, ascii), std::string(kUtf16LeMark) + Utf16Le(ascii));
}

TEST_F(Detection, TextsAlreadyInTheTargetFormAreLeftAsTheyAre) {
    const std::string utf8 = "日本語のテキスト";
    EXPECT_EQ(SizeFor(kToUtf8, utf8), 0u);
    EXPECT_EQ(SizeFor(kToUtf8Bom, std::string(kUtf8Mark) + utf8), 0u);
    EXPECT_EQ(SizeFor(kToUtf16, std::string(kUtf16LeMark) + Utf16Le(utf8)), 0u);
    EXPECT_EQ(SizeFor(kToSjis, Sjis(utf8)), 0u);
    // Nor does the way back take EUC-JP or JIS: they are not its to read.
    EXPECT_EQ(SizeFor(kToSjis, Euc(utf8)), 0u);
    EXPECT_EQ(SizeFor(kToSjis, Jis(utf8)), 0u);
}

TEST_F(Detection, MarksAreAddedDroppedOrTurned) {
    const std::string utf8 = "改行\r\n";
    EXPECT_EQ(Convert(kToUtf8, std::string(kUtf8Mark) + utf8), utf8);
    EXPECT_EQ(Convert(kToUtf8Bom, utf8), std::string(kUtf8Mark) + utf8);
    EXPECT_EQ(Convert(kToUtf16, std::string(kUtf16BeMark) + Utf16Be(utf8)),
              std::string(kUtf16LeMark) + Utf16Le(utf8));
    EXPECT_EQ(Convert(kToUtf8, std::string(kUtf16BeMark) + Utf16Be("\U0001F600")), "\U0001F600");
    // A mark alone is an empty text.
    EXPECT_EQ(Convert(kToUtf8, std::string(kUtf8Mark)), "");
    EXPECT_EQ(Convert(kToSjis, std::string(kUtf16LeMark)), "");
}

TEST_F(Detection, EscapeSequencesDecideJisBeforeAnythingElse) {
    // ESC ( J and SI/SO are read too; ESC ( B alone is no reason to take a text for JIS.
    EXPECT_EQ(Convert(kToUtf8, "\x1B$@\x34\x41\x1B(J!\x0E\x31\x0F."), "漢!ｱ.");
    EXPECT_EQ(SizeFor(kToUtf8, "\x1B(Babc"), 0u);
    EXPECT_EQ(Convert(kToUtf8, "a\x1B(I\x31\x32\x1B(Bb"), "aｱｲb");
}

}  // namespace
}  // namespace unibridge_test
