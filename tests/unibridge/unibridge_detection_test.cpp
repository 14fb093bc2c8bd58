// Which form a text is taken for, and what each function then does with it: real texts in
// each of the six forms and in UTF-16 without a mark, short texts, plain ASCII, texts that only
// look like UTF-16, and texts already in the target form.
#include <random>
#include <string>
#include <utility>

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

    // Whether `text` is taken for UTF-16 without a mark: its UTF-16LE with a mark is then the
    // text itself, or the text with the bytes of each unit swapped, behind the mark.
    bool TakenForUtf16(const std::string& text) const {
        std::string swapped = text;
        for (std::size_t i = 0; i + 1 < swapped.size(); i += 2) {
            std::swap(swapped[i], swapped[i + 1]);
        }
        const auto converted = Convert(kToUtf16, text);
        return converted == std::string(kUtf16LeMark) + text ||
               converted == std::string(kUtf16LeMark) + swapped;
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
        {"UTF-16LE without a mark", Utf16Le(expected)},
        {"UTF-16BE without a mark", Utf16Be(expected)},
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

TEST_F(Detection, Utf16WithoutAMarkIsReadWhenItsBreaksAndSpacesLeaveNoDoubt) {
    // A few hundred bytes, with ideographic spaces and kanji such as 一 and 最 whose zero byte
    // lies in the other parity than those of the line breaks.
    const std::string japanese =
        "　今日は一日中雨が降っていました。明日の会議は午前十時からです。\r\n"
        "　資料は最新のものを用意してください。一部ずつ印刷をお願いします。\r\n"
        "　連絡先：総務課 山田（内線 1234）\r\n";
    const std::string english = "Plain English text, with spaces, written as UTF-16.\n";
    for (const std::string& utf8 : {japanese, english}) {
        for (const std::string& bare : {Utf16Le(utf8), Utf16Be(utf8)}) {
            EXPECT_EQ(Convert(kToUtf8, bare), utf8);
            EXPECT_EQ(Convert(kToUtf8Bom, bare), std::string(kUtf8Mark) + utf8);
            EXPECT_EQ(Convert(kToUtf16, bare), std::string(kUtf16LeMark) + Utf16Le(utf8));
            EXPECT_EQ(Convert(kToSjis, bare), Sjis(utf8));
        }
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(Detection, TextsThatOnlyLookLikeUtf16KeepTheirReading) {
    const std::string line = "日本語のテキストです。改行は一つだけ。\r\n";
    const std::string lines = line + line + line;
    // Plain ASCII, and UTF-16 too short or with too few breaks to tell.
    const std::string ascii = "An ASCII text of even length, with no zero bytes in it.\r\n";
    EXPECT_EQ(SizeFor(kToUtf8, ascii), 0u);
    EXPECT_FALSE(TakenForUtf16(ascii));
    EXPECT_FALSE(TakenForUtf16(Utf16Le("改行\r\n改行\r\n")));
    EXPECT_FALSE(TakenForUtf16(Utf16Be(line)));
    // An odd length, an unpaired surrogate, a control character no text holds.
    EXPECT_FALSE(TakenForUtf16(Utf16Le(lines) + "\n"));
    EXPECT_FALSE(TakenForUtf16(Utf16Le(lines) + std::string("\x00\xD8", 2) + Utf16Le(lines)));
    EXPECT_FALSE(TakenForUtf16(Utf16Be(lines) + std::string("\xDC\x00", 2)));
    EXPECT_FALSE(TakenForUtf16(Utf16Le(lines + "\x01")));
    // Shift JIS with zero bytes: after every line, and padding records of fixed length.
    std::string zeroAfterLines;
    std::string records;
    for (const char* utf8 : {"山田太郎", "佐藤花子 様", "総務課", "鈴木一郎", "営業部 第二課"}) {
        zeroAfterLines += Sjis(utf8) + std::string("\r\n\0", 3);
        records += Sjis(utf8) + std::string(" \r\n") + std::string(24 - Sjis(utf8).size(), '\0');
    }
    for (const std::string& sjis : {zeroAfterLines, records}) {
        EXPECT_EQ(Convert(kToUtf8, sjis), platform::Cp932ToUtf8(sjis));
    }
    // Binary junk, a quarter of it zero bytes.
    std::mt19937 random(5);
    for (int i = 0; i < 50; ++i) {
        std::string junk(64 + 2 * (random() % 300), '\0');
        for (char& c : junk) {
            c = random() % 4 == 0 ? '\0' : static_cast<char>(random());
        }
        EXPECT_FALSE(TakenForUtf16(junk)) << testing::PrintToString(junk);
    }
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
