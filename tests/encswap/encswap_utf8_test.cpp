// encswap and Unicode text: every function refuses UTF-8 and UTF-16 with one message and writes
// nothing, so the host passes the file on unchanged; ASCII and the legacy encodings convert as
// before, however long a run of ASCII stands in front of the first other byte.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "encswap_plugin.h"
#include "platform/text_form.h"
#include "platform/utf16.h"
#include "platform/utf8_text.h"
#include "support/host_step.h"
#include "support/recorded_messages.h"
#include "support/sample_text.h"

namespace {

using namespace encswap_test;
using testing_support::HostStep;
using testing_support::RecordedMessage;

const RecordedMessage kRefusal{
    "このファイルはUTF-8のため、JIS・EUC・シフトJISの間では変換できません。\n"
    "UTF-8は「シフトJISに変換（UTF-8/UTF-16から）」でシフトJISに変換してください。",
    "エラー", 16};
const RecordedMessage kUtf16Refusal{
    "このファイルはUTF-16のため、JIS・EUC・シフトJISの間では変換できません。\n"
    "UTF-16は「シフトJISに変換（UTF-8/UTF-16から）」でシフトJISに変換してください。",
    "エラー", 16};

class EncswapUtf8 : public ::testing::Test {
  protected:
    void SetUp() override { testing_support::RecordMessages(&messages); }
    void TearDown() override { testing_support::StopRecordingMessages(); }

    // One step as the host runs it; bytes the conversion does not write stay 0xEE.
    static HostStep RunStep(uint32_t function, const std::string& input) {
        return testing_support::RunHostStep(Encswap(), function, input, '\xEE');
    }

    // Every function refuses `text` with exactly one message and leaves its buffer untouched.
    void ExpectRefused(const std::string& text, const std::string& what,
                       const RecordedMessage& refusal = kRefusal) {
        for (uint32_t f = 0; f < kFunctionCount; ++f) {
            messages.clear();
            const HostStep step = RunStep(f, text);
            EXPECT_NE(step.size, 0u) << what << ", function " << f;
            EXPECT_EQ(step.result, 0u) << what << ", function " << f;
            EXPECT_EQ(step.output, std::string(step.size, '\xEE')) << what << ", function " << f;
            EXPECT_EQ(messages, std::vector<RecordedMessage>{refusal})
                << what << ", function " << f;
        }
    }

    std::vector<RecordedMessage> messages;
};

TEST_F(EncswapUtf8, EveryFunctionRefusesUtf8WithOneMessage) {
    const std::string prose = testing_support::JapaneseUtf8Text(4000);
    ExpectRefused(prose, "prose");
    ExpectRefused("\xEF\xBB\xBF" + prose, "prose after a mark");
    // A mark alone makes the text UTF-8, whatever follows.
    ExpectRefused(
        "\xEF\xBB\xBF"
        "abc\r\n",
        "mark and ASCII");
    ExpectRefused(
        "\xEF\xBB\xBF"
        "\x82\xA0",
        "mark and Shift JIS bytes");
    // One kana far behind a long run of ASCII, in and across blocks of 32 and 64 bytes.
    for (const std::size_t ascii : {1u, 63u, 64u, 65u, 127u, 128u, 1000u}) {
        ExpectRefused(std::string(ascii, 'a') + "\xE3\x81\x82", std::to_string(ascii));
    }
}

// UTF-16 in both orders, with its mark or without one where the runtime's detection takes it for
// UTF-16 all the same; Shift JIS that holds zero bytes is no UTF-16.
TEST_F(EncswapUtf8, EveryFunctionRefusesUtf16WithOneMessage) {
    const std::u16string prose =
        platform::Utf8ToUtf16(testing_support::JapaneseUtf8Text(4000, "\r\n"));
    for (const bool bigEndian : {false, true}) {
        std::string bytes;
        for (const char16_t unit : prose) {
            const char high = static_cast<char>(unit >> 8);
            const char low = static_cast<char>(unit & 0xFF);
            bytes += bigEndian ? std::string{high, low} : std::string{low, high};
        }
        const std::string mark = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        ASSERT_TRUE(platform::IsUtf16(platform::DetectTextForm(
            reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size())));
        ExpectRefused(mark + bytes, "marked", kUtf16Refusal);
        ExpectRefused(bytes, "bare", kUtf16Refusal);
        ExpectRefused(mark + "a", "a mark and one byte", kUtf16Refusal);
    }
    std::string zeros;
    for (int i = 0; i < 8; ++i) {
        zeros += std::string("a\0b\r\n", 5) + testing_support::Sjis("漢字\r\n");
    }
    messages.clear();
    EXPECT_EQ(RunStep(kSjisToEuc, zeros).result, 1u);
    EXPECT_TRUE(messages.empty());
}

TEST_F(EncswapUtf8, AsciiAndLegacyTextsConvertAsBefore) {
    // Each pair: the input and what function 3 (Shift JIS to JIS) makes of it.
    const std::string sjis = testing_support::Sjis("漢字とかな");
    const std::string jis = "\x1b$B4A;z$H$+$J\x1b(B";
    for (const std::size_t ascii : {0u, 63u, 64u, 65u, 200u}) {
        const std::string lead(ascii, 'x');
        messages.clear();
        EXPECT_EQ(RunStep(kSjisToJis, lead + sjis).output, lead + jis) << ascii;
        // A mark that does not open the text is no mark; these bytes are not UTF-8 as a whole.
        if (ascii != 0) {
            const HostStep step = RunStep(kSjisToJis, lead + "\xEF\xBB\xBF" + sjis);
            EXPECT_EQ(step.result, 1u) << ascii;
            EXPECT_EQ(step.output.substr(0, ascii), lead) << ascii;
        }
        // ASCII alone is left as it is by every function.
        for (uint32_t f = 0; f < kFunctionCount; ++f) {
            EXPECT_EQ(RunStep(f, lead + "\r\n").output, lead + "\r\n") << ascii << " " << f;
        }
        EXPECT_TRUE(messages.empty()) << ascii;
    }
    // Half-width katakana that happen to be two-byte UTF-8 stay Shift JIS.
    EXPECT_EQ(RunStep(kSjisToEuc, "\xC2\xB1").output, "\x8E\xC2\x8E\xB1");
    EXPECT_TRUE(messages.empty());
}

// The refusal agrees with the program's rule for texts of every mix, behind ASCII runs of every
// length up to a few blocks of the rule's vector code.
TEST_F(EncswapUtf8, RefusesExactlyWhatTheSharedRuleCallsUtf8) {
    const std::vector<std::string> pieces = {
        "a",        "\r\n",         "\xE3\x81\x82",     "\xC2\xB1",
        "\x82\xA0", "\xEF\xBB\xBF", "\xF0\x9F\x98\x80", "\xE3\x81",
        "\x80",     "\xED\xA0\x80",
    };
    std::mt19937 random(2024);
    for (int round = 0; round < 600; ++round) {
        std::string text(std::uniform_int_distribution<int>(0, 200)(random), 'q');
        const int count = std::uniform_int_distribution<int>(1, 6)(random);
        for (int i = 0; i < count; ++i) {
            text +=
                pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
        }
        messages.clear();
        const HostStep step = RunStep(round % kFunctionCount, text);
        const bool refused = !messages.empty();
        EXPECT_EQ(refused, platform::IsUtf8Text(text)) << testing::PrintToString(text);
        EXPECT_EQ(step.result == 0, refused) << testing::PrintToString(text);
    }
}

}  // namespace
