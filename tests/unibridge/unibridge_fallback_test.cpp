// The two fallbacks of the way to Shift JIS and the way back: what the readable one writes for
// characters Shift JIS lacks (〓, customary forms, whole emoji sequences), what the lossless one
// writes (numeric references), the note of both, and that the lossless text comes back byte for
// byte through the way back, at every vector level and in the build without vector code.
#include <random>
#include <string>
#include <vector>

#include "platform/message_box.h"
#include "platform/sjis_fallback.h"
#include "unibridge_fixture.h"

namespace unibridge_test {
namespace {

inline constexpr uint32_t kBack = 6;

const std::string kWaveDash = "\x81\x60";  // where U+301C and U+FF5E both go

Message Note(std::string_view text) {
    return {std::string(text), "情報", platform::kButtonsOk | platform::kIconInformation};
}

TEST_F(UnibridgeTest, ReadableWritesGetaForWhatShiftJisLacks) {
    EXPECT_EQ(Convert(kReadable, "絵文字\U0001F600と〜と①と髙"),
              Sjis("絵文字〓と") + kWaveDash + Sjis("と①と髙"));
    EXPECT_EQ(messages, std::vector<Message>{
                            Note("シフトJISにない文字を置き換えました：1か所（1行目）。")});
    messages.clear();
    // Nothing replaced: no note, and the same bytes as the refusal.
    EXPECT_EQ(Convert(kReadable, "漢字と〜"), Convert(kToSjis, "漢字と〜"));
    EXPECT_TRUE(messages.empty());
}

TEST_F(UnibridgeTest, ReadableTakesTheCustomaryFormsAndDropsSelectors) {
    EXPECT_EQ(Convert(kReadable, "頰剝\U00020B9F塡 俱吞噓姸屛幷瘦繫 森鷗外 \U00020BB7田"),
              Sjis("頬剥叱填 倶呑嘘妍屏并痩繋 森鴎外 吉田"));
    // A selector after a converted character names its glyph: the character stays.
    EXPECT_EQ(Convert(kReadable, "葛\U000E0100城と辻\uFE00"), Sjis("葛城と辻"));
    // Nothing else is guessed: a look-alike that is another character gets 〓.
    EXPECT_EQ(Convert(kReadable, "¥100 \u203E"), Sjis("〓100 〓"));
}

TEST_F(UnibridgeTest, ReadableWritesOneGetaForAWholeEmojiSequence) {
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"\U0001F468\u200D\U0001F469\u200D\U0001F467!", "〓!"},         // family, joined
        {"\U0001F44D\U0001F3FD\U0001F44D", "〓〓"},                      // skin tone
        {"\U0001F1EF\U0001F1F5\U0001F1FA\U0001F1F8\U0001F1EF", "〓〓〓"},  // two flags and half
        {"\U0001F3C3\u200D\u2640\uFE0F走", "〓走"},  // ♀ is in Shift JIS, but joined here
        {"\u2764\uFE0F\u200D\U0001F525", "〓"},
        {"\U0001F3F4\U000E0067\U000E0062\U000E0065\U000E006E\U000E0067\U000E007F", "〓"},  // tags
        {"♀\u200D\U0001F600", "♀〓"},  // a joiner after a kept character starts a sequence
        {"\U0001F600\u200Da", "〓a"},  // ASCII is never joined
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Convert(kReadable, c.text), Sjis(c.expected)) << c.text;
    }
}

TEST_F(UnibridgeTest, LosslessWritesReferencesForWhatWouldNotComeBack) {
    EXPECT_EQ(Convert(kLossless, "絵文字\U0001F600と〜と①と髙"),
              Sjis("絵文字&#x1F600;と&#x301C;と①と髙"));
    EXPECT_EQ(messages,
              std::vector<Message>{Note(
                  "シフトJISで元に戻らない文字を数値文字参照にしました：2か所（1行目）。")});
    EXPECT_EQ(Convert(kLossless, "頰\u2016\u2212\u00A2\u00A3\u00AC\u2014葛\U000E0100"),
              "&#x9830;&#x2016;&#x2212;&#xA2;&#xA3;&#xAC;&#x2014;" + Sjis("葛") + "&#xE0100;");
    // An '&' that begins a reference is escaped; any other stays.
    EXPECT_EQ(Convert(kLossless, "&#x41; &#65; & &amp; &#x; &#xD800; 😀"),
              "&#x26;#x41; &#x26;#65; & &amp; &#x; &#xD800; &#x1F600;");
    // ASCII stays as it is unless it holds a reference.
    EXPECT_EQ(SizeFor(kLossless, "a & b"), 0u);
    EXPECT_EQ(Convert(kLossless, "&#x41;"), "&#x26;#x41;");
}

TEST_F(UnibridgeTest, TheNoteNamesTheFirstFiveLines) {
    EXPECT_EQ(Convert(kReadable, "😀\n😀😀\r\n\r😀\r😀\n😀\n😀"),
              Sjis("〓\n〓〓\r\n\r〓\r〓\n〓\n〓"));
    EXPECT_EQ(messages,
              std::vector<Message>{
                  Note("シフトJISにない文字を置き換えました：7か所（1、2、4、5、6行目ほか）。")});
    messages.clear();
    EXPECT_EQ(Convert(kLossless, std::string(kUtf16LeMark) + Utf16Le("a\r\nb😀\r\n&#1;")),
              "a\r\nb&#x1F600;\r\n&#x26;#1;");
    EXPECT_EQ(messages,
              std::vector<Message>{Note(
                  "シフトJISで元に戻らない文字を数値文字参照にしました：2か所（2、3行目）。")});
}

TEST_F(UnibridgeTest, TheWayBackTurnsReferencesIntoCharacters) {
    const std::string references = "a&#x1F600;b&#128512;c&#X301c;&#x26;";
    EXPECT_EQ(Convert(kBack, Sjis("漢字") + references), "漢字a😀b😀c〜&");
    EXPECT_EQ(Convert(kBack, Euc("漢字") + references), "漢字a😀b😀c〜&");
    EXPECT_EQ(Convert(kBack, Jis("漢字") + references), "漢字a😀b😀c〜&");
    EXPECT_EQ(Convert(kBack, references), "a😀b😀c〜&");
    // No reference: what is no character, or too long.
    const std::string none = "&#0; &#xD800; &#x110000; &#x000000041; &#; &#x41 &# x41;";
    EXPECT_EQ(Convert(kBack, Sjis("漢字") + none), "漢字" + none);
    EXPECT_EQ(SizeFor(kBack, none), 0u);
    EXPECT_EQ(SizeFor(kBack, "漢字" + none), 0u);
    EXPECT_EQ(Convert(kBack, "漢字&#x41;"), "漢字A");
    EXPECT_TRUE(messages.empty());
}

// Pieces of text the round trip is made of: characters Shift JIS holds, lacks, or holds as a
// look-alike, selectors, and everything a reference is made of.
// clang-format off
const std::vector<std::string> kPieces = {
    "a", " ", "\r\n", "\n", "&", "#", "x", "X", "4", "1", "F", ";", "&#", "&#x", "&#x41;",
    "&#65;", "&#x26;", "&amp;", "&#x1F600", std::string("\0", 1),
    "あ", "漢", "ｱ", "①", "髙", "〜", "～", "−", "¢", "—", "¥", "é",
    "😀", "👍🏽", "🇯🇵", "頰", "剝", "𠮟", "塡", "\uFE0F", "\U000E0100", "\u200D",
};
// clang-format on

std::string RandomText(std::mt19937& random, std::size_t bytes) {
    std::string text;
    while (text.size() < bytes) {
        // Long stretches of Japanese now and then, for the vector code's blocks.
        if (random() % 8 == 0) {
            for (int k = 0; k < 30; ++k) {
                text += random() % 3 ? "漢字かな" : "ascii text ";
            }
        }
        text += kPieces[random() % kPieces.size()];
    }
    return text;
}

class Fallbacks : public UnibridgeTest, public ::testing::WithParamInterface<const char*> {
  protected:
    void SetUp() override {
        UnibridgeTest::SetUp();
        Use(Build(GetParam()));
    }
};

INSTANTIATE_TEST_SUITE_P(EveryBuild, Fallbacks, ::testing::Values("unibridge", "unibridge_plain"));

TEST_P(Fallbacks, LosslessThenBackGivesTheOriginalByteForByte) {
    const std::vector<std::string> texts = {
        "絵文字😀と〜と①と髙",
        "頰剝𠮟塡の四字、葛\U000E0100城、👨\u200D👩\u200D👧、🇯🇵",
        "already &#x1F600; and &#128512; and &#x26; and &&#x41;; and &#",
        "&#x41;",
    };
    for (const std::string& text : texts) {
        const std::optional<std::string> sjis = Convert(kLossless, text);
        ASSERT_TRUE(sjis.has_value()) << text;
        EXPECT_EQ(Convert(kBack, *sjis), text) << text;
    }
    std::mt19937 random(32);
    for (int round = 0; round < 300; ++round) {
        std::string text = RandomText(random, 1 + random() % 700);
        text += "漢";  // so that it is no ASCII text
        const std::optional<std::string> sjis = Convert(kLossless, text);
        ASSERT_TRUE(sjis.has_value()) << testing::PrintToString(text);
        ASSERT_EQ(Convert(kBack, *sjis), text) << testing::PrintToString(text);
        const std::optional<std::string> fromUtf16 =
            Convert(kLossless, std::string(kUtf16LeMark) + Utf16Le(text));
        ASSERT_EQ(fromUtf16, sjis) << testing::PrintToString(text);
    }
}

// The counts the character scan shows beforehand are the conversions' own, and the readable
// text converts at every level as the build without vector code converts it.
TEST_P(Fallbacks, TheCountsAreTheConversionsOwn) {
    std::mt19937 random(4);
    for (int round = 0; round < 200; ++round) {
        const std::string text = RandomText(random, 1 + random() % 500) + "漢";
        const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
        const platform::FallbackCounts counts = platform::CountFallbacks(bytes, text.size());
        for (const uint32_t function : {kReadable, kLossless}) {
            messages.clear();
            const std::optional<std::string> converted = Convert(function, text);
            ASSERT_TRUE(converted.has_value());
            const uint64_t expected = function == kReadable ? counts.readable : counts.lossless;
            ASSERT_EQ(messages.size(), expected == 0 ? 0u : 1u);
            if (expected != 0) {
                const std::string count = "：" + std::to_string(expected) + "か所（";
                EXPECT_NE(messages[0].text.find(count), std::string::npos)
                    << messages[0].text << " " << testing::PrintToString(text);
            }
            EXPECT_EQ(converted, Build("unibridge_plain").Run(function, text));
        }
    }
}

}  // namespace
}  // namespace unibridge_test
