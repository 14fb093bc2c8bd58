// What cannot be converted: characters Shift JIS cannot hold and bytes that are no character
// of the text's encoding fail the conversion with a message naming the first such place.
#include <string>

#include "unibridge_fixture.h"

namespace unibridge_test {
namespace {

std::string Lines(int count, std::string_view lineBreak = "\n") {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += "行";
        text += lineBreak;
    }
    return text;
}

TEST_F(UnibridgeTest, ACharacterShiftJisCannotHoldFailsWithItsLine) {
    EXPECT_EQ(Convert(kToSjis, Lines(11) + "絵文字\U0001F600です"), std::nullopt);
    EXPECT_EQ(messages,
              std::vector<Message>{Fault("12行目の文字 U+1F600 はシフトJISにありません。")});
    messages.clear();
    EXPECT_EQ(Convert(kToSjis, std::string(kUtf16LeMark) + Utf16Le(Lines(2, "\r\n") + "¥100")),
              std::nullopt);
    EXPECT_EQ(messages,
              std::vector<Message>{Fault("3行目の文字 U+00A5 はシフトJISにありません。")});
    messages.clear();
    EXPECT_EQ(Convert(kToSjis, Utf16Be(Lines(4, "\r\n") + "¥100")), std::nullopt);
    EXPECT_EQ(messages,
              std::vector<Message>{Fault("5行目の文字 U+00A5 はシフトJISにありません。")});
    messages.clear();
    // Only the first place is named.
    EXPECT_EQ(Convert(kToSjis, Lines(3, "\r") + "é and ö"), std::nullopt);
    EXPECT_EQ(messages,
              std::vector<Message>{Fault("4行目の文字 U+00E9 はシフトJISにありません。")});
}

TEST_F(UnibridgeTest, BytesThatAreNoCharacterFailWithTheirLine) {
    const struct {
        const char* what;
        uint32_t function;
        std::string text;
        const char* message;
    } cases[] = {
        {"a lead byte before a line break", kToUtf8, Sjis(Lines(2)) + "\x82\n",
         "3行目のバイト 82 0A はシフトJISの文字として読めません。"},
        {"an undefined pair", kToUtf8, Sjis("あ\r\n") + "\x85\x40",
         "2行目のバイト 85 40 はシフトJISの文字として読めません。"},
        {"a lead byte at the end", kToUtf16, Sjis("あい") + "\x88",
         "1行目のバイト 88 はシフトJISの文字として読めません。"},
        {"a three-byte EUC-JP character", kToUtf8, Euc("ひらがな\n") + "\x8F\xB0\xA1",
         "2行目の文字 8F B0 A1 はシフトJISにありません。"},
        {"an undefined EUC-JP row", kToUtf8, Euc("漢字\n\n") + "\xA9\xA1",
         "3行目のバイト A9 A1 はEUC-JPの文字として読めません。"},
        {"an 8-bit byte in JIS", kToUtf8, "\x1B$B\x24\x22\x1B(B\r\n\xA4",
         "2行目のバイト A4 はJISの文字として読めません。"},
        {"a line break in kanji mode", kToUtf8, "\x1B$B\x24\x22\n\x1B(B",
         "1行目のバイト 0A はJISの文字として読めません。"},
        {"a switch to a character set JIS has no place for", kToUtf8,
         "\x1B$B\x24\x22\x1B(B\n\x1B$(D\x30\x21\x1B(B",
         "2行目のバイト 1B 24 28 はJISの文字として読めません。"},
        {"a truncated UTF-8 sequence", kToSjis, std::string(kUtf8Mark) + "あ\n\xE3\x81",
         "2行目のバイト E3 81 はUTF-8の文字として読めません。"},
        {"an overlong UTF-8 sequence", kToUtf16, std::string(kUtf8Mark) + "\xC0\xAF",
         "1行目のバイト C0 はUTF-8の文字として読めません。"},
        {"a lone surrogate", kToUtf8,
         std::string(kUtf16LeMark) + Utf16Le("あ\r\n") + std::string("\x00\xD8", 2),
         "2行目のバイト 00 D8 はUTF-16の文字として読めません。"},
        {"an odd last byte", kToSjis, std::string(kUtf16BeMark) + Utf16Be("\n\n") + "\x30",
         "3行目のバイト 30 はUTF-16の文字として読めません。"},
    };
    for (const auto& c : cases) {
        messages.clear();
        EXPECT_EQ(Convert(c.function, c.text), std::nullopt) << c.what;
        EXPECT_EQ(messages, std::vector<Message>{Fault(c.message)}) << c.what;
    }
}

TEST_F(UnibridgeTest, AReadingThatFailsEverywhereIsJudgedWhereItGoesFurthest) {
    // Long UTF-8 with one broken byte: its fault, not that of a Shift JIS reading.
    std::string text;
    for (int i = 0; i < 50; ++i) {
        text += "日本語の文章です。\n";
    }
    EXPECT_EQ(Convert(kToSjis, text + "\xFF"), std::nullopt);
    EXPECT_EQ(messages,
              std::vector<Message>{Fault("51行目のバイト FF はUTF-8の文字として読めません。")});
}

TEST_F(UnibridgeTest, AFaultFarIntoALongTextFailsWhereTheConversionMeetsIt) {
    // The form is decided on the text's start; the fault is found on the way.
    std::string utf8;
    for (int i = 0; i < 5000; ++i) {
        utf8 += "日本語の文章です。\n";
    }
    EXPECT_EQ(Convert(kToSjis, utf8 + "\xFF"), std::nullopt);
    EXPECT_EQ(messages,
              std::vector<Message>{Fault("5001行目のバイト FF はUTF-8の文字として読めません。")});
    messages.clear();
    EXPECT_EQ(Convert(kToUtf8, utf8 + "\xE3\x81"), std::nullopt);
    EXPECT_EQ(messages, std::vector<Message>{
                            Fault("5001行目のバイト E3 81 はUTF-8の文字として読めません。")});
    messages.clear();
    EXPECT_EQ(Convert(kToUtf8, Sjis(utf8) + "\x85\x40"), std::nullopt);
    EXPECT_EQ(messages, std::vector<Message>{
                            Fault("5001行目のバイト 85 40 はシフトJISの文字として読めません。")});
    messages.clear();
    EXPECT_EQ(Convert(kToUtf16, Euc(utf8) + "\xA9\xA1"), std::nullopt);
    EXPECT_EQ(messages, std::vector<Message>{
                            Fault("5001行目のバイト A9 A1 はEUC-JPの文字として読めません。")});
}

TEST_F(UnibridgeTest, BrokenUtf8IsNotTakenForTextAlreadyInTheTargetForm) {
    // Well-formed, it is left as it is; broken, it fails at its fault like every other form.
    std::string text;
    for (int i = 0; i < 50; ++i) {
        text += "日本語の文章です。\n";
    }
    EXPECT_EQ(SizeFor(kToUtf8, text), 0u);
    EXPECT_EQ(SizeFor(kToUtf8Bom, std::string(kUtf8Mark) + text), 0u);
    EXPECT_EQ(Convert(kToUtf8, text + "\xE3\x81"), std::nullopt);
    EXPECT_EQ(messages,
              std::vector<Message>{Fault("51行目のバイト E3 81 はUTF-8の文字として読めません。")});
    messages.clear();
    EXPECT_EQ(Convert(kToUtf8Bom, std::string(kUtf8Mark) + "\xED\xA0\x80\n" + text), std::nullopt);
    EXPECT_EQ(messages,
              std::vector<Message>{Fault("1行目のバイト ED はUTF-8の文字として読めません。")});
}

}  // namespace
}  // namespace unibridge_test
