// The conversions take long texts in blocks of 64 bytes: random texts of every length around
// the block size, with characters of every kind at every place (pairs split between blocks,
// trail bytes that look like lead bytes, zero bytes), must convert exactly as the runtime's
// own converters say, and a fault anywhere must be found at its place.
#include <random>
#include <string>
#include <vector>

#include "platform/text_encoding.h"
#include "platform/utf16.h"
#include "unibridge_fixture.h"

namespace unibridge_test {
namespace {

// Shift JIS characters of every kind, none of them a second code of another character.
// clang-format off
const std::vector<std::string> kSjisPool = {
    "a", "Z", " ", "\r\n", "\n", std::string("\0", 1), "\x7F",
    "\xB1", "\xDF",                      // half-width katakana
    "\x82\xA0", "\x83\x41",              // kana, trail byte below 0x80
    "\x8E\x9A", "\x9F\x9F", "\xE0\x9F",  // trail bytes in the lead byte ranges
    "\x8A\xBF", "\x88\x9F", "\xEA\xA4",  // kanji
    "\x81\x40", "\x87\x40", "\xF0\x40", "\xF9\xFC", "\xFA\x40", "\xFC\x4B",
    "\x81\x98", "\x83\x9F", "\x84\x40",  // two bytes in UTF-8: section sign, Greek, Cyrillic
};
// clang-format on

std::string RandomSjis(std::mt19937& random, std::size_t bytes) {
    std::string text = "\x8A\xBF";  // read as nothing but Shift JIS
    while (text.size() < bytes) {
        text += kSjisPool[random() % kSjisPool.size()];
    }
    return text;
}

std::size_t LinesBefore(const std::string& text, std::size_t offset) {
    std::size_t lines = 1;
    for (std::size_t i = 0; i < offset; ++i) {
        lines += text[i] == '\n' ? 1 : 0;
    }
    return lines;
}

class Blocks : public UnibridgeTest, public ::testing::WithParamInterface<const char*> {
  protected:
    void SetUp() override {
        UnibridgeTest::SetUp();
        Use(Build(GetParam()));
    }

    // This build converts `text` as the build without vector code does, with the same messages.
    void ExpectAsWithoutVectorCode(uint32_t function, const std::string& text) {
        messages.clear();
        const std::optional<std::string> converted = Convert(function, text);
        const std::vector<Message> reported = messages;
        messages.clear();
        ASSERT_EQ(converted, Build("unibridge_plain").Run(function, text))
            << testing::PrintToString(text);
        ASSERT_EQ(reported, messages) << testing::PrintToString(text);
    }
};

INSTANTIATE_TEST_SUITE_P(EveryBuild, Blocks,
                         ::testing::Values("unibridge", "unibridge_plain"));

TEST_P(Blocks, ShiftJisOfEveryLengthConvertsAsTheRuntimeConverts) {
    std::mt19937 random(13);
    for (std::size_t length = 1; length < 400; ++length) {
        const std::string sjis = RandomSjis(random, length);
        const std::string utf8 = platform::Cp932ToUtf8(sjis);
        ASSERT_EQ(Convert(kToUtf8, sjis), utf8) << testing::PrintToString(sjis);
        ASSERT_EQ(Convert(kToSjis, utf8), sjis) << testing::PrintToString(utf8);
        ASSERT_EQ(Convert(kToUtf16, sjis), std::string(kUtf16LeMark) + Utf16Le(utf8));
    }
    EXPECT_TRUE(messages.empty());
}

TEST_P(Blocks, EucAndJisOfEveryLengthConvertAsTheirShiftJisForms) {
    // What EUC-JP and JIS carry: no user-defined or IBM extension codes (EUC-JP has the NEC
    // selected copies of the latter), nor, for JIS, zero bytes and line breaks inside kanji.
    // Half-width katakana only in JIS: in a short random EUC-JP text they would make it read
    // as Shift JIS just as well.
    const std::vector<std::string> pool = {
        "a",        " ",        "\r\n",     "\x82\xA0", "\x83\x41", "\x8E\x9A", "\x9F\x9F",
        "\xE0\x9F", "\x8A\xBF", "\x88\x9F", "\xEA\xA4", "\x81\x40", "\x87\x40"};
    std::mt19937 random(11);
    for (std::size_t length = 1; length < 300; ++length) {
        std::string sjis = "\x82\xA0\x82\xA2";  // "あい"
        while (sjis.size() < length) {
            sjis += pool[random() % pool.size()];
        }
        const std::string utf8 = platform::Cp932ToUtf8(sjis);
        ASSERT_EQ(Convert(kToUtf8, Euc(utf8)), utf8) << testing::PrintToString(sjis);
        const std::string withKana = platform::Cp932ToUtf8(sjis + "\xB1\xDF" + sjis);
        ASSERT_EQ(Convert(kToUtf8, Jis(withKana)), withKana) << testing::PrintToString(sjis);
    }
    EXPECT_TRUE(messages.empty());
}

TEST_P(Blocks, AFaultAnywhereIsFoundAtItsPlace) {
    std::mt19937 random(7);
    for (std::size_t length = 2; length < 300; ++length) {
        std::string sjis = RandomSjis(random, length);
        const std::size_t at = sjis.size();
        sjis += "\x85\x40" + RandomSjis(random, 100);  // an undefined pair, then more text
        messages.clear();
        ASSERT_EQ(Convert(kToUtf8, sjis), std::nullopt);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, std::to_string(LinesBefore(sjis, at)) +
                                        "行目のバイト 85 40 はシフトJISの文字として読めません。");

        std::string utf8 = platform::Cp932ToUtf8(sjis.substr(0, at));
        const std::size_t utf8At = utf8.size();
        utf8 += "\U0001F600" + platform::Cp932ToUtf8(RandomSjis(random, 100));
        messages.clear();
        ASSERT_EQ(Convert(kToSjis, utf8), std::nullopt);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, std::to_string(LinesBefore(utf8, utf8At)) +
                                        "行目の文字 U+1F600 はシフトJISにありません。");
        // UTF-16 holds it.
        EXPECT_EQ(Convert(kToUtf16, utf8), std::string(kUtf16LeMark) + Utf16Le(utf8));

        // Malformed UTF-8 in its place; the mark keeps the text UTF-8.
        const struct {
            const char* bytes;
            const char* reported;
        } malformed[] = {
            {"\xBF", "BF"},              // a continuation without a first byte
            {"\xC0\xAF", "C0"},          // overlong
            {"\xED\xA0\x80", "ED"},      // a surrogate
            {"\xF4\x90\x80\x80", "F4"},  // above U+10FFFF
            {"\xE3\x81", "E3 81"},       // cut short by the character after it
            {"\xE0\x9F\xBF", "E0"},      // overlong
            {"\xE0\x81\x81", "E0"},      // overlong, of a character that Shift JIS has
            {"\xE3\x81\x81\x81", "81"},  // a continuation too many
        };
        const auto& bad = malformed[length % std::size(malformed)];
        const std::string broken = utf8.substr(0, utf8At) + bad.bytes + utf8.substr(utf8At + 4);
        messages.clear();
        ASSERT_EQ(Convert(kToSjis, std::string(kUtf8Mark) + broken), std::nullopt);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, std::to_string(LinesBefore(utf8, utf8At)) + "行目のバイト " +
                                        bad.reported + " はUTF-8の文字として読めません。");
    }
}

// Texts that Shift JIS and EUC-JP both read far or to the end, so that detection weighs the
// readings' scores, with EUC-JP's three-byte characters and bytes that neither reads here and
// there, and runs of ASCII: every build detects, converts and reports faults as the build
// without vector code.
TEST_P(Blocks, ReadingsOfBothKindsAreWeighedAsWithoutVectorCode) {
    std::mt19937 random(5);
    // A random unit that both read: EUC-JP first-level kanji that Shift JIS reads as two
    // half-width katakana (4 points in EUC-JP, 2 in Shift JIS), Shift JIS kanji that EUC-JP
    // reads as a half-width katakana (0 and 4), and second-level kanji in both (2 and 2), in
    // such shares that neither reading is ahead on average.
    const auto unit = [&random]() -> std::string {
        const auto byte = [&random](unsigned from, unsigned to) {
            return static_cast<char>(from + random() % (to - from + 1));
        };
        switch (random() % 12) {
            case 0:
            case 1:
                return std::string(1, byte(0x20, 0x7E));
            case 2:
                return "\r\n";
            case 3:
            case 4:
            case 5:
            case 6:
                return {byte(0xB0, 0xCE), byte(0xA1, 0xDF)};
            case 7:
            case 8:
                return {'\x8E', byte(0xA1, 0xDF)};
            default:
                return {byte(0xE0, 0xE9), byte(0xA1, 0xFC)};
        }
    };
    for (std::size_t length = 1; length < 700; length += 1 + random() % 5) {
        std::string text;
        while (text.size() < length) {
            const unsigned rare = random() % 2000;
            text += rare == 0   ? "\x8F\xB0\xA1"
                    : rare == 1 ? "\xFD"
                    : rare < 20 ? std::string(60 + random() % 80, 'x')  // blocks of ASCII
                                : unit();
        }
        for (const uint32_t function : {kToUtf8, kToUtf16}) {
            ASSERT_NO_FATAL_FAILURE(ExpectAsWithoutVectorCode(function, text));
        }
    }
}

// Japanese UTF-8 is mostly runs of three-byte characters. Random texts of such runs, broken
// at random by ASCII, characters of one, two and four bytes in Shift JIS or UTF-8, characters
// Shift JIS lacks, look-alikes and malformed bytes, at every length around the block size:
// every function to Shift JIS converts, replaces and reports as the build without vector code.
TEST_P(Blocks, RunsOfKanaAndKanjiConvertAsWithoutVectorCode) {
    // clang-format off
    const std::vector<std::string> runs = {
        "あ", "ん", "ア", "ヶ", "漢", "字", "鬱", "１", "ｚ", "～", "。", "「", "\xEE\x80\x80", "ｶ", "ﾞ"};
    const std::vector<std::string> breaks = {
        "a", "\r\n", "ｱ", "ﾟ", "§", "α", "鷗", "頰", "〜", "－", "\U0001F600", "\xE0\xA4\x85",
        "\xED\x9F\xBF", "\xEF\xBF\xBD"};
    const std::vector<std::string> malformed = {
        "\xE3\x81", "\xBF", "\xC0\xAF", "\xED\xA0\x80", "\xE0\x9F\xBF", "\xF4\x90\x80\x80"};
    // clang-format on
    std::mt19937 random(17);
    for (std::size_t length = 1; length < 260; ++length) {
        std::string text;
        while (text.size() < length) {
            const bool broken = random() % 24 == 0;
            text += broken ? breaks[random() % breaks.size()] : runs[random() % runs.size()];
        }
        if (length % 4 == 0) {
            text += malformed[random() % malformed.size()] + runs[random() % runs.size()];
        }
        text += std::string(random() % 80, 'a');
        for (const uint32_t function : {kToSjis, kReadable, kLossless}) {
            ASSERT_NO_FATAL_FAILURE(ExpectAsWithoutVectorCode(function, text));
            ASSERT_NO_FATAL_FAILURE(
                ExpectAsWithoutVectorCode(function, std::string(kUtf8Mark) + text));
        }
    }
}

// ASCII that a run takes up to a character it cannot convert (one Shift JIS lacks, or a
// byte-order mark inside the text), at every distance from the end: the blocks take over there
// without reading past the text (the sanitizers see a read past it).
TEST_P(Blocks, AsciiBeforeACharacterWithoutCodeNearTheEnd) {
    for (const char* without : {"頰", "\xEF\xBB\xBF"}) {
        for (std::size_t ascii = 0; ascii <= 33; ++ascii) {
            for (std::size_t tail = 30; tail < 90; ++tail) {
                const std::string text =
                    "漢" + std::string(ascii, 'a') + without + std::string(tail, 'a');
                for (const uint32_t function : {kToSjis, kLossless}) {
                    ASSERT_NO_FATAL_FAILURE(ExpectAsWithoutVectorCode(function, text));
                }
            }
        }
    }
}

// Overlong forms and surrogates in UTF-8 without a mark, at every place around the blocks:
// detection finds no valid UTF-8 there and weighs the other readings, as the build without
// vector code does.
TEST_P(Blocks, ForbiddenUtf8FormsAreFoundAnywhere) {
    for (const char* forbidden : {"\xED\xA0\x80", "\xED\xBF\xBF", "\xE0\x81\x81", "\xE0\x9F\xBF"}) {
        for (std::size_t at = 0; at < 140; ++at) {
            std::string text;
            while (text.size() < at) {
                text += text.size() + 3 <= at ? "\xE3\x81\x82" : "a";  // あ, or ASCII
            }
            text += forbidden + std::string(100, 'a');
            for (const uint32_t function : {kToUtf8, kToUtf16, kToSjis}) {
                ASSERT_NO_FATAL_FAILURE(ExpectAsWithoutVectorCode(function, text));
            }
        }
    }
}

}  // namespace
}  // namespace unibridge_test
