// The shared detection of a text's form: UTF-16 without a mark against a plain reading of its
// rule, the first step alone against the whole rule, the window a long text is judged by, and
// the Shift JIS texts of the suite, the
// examples and the Japanese manual pages, none of which may be taken for another form.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "platform/bare_utf16.h"
#include "platform/text_encoding.h"
#include "platform/text_form.h"
#include "support/other_forms.h"
#include "support/sample_text.h"

namespace {

using platform::BareUtf16;
using platform::TextForm;

TextForm Detect(const std::string& text) {
    return platform::DetectTextForm(reinterpret_cast<const unsigned char*>(text.data()),
                                    text.size());
}

TextForm DetectForShiftJis(const std::string& text) {
    return platform::DetectTextFormForShiftJis(
        reinterpret_cast<const unsigned char*>(text.data()), text.size());
}

// The rule of bare_utf16.h read plainly, one unit at a time.
bool ReadsAsBareUtf16(const std::string& text, bool bigEndian, std::size_t length, bool whole,
                      bool checkBreaks) {
    std::size_t units = 0, breaks = 0, strays = 0, zeros = 0, controls = 0;
    bool pendingHigh = false, unpaired = false;
    for (std::size_t i = 0; i + 1 < length; i += 2) {
        const auto a = static_cast<unsigned char>(text[i]);
        const auto b = static_cast<unsigned char>(text[i + 1]);
        const unsigned unit = bigEndian ? a << 8 | b : b << 8 | a;
        ++units;
        breaks += unit == 0x09 || unit == 0x0A || unit == 0x0D || unit == 0x20;
        const bool common = unit == 0x3000 || unit == 0x4E00 || unit == 0x6700 ||
                            unit == 0x8A00 || unit == 0x7D00 || unit == 0x2500 || unit == 0x2200;
        strays += unit != 0 && (unit & 0xFF) == 0 && !common;
        zeros += unit == 0;
        controls += unit != 0 && unit < 0x20 && !(unit >= 0x09 && unit <= 0x0D) &&
                    unit != 0x1A && unit != 0x1B;
        const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
        unpaired = unpaired || pendingHigh != low;
        pendingHigh = unit >= 0xD800 && unit <= 0xDBFF;
    }
    const bool hasBreaks = breaks >= 4 && breaks * 512 >= units;
    return (!checkBreaks || hasBreaks) && strays * 4 <= breaks && controls == 0 && !unpaired &&
           !(whole && pendingHigh) && zeros * 64 <= units;
}

BareUtf16 ReferenceBareUtf16(const std::string& text) {
    const std::size_t n = text.size();
    const std::size_t prefix = std::min<std::size_t>(n, 8192);
    if (n % 2 != 0 || n < 32 || text.substr(0, prefix).find('\0') == std::string::npos) {
        return BareUtf16::kNone;
    }
    for (const bool big : {false, true}) {
        if (ReadsAsBareUtf16(text, big, prefix, prefix == n, true) &&
            (prefix == n || ReadsAsBareUtf16(text, big, n, true, false))) {
            return big ? BareUtf16::kBigEndian : BareUtf16::kLittleEndian;
        }
    }
    return BareUtf16::kNone;
}

TEST(TextForm, BareUtf16AgreesWithItsRuleOnGeneratedTexts) {
    // Breaks, kana, units of no concern, and one piece that tips each condition.
    const std::vector<std::u16string> plenty = {u"\u3042\u3044", u"\r\n", u" ", u"\t",
                                                u"\u6F22\u5B57", u"\u3000", u"\u4E00", u"ab"};
    const std::vector<std::u16string> rare = {
        u"\u4100", std::u16string(1, u'\0'), u"\u0001", u"\u001B", u"\xD83D\xDE00", u"\xD83D",
        u"\xDE00", u"\u0A00", u"\u000C"};
    std::mt19937 random(16);
    std::map<BareUtf16, int> verdicts;
    for (int round = 0; round < 3000; ++round) {
        std::u16string units;
        const std::size_t length = round % 10 == 0 ? 4100 + round % 300 : 16 + round % 700;
        const int rareChance = 1 + round % 200;
        while (units.size() < length) {
            const bool pickRare = std::uniform_int_distribution<int>(0, rareChance)(random) == 0;
            const auto& from = pickRare ? rare : plenty;
            units += from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
        }
        const bool big = round % 2 == 1;
        std::string text;
        for (const char16_t unit : units) {
            const char high = static_cast<char>(unit >> 8);
            const char low = static_cast<char>(unit & 0xFF);
            text += big ? std::string{high, low} : std::string{low, high};
        }
        if (round % 7 == 0) {
            text.pop_back();  // an odd length, or a cut unit
        }
        const BareUtf16 expected = ReferenceBareUtf16(text);
        ASSERT_EQ(platform::DetectBareUtf16(reinterpret_cast<const unsigned char*>(text.data()),
                                            text.size()),
                  expected)
            << "round " << round;
        ++verdicts[expected];
    }
    // Both sides of the rule were met, in both orders.
    EXPECT_GT(verdicts[BareUtf16::kNone], 300);
    EXPECT_GT(verdicts[BareUtf16::kLittleEndian], 300);
    EXPECT_GT(verdicts[BareUtf16::kBigEndian], 300);
}

// The first step alone gives the whole rule's verdict on every UTF-16 text and kSjis on every
// other one, marks of every kind included.
TEST(TextForm, Utf16FormIsTheWholeRulesFirstStep) {
    const std::vector<std::string> pieces = {
        "\xFF\xFE", "\xFE\xFF", "\xEF\xBB\xBF", std::string(1, '\0'), "\r", "\n", " ",
        "a",        "\x82\xA0", "\x1B$B",       "\xA4\xA2",           "\xE3\x81\x82"};
    std::mt19937 random(1);
    for (int round = 0; round < 4000; ++round) {
        std::string text;
        const int count = std::uniform_int_distribution<int>(0, 60)(random);
        for (int i = 0; i < count; ++i) {
            text += pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(
                random)];
        }
        const TextForm whole = Detect(text);
        const TextForm first = platform::DetectUtf16Form(
            reinterpret_cast<const unsigned char*>(text.data()), text.size());
        EXPECT_EQ(first, platform::IsUtf16(whole) ? whole : TextForm::kSjis)
            << testing::PrintToString(text);
    }
}

// A long text is judged by its window: a cut character at the window's end is no fault, whatever
// the byte it falls on; a fault or an escape sequence far past it changes nothing; the window
// starts at the first byte that is not plain ASCII, however long the ASCII before it.
TEST(TextForm, LongTextsAreJudgedByTheirWindow) {
    const std::string sjis = testing_support::JapaneseText(200000, "\n");
    const std::string utf8 = platform::Cp932ToUtf8(sjis);
    const std::map<TextForm, std::string> texts = {
        {TextForm::kSjis, sjis},
        {TextForm::kEuc, testing_support::EucFromSjis(sjis)},
        {TextForm::kJis, testing_support::JisFromSjis(sjis)},
        {TextForm::kUtf8, utf8}};
    for (const auto& [form, text] : texts) {
        for (std::size_t shift = 0; shift < 4; ++shift) {
            const std::string shifted = std::string(shift, 'a') + text;
            EXPECT_EQ(Detect(shifted), form) << TextFormName(form) << " shifted " << shift;
            EXPECT_EQ(Detect(shifted + "\xFF\xFF"), form) << TextFormName(form);
            EXPECT_EQ(Detect(std::string(300000, 'a') + shifted), form) << TextFormName(form);
        }
    }
    EXPECT_EQ(Detect(sjis + "\x1B$B"), TextForm::kSjis);
    EXPECT_EQ(Detect(std::string(100000, 'a') + "\x1B$B" + sjis.substr(0, 30000)),
              TextForm::kJis);
}

// Rule 6: a text both readings take without a fault stays Shift JIS for the functions working in
// Shift JIS unless EUC-JP wins by far. Half-width katakana alone never leave Shift JIS, however
// long; EUC-JP of a character or two, or of hiragana alone, is too doubtful; real EUC-JP text
// is EUC-JP for both rules.
TEST(TextForm, DoubtfulEucStaysShiftJisForTheShiftJisFunctions) {
    const std::string kana = testing_support::Sjis("ｱｲｳｴｵｶｷｸｹｺ ｻｼｽｾｿ\n");
    const std::string hiragana =
        testing_support::EucFromSjis(testing_support::Sjis("あいうえおかきくけこ\n"));
    for (int times : {1, 10, 1000, 20000}) {
        std::string kanaText, hiraganaText;
        for (int i = 0; i < times; ++i) {
            kanaText += kana;
            hiraganaText += hiragana;
        }
        EXPECT_EQ(DetectForShiftJis(kanaText), TextForm::kSjis) << times;
        EXPECT_EQ(Detect(hiraganaText), TextForm::kEuc) << times;
        EXPECT_EQ(DetectForShiftJis(hiraganaText), TextForm::kSjis) << times;
    }
    for (const std::size_t size : {200u, 4096u, 100000u}) {
        const std::string euc = testing_support::EucFromSjis(testing_support::JapaneseText(size));
        EXPECT_EQ(Detect(euc), TextForm::kEuc) << size;
        EXPECT_EQ(DetectForShiftJis(euc), TextForm::kEuc) << size;
    }
    const std::string two = testing_support::EucFromSjis(testing_support::Sjis("あい"));
    EXPECT_EQ(Detect(two), TextForm::kEuc);
    EXPECT_EQ(DetectForShiftJis(two), TextForm::kSjis);
    EXPECT_EQ(DetectForShiftJis(""), TextForm::kAscii);
}

bool TakenForAnotherForm(TextForm form) {
    return form == TextForm::kEuc || form == TextForm::kJis || platform::IsUtf16(form);
}

TEST(TextForm, ShiftJisTextsOfTheSuiteAndTheExamplesStayShiftJis) {
    for (const std::size_t size : {40u, 100u, 1000u, 4096u, 100000u, 1u << 20}) {
        for (const char* lineBreak : {"\r\n", "\n", "\r"}) {
            const std::string text = testing_support::JapaneseText(size, lineBreak);
            const TextForm form = Detect(text);
            EXPECT_FALSE(TakenForAnotherForm(form)) << size;
            EXPECT_TRUE(size < 1000 || form == TextForm::kSjis) << size;
            EXPECT_FALSE(TakenForAnotherForm(DetectForShiftJis(text))) << size;
        }
    }
    // The examples name their form when it is not Shift JIS.
    const std::map<std::string, TextForm> named = {
        {"notice-euc.txt", TextForm::kEuc},       {"recipe-euc.txt", TextForm::kEuc},
        {"mail-jis.txt", TextForm::kJis},         {"letter-jis.txt", TextForm::kJis},
        {"notes-utf16le.txt", TextForm::kUtf16Le}, {"recipe-utf16be.txt", TextForm::kUtf16Be}};
    int shiftJis = 0;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(POLYSHIFT_EXAMPLES_DIR)) {
        const std::filesystem::path& path = entry.path();
        const std::string ext = path.extension().string();
        if (!entry.is_regular_file() || (ext != ".txt" && ext != ".tbl")) {
            continue;
        }
        std::ifstream file(path, std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(file), {}};
        const TextForm form = Detect(text);
        const std::string name = path.filename().string();
        EXPECT_EQ(DetectForShiftJis(text), form) << path;
        if (const auto found = named.find(name); found != named.end()) {
            EXPECT_EQ(form, found->second) << path;
        } else if (name.find("utf8") == std::string::npos && !path.string().ends_with(
                                                                  "rulebook-utf8/notice.txt") &&
                   !path.string().ends_with("rulebook-utf8/tables/commands.tbl")) {
            EXPECT_FALSE(TakenForAnotherForm(form)) << path << ": " << TextFormName(form);
            shiftJis += form == TextForm::kSjis;
        }
    }
    EXPECT_GE(shiftJis, 15);
}

// The installed Japanese manual pages (package manpages-ja), made Shift JIS: none is taken for
// EUC-JP, JIS or UTF-16.
TEST(TextForm, JapaneseManualPagesInShiftJisStayShiftJis) {
#if defined(_WIN32)
    GTEST_SKIP() << "the manual pages are read as a Linux package installs them";
#endif
    const std::filesystem::path root = "/usr/share/man/ja";
    if (!std::filesystem::is_directory(root)) {
        GTEST_SKIP() << "no Japanese manual pages (package manpages-ja)";
    }
    std::map<std::string, int> verdicts;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        const std::string path = entry.path().string();
        if (!entry.is_regular_file() || !path.ends_with(".gz")) {
            continue;
        }
        FILE* pipe = popen(("gzip -dc '" + path + "'").c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::string utf8;
        char buffer[65536];
        for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            utf8.append(buffer, got);
        }
        ASSERT_EQ(pclose(pipe), 0) << path;
        const std::string sjis = platform::Utf8ToCp932(utf8);
        const TextForm form = Detect(sjis);
        EXPECT_FALSE(TakenForAnotherForm(DetectForShiftJis(sjis))) << path;
        EXPECT_FALSE(TakenForAnotherForm(form)) << path << ": " << TextFormName(form);
        ++verdicts[TextFormName(form)];
    }
    EXPECT_GT(verdicts["Shift JIS"], 500);
    std::string counts;
    for (const auto& [name, count] : verdicts) {
        counts += " " + name + ": " + std::to_string(count) + ";";
    }
    std::cout << "Japanese manual pages in Shift JIS:" << counts << "\n";
    RecordProperty("verdicts", counts);
}

}  // namespace
