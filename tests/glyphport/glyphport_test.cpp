// glyphport through its entry points, as the host loads and calls it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "glyphport_plugin.h"
#include "platform/message_box.h"
#include "support/host_step.h"
#include "support/other_forms.h"
#include "support/recorded_messages.h"
#include "support/sample_text.h"

namespace {

using namespace glyphport_test;
using testing_support::HostStep;
using testing_support::Sjis;

// One step as the host runs it; bytes the conversion does not write stay 0xCC.
HostStep RunStep(uint32_t index, const std::string& input) {
    return testing_support::RunHostStep(Glyphport(), index, input, '\xCC');
}

TEST(GlyphportConversion, EmptyInputGivesSizeOneAndAnEmptyText) {
    for (uint32_t f : {kMacToWin, kWinToMac}) {
        const HostStep step = RunStep(f, "");
        EXPECT_EQ(step.size, 1u);
        EXPECT_EQ(step.result, 1u);
        EXPECT_EQ(step.outputLength, 0u);
        ASSERT_EQ(step.output.size(), 1u);
        EXPECT_EQ(step.output[0], 0);
    }
}

TEST(GlyphportConversion, AsciiPassesBothWaysWithSizeLengthPlusOne) {
    std::string ascii = "\t\r\n";
    for (char c = 0x20; c < 0x7F; ++c) {
        ascii += c;
    }
    for (uint32_t f : {kMacToWin, kWinToMac}) {
        const HostStep step = RunStep(f, ascii);
        EXPECT_EQ(step.size, ascii.size() + 1);
        ASSERT_EQ(step.result, 1u);
        EXPECT_EQ(std::string(step.output.begin(), step.output.begin() + step.outputLength), ascii);
        EXPECT_EQ(step.output.back(), 0) << "terminating zero byte";
    }
}

TEST(GlyphportConversion, ZeroBytesAreKeptAndTheWholeInputIsConverted) {
    const std::string mac = std::string("a\0\x85\x40\0\0b", 7);
    const std::string win = std::string("a\0\x87\x40\0\0b", 7);
    const HostStep toWin = RunStep(kMacToWin, mac);
    EXPECT_EQ(toWin.size, 8u);
    ASSERT_EQ(toWin.result, 1u);
    EXPECT_EQ(toWin.outputLength, 7u);
    EXPECT_EQ(std::string(toWin.output.begin(), toWin.output.begin() + 7), win);
    EXPECT_EQ(toWin.output[7], 0);
    EXPECT_EQ(Glyphport().Run(kWinToMac, win), mac);
    EXPECT_EQ(Glyphport().Run(kMacToWin, std::string(1, '\0')), std::string(1, '\0'));
}

struct VendorCase {
    const char* what;
    std::string mac;
    std::string win;
};

TEST(GlyphportConversion, VendorCharactersMoveToTheOtherPlatformsCodes) {
    const std::vector<VendorCase> cases = {
        {"circled digit one", "\x85\x40", "\x87\x40"},
        {"circled digit twenty", "\x85\x53", "\x87\x53"},
        {"Roman numeral one", "\x85\x9F", "\x87\x54"},
        {"small Roman numeral one", "\x85\xB3", "\xFA\x40"},
        {"numero sign", "\x86\x9B", "\x87\x82"},
        {"telephone sign", "\x86\x9D", "\x87\x84"},
        {"parenthesised kabushiki", "\x87\x4D", "\x87\x8A"},
        {"square milli", "\x87\x9F", "\x87\x5F"},
        {"contour integral", "\x88\x40", "\x87\x93"},
        {"kanji and kana stay", Sjis("漢字かなカナ"), Sjis("漢字かなカナ")},
        {"mixed line",
         "No.\x86\x9B"
         "1 \x85\x40\x85\x41 \x85\x9F\r\n",
         "No.\x87\x82"
         "1 \x87\x40\x87\x41 \x87\x54\r\n"},
    };
    for (const auto& c : cases) {
        uint32_t size = 0;
        EXPECT_EQ(Glyphport().Run(kMacToWin, c.mac, "", &size), c.win) << c.what;
        EXPECT_EQ(size, c.win.size() + 1) << c.what;
        EXPECT_EQ(Glyphport().Run(kWinToMac, c.win, "", &size), c.mac) << c.what;
        EXPECT_EQ(size, c.mac.size() + 1) << c.what;
    }
}

TEST(GlyphportConversion, UndefinedAndCutCodesBecomeTheMiddleDot) {
    // U+30FB is "\x81\x45" on both platforms.
    EXPECT_EQ(Glyphport().Run(kWinToMac, "a\x85\x40"), "a\x81\x45");
    EXPECT_EQ(Glyphport().Run(kMacToWin, "ab\x88"), "ab\x81\x45");
    // A Windows one-byte code without a Mac counterpart becomes "?".
    EXPECT_EQ(Glyphport().Run(kWinToMac, "\xA0x"), "?x");
}

TEST(GlyphportConversion, Utf8TextIsLeftAloneBothWays) {
    // UTF-8 holds vendor characters as code points ("①" here), not at platform codes; read as
    // Shift JIS its bytes would be rewritten. Size 0: the host skips the step.
    const std::string prose = testing_support::JapaneseUtf8Text(4096) + "\xE2\x91\xA0";
    for (const std::string& text : {prose, "\xEF\xBB\xBF" + prose, std::string("\xEF\xBB\xBF")}) {
        for (uint32_t f : {kMacToWin, kWinToMac}) {
            const HostStep step = RunStep(f, text);
            EXPECT_EQ(step.size, 0u) << f;
            EXPECT_EQ(step.result, 0u) << f;
            const HostStep anyway = testing_support::ConvertInto(
                Glyphport(), f, text, static_cast<uint32_t>(3 * text.size() + 1), '\xCC');
            EXPECT_EQ(anyway.result, 0u) << "called all the same, " << f;
            EXPECT_EQ(anyway.output, std::string(anyway.output.size(), '\xCC')) << f;
        }
    }
}

struct OtherForm {
    const char* what;
    std::string text;
    const char* named;  // the encoding the message names; null where the text passes silently
};

// UTF-16 holds vendor characters as code points, as UTF-8 does, and passes silently. EUC-JP
// and JIS are the code page of neither platform: they pass unchanged with one message each
// time, naming the encoding.
TEST(GlyphportConversion, Utf16PassesSilentlyAndEucAndJisWithAMessage) {
    const std::string sjis = testing_support::JapaneseText(4096) + Sjis("①Ⅰ㈱");
    const std::vector<OtherForm> forms = {
        {"UTF-16LE with a mark", testing_support::Utf16FromSjis(sjis, false, true), nullptr},
        {"UTF-16BE with a mark", testing_support::Utf16FromSjis(sjis, true, true), nullptr},
        {"UTF-16LE without a mark", testing_support::Utf16FromSjis(sjis, false, false), nullptr},
        {"UTF-16BE without a mark", testing_support::Utf16FromSjis(sjis, true, false), nullptr},
        {"EUC-JP", testing_support::EucFromSjis(sjis), "EUC-JP"},
        {"JIS", testing_support::JisFromSjis(sjis), "JIS"},
        // Bytes that read as Shift JIS half-width katakana too, but far less likely so.
        {"EUC-JP of symbols",
         testing_support::EucFromSjis(Sjis("！＃＄％＆（）＊＋，．／：；＜＝＞")), "EUC-JP"},
    };
    for (const OtherForm& form : forms) {
        for (uint32_t f : {kMacToWin, kWinToMac}) {
            std::vector<testing_support::RecordedMessage> messages;
            testing_support::RecordMessages(&messages);
            const HostStep step = RunStep(f, form.text);
            const HostStep anyway = testing_support::ConvertInto(
                Glyphport(), f, form.text, static_cast<uint32_t>(2 * form.text.size() + 1), '\xCC');
            testing_support::StopRecordingMessages();
            EXPECT_EQ(step.size, 0u) << form.what << ", " << f;
            EXPECT_EQ(anyway.result, 0u) << form.what << ", called all the same, " << f;
            EXPECT_EQ(anyway.output, std::string(anyway.output.size(), '\xCC')) << form.what;
            if (form.named == nullptr) {
                EXPECT_TRUE(messages.empty()) << form.what;
                continue;
            }
            const testing_support::RecordedMessage shown = {
                std::string("このファイルは") + form.named +
                    "です。機種依存文字の変換はシフトJISのファイルにだけ行います。\n"
                    "「シフトJISに変換（自動判別）」でシフトJISに変換してから実行してください。",
                "エラー", platform::kButtonsOk | platform::kIconStop};
            EXPECT_EQ(messages, std::vector({shown, shown})) << form.what << ", one per call";
        }
    }
}

TEST(GlyphportConversion, ShortShiftJisThatEucCouldReadIsStillShiftJis) {
    std::vector<testing_support::RecordedMessage> messages;
    testing_support::RecordMessages(&messages);
    for (const std::string& text : {Sjis("ｶﾞ"), Sjis("ｷｭｰ"), Sjis("ｶﾞ\r\n")}) {
        EXPECT_EQ(Glyphport().Run(kMacToWin, text), text);
        EXPECT_EQ(Glyphport().Run(kWinToMac, text), text);
    }
    EXPECT_EQ(Glyphport().Run(kWinToMac, Sjis("ｶﾞ①")), Sjis("ｶﾞ") + "\x85\x40");
    testing_support::StopRecordingMessages();
    EXPECT_TRUE(messages.empty());
}

TEST(GlyphportConversion, JapaneseProseSurvivesARoundTrip) {
    const std::string windows = testing_support::JapaneseText(256 * 1024);
    const auto mac = Glyphport().Run(kWinToMac, windows);
    ASSERT_TRUE(mac.has_value());
    EXPECT_EQ(Glyphport().Run(kMacToWin, *mac), windows);
}

}  // namespace
