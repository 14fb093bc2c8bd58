// The rule that tells UTF-8 text from Shift JIS: what the suite's legacy texts, accidental
// two-byte UTF-8 in half-width katakana and malformed sequences are classed as.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/sjis_bytes.h"
#include "platform/utf8_text.h"
#include "plugins/common/jis_row_cell.h"
#include "support/sample_text.h"

namespace {

using platform::ClassifyText;
using platform::TextKind;
using testing_support::JapaneseText;
using testing_support::JapaneseUtf8Text;
using testing_support::Sjis;

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// EUC-JP of a Shift JIS text: every pair moved to its row and cell with the top bits set.
std::string EucFromSjis(std::string_view sjis) {
    std::string euc;
    for (std::size_t i = 0; i < sjis.size(); ++i) {
        const auto c = static_cast<unsigned char>(sjis[i]);
        if (platform::sjis::IsLeadByte(c) && i + 1 < sjis.size()) {
            const auto rc = jis::RowCellFromSjis(c, static_cast<unsigned char>(sjis[++i]));
            euc += static_cast<char>(jis::EucByte(rc.first));
            euc += static_cast<char>(jis::EucByte(rc.second));
        } else if (platform::sjis::IsHalfWidthKana(c)) {
            euc += '\x8E';
            euc += static_cast<char>(c);
        } else {
            euc += static_cast<char>(c);
        }
    }
    return euc;
}

// Every text file of the examples and the fuzz seeds is UTF-8 exactly when its name says so,
// or its example's folder ("widthfold-utf8", but not "unibridge-to-utf8", whose files are to
// become UTF-8); Shift JIS, EUC, JIS, Mac and UTF-16 files never are.
TEST(Utf8Text, SuiteFilesAreUtf8OnlyWhenNamedSo) {
    int checked = 0;
    for (const char* folder : {"examples", "fuzz/seeds/text"}) {
        const auto root = std::filesystem::path(POLYSHIFT_SOURCE_DIR) / folder;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
            const std::string name = entry.path().filename().string();
            if (!entry.is_regular_file() || entry.path().extension() == ".bmp" || name == "chain") {
                continue;
            }
            const std::string example =
                std::filesystem::relative(entry.path(), root).begin()->string();
            const bool utf8 = name.find("utf8") != std::string::npos ||
                              (example.ends_with("-utf8") && !example.ends_with("-to-utf8"));
            EXPECT_EQ(platform::IsUtf8Text(ReadFile(entry.path())), utf8) << entry.path();
            ++checked;
        }
    }
    EXPECT_GT(checked, 20);
}

TEST(Utf8Text, GeneratedLegacyProseIsNotUtf8) {
    const std::string sjis = JapaneseText(64 * 1024);
    EXPECT_EQ(ClassifyText(sjis), TextKind::kOther);
    EXPECT_EQ(ClassifyText(EucFromSjis(sjis)), TextKind::kOther);
    for (std::size_t line = 0; line + 100 < sjis.size(); line += 997) {
        EXPECT_NE(ClassifyText(sjis.substr(line, 100)), TextKind::kUtf8) << line;
        EXPECT_NE(ClassifyText(EucFromSjis(sjis.substr(line, 100))), TextKind::kUtf8) << line;
    }
    EXPECT_EQ(ClassifyText(JapaneseUtf8Text(64 * 1024)), TextKind::kUtf8);
}

// Half-width katakana pairs such as 0xC3 0xA7 are well-formed two-byte UTF-8; no text of up to
// three kana or ASCII bytes is taken for UTF-8, since kana never start a longer sequence.
TEST(Utf8Text, ShortHalfWidthKanaStayShiftJis) {
    std::string bytes;
    for (int c = 0xA1; c <= 0xDF; ++c) bytes += static_cast<char>(c);
    bytes += "A ";
    int accidental = 0;
    for (char a : bytes) {
        for (char b : bytes) {
            for (char c : bytes) {
                const std::string text{a, b, c};
                ASSERT_NE(ClassifyText(text), TextKind::kUtf8) << text;
                accidental += platform::IsWellFormedUtf8(text) && ClassifyText(text) != TextKind::kAscii;
            }
        }
    }
    EXPECT_GT(accidental, 0);  // the case the rule exists for does occur
    EXPECT_EQ(ClassifyText(Sjis("ﾃｧ")), TextKind::kOther);
}

TEST(Utf8Text, ClassesAtTheRulesEdges) {
    EXPECT_EQ(ClassifyText(""), TextKind::kAscii);
    EXPECT_EQ(ClassifyText("plain ASCII\r\n\x7F"), TextKind::kAscii);
    EXPECT_EQ(ClassifyText("\xEF\xBB\xBF"), TextKind::kUtf8);               // the mark alone
    EXPECT_EQ(ClassifyText("\xEF\xBB\xBF" + Sjis("表")), TextKind::kUtf8);  // the mark decides
    EXPECT_EQ(ClassifyText("caf\xC3\xA9"), TextKind::kOther);              // two-byte only
    EXPECT_EQ(ClassifyText("caf\xC3\xA9 \xE2\x82\xAC"), TextKind::kUtf8);  // and a euro sign
    EXPECT_EQ(ClassifyText("\xF0\x9F\x98\x80"), TextKind::kUtf8);          // an emoji
    for (const char* bad : {"\xE6\x97", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                            "\xC0\xAF", "\x80", "\xF5\x80\x80\x80"}) {
        EXPECT_EQ(ClassifyText(std::string("漢字") + bad), TextKind::kOther) << bad;
        EXPECT_FALSE(platform::IsWellFormedUtf8(bad)) << bad;
    }
    // A fault after long runs of ASCII, where whole words are skipped at a time.
    EXPECT_EQ(ClassifyText(std::string(1000, 'a') + "日本" + std::string(1001, 'b') + "\xFF"),
              TextKind::kOther);
}

TEST(Utf8Text, SequenceLengths) {
    const std::string_view text = "a\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80\xE6\x97";
    EXPECT_EQ(platform::Utf8SequenceLength(text, 0), 1u);
    EXPECT_EQ(platform::Utf8SequenceLength(text, 1), 2u);
    EXPECT_EQ(platform::Utf8SequenceLength(text, 2), 0u);  // inside a sequence
    EXPECT_EQ(platform::Utf8SequenceLength(text, 3), 3u);
    EXPECT_EQ(platform::Utf8SequenceLength(text, 6), 4u);
    EXPECT_EQ(platform::Utf8SequenceLength(text, 10), 0u);  // cut short by the end
    EXPECT_EQ(platform::Utf8SequenceLength(text, 99), 0u);
}

}  // namespace
