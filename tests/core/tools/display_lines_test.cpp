// Bytes as lines a view shows, and two texts' lines side by side: every form of the same text
// reads the same, line breaks are kept per line, faults show and are counted, binary bytes
// dump; the alignment covers both texts in order and keeps as many lines as they share.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "host/core/tools/display_lines.h"
#include "host/core/tools/line_alignment.h"

namespace {

using host::DisplayLines;
using host::LineBreak;
using platform::TextForm;

DisplayLines Lines(const std::string& bytes) {
    return DisplayLines::Decode(
        {reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()});
}

// "日本語のテキスト\r\nｶﾅ\n" in each form the detection knows.
struct Sample {
    TextForm form;
    std::string bytes;
};
const std::string kKanjiUtf8 = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE"
                               "\xE3\x83\x86\xE3\x82\xAD\xE3\x82\xB9\xE3\x83\x88";
const std::string kKanaUtf8 = "\xEF\xBD\xB6\xEF\xBE\x85";

std::vector<Sample> Samples() {
    const std::string utf8 = kKanjiUtf8 + "\r\n" + kKanaUtf8 + "\n";
    std::string le = "\xFF\xFE", be = "\xFE\xFF";
    const char16_t units[] = {0x65E5, 0x672C, 0x8A9E, 0x306E, 0x30C6, 0x30AD, 0x30B9,
                              0x30C8, 0x000D, 0x000A, 0xFF76, 0xFF85, 0x000A};
    for (const char16_t unit : units) {
        le += static_cast<char>(unit & 0xFF);
        le += static_cast<char>(unit >> 8);
        be += static_cast<char>(unit >> 8);
        be += static_cast<char>(unit & 0xFF);
    }
    return {
        {TextForm::kSjis, "\x93\xFA\x96\x7B\x8C\xEA\x82\xCC\x83\x65\x83\x4C\x83\x58\x83\x67"
                          "\r\n\xB6\xC5\n"},
        {TextForm::kEuc, "\xC6\xFC\xCB\xDC\xB8\xEC\xA4\xCE\xA5\xC6\xA5\xAD\xA5\xB9\xA5\xC8"
                         "\r\n\x8E\xB6\x8E\xC5\n"},
        {TextForm::kJis, "\x1B$BF|K\\8l$N%F%-%9%H\x1B(B\r\n\x1B(I6E\x1B(B\n"},
        {TextForm::kUtf8, utf8},
        {TextForm::kUtf8Bom, "\xEF\xBB\xBF" + utf8},
        {TextForm::kUtf16Le, le},
        {TextForm::kUtf16Be, be},
    };
}

TEST(DisplayLines, EveryFormOfATextReadsTheSame) {
    for (const Sample& sample : Samples()) {
        SCOPED_TRACE(platform::TextFormName(sample.form));
        const DisplayLines lines = Lines(sample.bytes);
        EXPECT_FALSE(lines.binary());
        EXPECT_EQ(lines.form(), sample.form);
        EXPECT_EQ(lines.faults(), 0u);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines.Text(0), kKanjiUtf8);
        EXPECT_EQ(lines.Break(0), LineBreak::kCrLf);
        EXPECT_EQ(lines.Text(1), kKanaUtf8);
        EXPECT_EQ(lines.Break(1), LineBreak::kLf);
        EXPECT_EQ(lines.byteCount(), sample.bytes.size());
    }
    // The same text in two forms: the same lines.
    const DisplayLines sjis = Lines(Samples()[0].bytes), utf16 = Lines(Samples()[5].bytes);
    EXPECT_TRUE(sjis.Same(0, utf16, 0));
    EXPECT_EQ(sjis.Hash(1), utf16.Hash(1));
}

TEST(DisplayLines, KeepsEachLinesBreakAndSplitsNothingElse) {
    const DisplayLines lines = Lines("a\r\nb\rc\nd");
    ASSERT_EQ(lines.size(), 4u);
    const LineBreak breaks[] = {LineBreak::kCrLf, LineBreak::kCr, LineBreak::kLf,
                                LineBreak::kNone};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(lines.Text(i), std::string(1, "abcd"[i]));
        EXPECT_EQ(lines.Break(i), breaks[i]);
    }
    EXPECT_EQ(Lines("").size(), 0u);
    EXPECT_EQ(Lines("\n\n").size(), 2u);
    // A line that differs only in its break is not the same line.
    EXPECT_FALSE(Lines("x\r\n").Same(0, Lines("x\n"), 0));
    EXPECT_TRUE(Lines("x\r\n").Same(0, Lines("x\r\n"), 0));

    // Generated texts of letters, kana and breaks come back whole from their lines.
    std::mt19937 random(31);
    const std::vector<std::string> pieces = {"a", "\r", "\n", "\r\n", "\xE3\x81\x82", " "};
    for (int round = 0; round < 300; ++round) {
        std::string text;
        const int length = static_cast<int>(random() % 40);
        for (int k = 0; k < length; ++k) text += pieces[random() % pieces.size()];
        const DisplayLines split = Lines(text);
        std::string joined;
        for (std::size_t i = 0; i < split.size(); ++i) {
            const LineBreak lineBreak = split.Break(i);
            joined += split.Text(i) + (lineBreak == LineBreak::kCrLf ? "\r\n"
                                       : lineBreak == LineBreak::kLf ? "\n"
                                       : lineBreak == LineBreak::kCr ? "\r"
                                                                     : "");
        }
        ASSERT_EQ(joined, text);
    }
}

TEST(DisplayLines, BadBytesShowAsReplacementsAndAreCounted) {
    std::size_t faults = 0;
    const std::string bytes = "a\x81 b\x82";
    const std::string text = host::DecodeToUtf8(
        {reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()}, TextForm::kSjis,
        faults);
    EXPECT_EQ(faults, 2u);
    EXPECT_EQ(text, "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");
    // An odd byte at the end of UTF-16, and a lone surrogate.
    const std::string utf16 = std::string("\xFF\xFE" "A\0\x00\xD8" "B\0C", 9);
    EXPECT_EQ(host::DecodeToUtf8({reinterpret_cast<const unsigned char*>(utf16.data()),
                                  utf16.size()},
                                 TextForm::kUtf16Le, faults),
              "A\xEF\xBF\xBD" "B\xEF\xBF\xBD");
    EXPECT_EQ(faults, 2u);
}

TEST(DisplayLines, BinaryBytesDumpSixteenALine) {
    std::string png = "\x89PNG\r\n\x1A\n";
    png += std::string("\0\0\0\rIHDR\0\0\0\x01\0\0\0\x01\x08\x06\0\0\0\0\0\0\0", 25);
    const DisplayLines lines = Lines(png);
    ASSERT_TRUE(lines.binary());
    EXPECT_EQ(lines.binaryReason(), "PNG");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines.Text(0),
              "00000000  89 50 4E 47 0D 0A 1A 0A 00 00 00 0D 49 48 44 52  .PNG........IHDR");
    EXPECT_EQ(lines.Text(2).substr(0, 13), "00000020  00 ");
    EXPECT_EQ(lines.Text(2).substr(lines.Text(2).size() - 3), "  .");
    EXPECT_EQ(lines.longestLine(), lines.Text(0).size());
    EXPECT_TRUE(lines.Same(1, Lines(png), 1));
    // A dump line is never the same as a text line, nor as the same bytes elsewhere.
    EXPECT_FALSE(lines.Same(0, Lines("x"), 0));
    const std::string twice = png.substr(0, 16) + png.substr(0, 16);
    EXPECT_FALSE(Lines(twice).Same(1, Lines(twice), 0));
}

TEST(DisplayLines, ShownLinesExpandTabsByColumnsAndNameControls) {
    EXPECT_EQ(host::ShownLine("a\tb"), "a       b");
    // A kanji takes two columns, a half-width kana one.
    EXPECT_EQ(host::ShownLine("\xE6\x97\xA5\tb"), "\xE6\x97\xA5      b");
    EXPECT_EQ(host::ShownLine("\xEF\xBD\xB6\tb"), "\xEF\xBD\xB6       b");
    EXPECT_EQ(host::ShownLine("x\x0C\x1B\x7F"), "x^L^[^?");
    EXPECT_EQ(host::ShownLine(""), "");
}

// ---- alignment ----

std::string Joined(const std::vector<int>& symbols) {
    std::string text;
    for (const int s : symbols) text += std::string(1, static_cast<char>('a' + s)) + "\n";
    return text;
}

std::size_t CommonLength(const std::vector<int>& a, const std::vector<int>& b) {
    std::vector<std::vector<std::size_t>> table(a.size() + 1,
                                                std::vector<std::size_t>(b.size() + 1, 0));
    for (std::size_t i = a.size(); i-- > 0;) {
        for (std::size_t j = b.size(); j-- > 0;) {
            table[i][j] = a[i] == b[j] ? table[i + 1][j + 1] + 1
                                       : std::max(table[i + 1][j], table[i][j + 1]);
        }
    }
    return table[0][0];
}

// Rows take every line of both texts once, in order; unchanged rows hold equal lines.
void ExpectCovers(const std::vector<host::AlignedRow>& rows, const DisplayLines& before,
                  const DisplayLines& after) {
    std::uint32_t nextBefore = 0, nextAfter = 0;
    for (const host::AlignedRow& row : rows) {
        ASSERT_TRUE(row.before != host::AlignedRow::kNoLine ||
                    row.after != host::AlignedRow::kNoLine);
        if (row.before != host::AlignedRow::kNoLine) {
            ASSERT_EQ(row.before, nextBefore++);
        }
        if (row.after != host::AlignedRow::kNoLine) {
            ASSERT_EQ(row.after, nextAfter++);
        }
        const bool both =
            row.before != host::AlignedRow::kNoLine && row.after != host::AlignedRow::kNoLine;
        ASSERT_EQ(row.changed, !both || !before.Same(row.before, after, row.after));
    }
    ASSERT_EQ(nextBefore, before.size());
    ASSERT_EQ(nextAfter, after.size());
}

TEST(LineAlignment, GeneratedTextsKeepEveryLineTheyShare) {
    std::mt19937 random(7);
    for (int round = 0; round < 400; ++round) {
        std::vector<int> a(random() % 30), b;
        for (int& s : a) s = static_cast<int>(random() % 4);
        // The second text: the first with lines removed, added and replaced.
        for (const int s : a) {
            const unsigned roll = random() % 10;
            if (roll == 0) continue;
            if (roll == 1) b.push_back(static_cast<int>(random() % 4));
            b.push_back(roll == 2 ? static_cast<int>(random() % 4) : s);
        }
        const DisplayLines before = Lines(Joined(a)), after = Lines(Joined(b));
        const auto rows = host::AlignLines(before, after);
        SCOPED_TRACE(Joined(a) + "--\n" + Joined(b));
        ExpectCovers(rows, before, after);
        const auto kept = static_cast<std::size_t>(std::count_if(
            rows.begin(), rows.end(), [](const host::AlignedRow& r) { return !r.changed; }));
        if (a.size() != b.size()) {
            EXPECT_EQ(kept, CommonLength(a, b));
        }
    }
}

TEST(LineAlignment, EqualCountsAndSpentBudgetsPairByPlace) {
    // As many lines on both sides: line i beside line i.
    const DisplayLines before = Lines("a\nb\nc\nd\n"), after = Lines("a\nc\nb\nd\n");
    const auto rows = host::AlignLines(before, after);
    ASSERT_EQ(rows.size(), 4u);
    for (std::uint32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(rows[i].before, i);
        EXPECT_EQ(rows[i].after, i);
    }
    EXPECT_TRUE(rows[1].changed && rows[2].changed && !rows[3].changed);

    // Too many edits for the budget: by place, the rest standing alone, still complete.
    const DisplayLines many = Lines("x\na\nb\nc\nd\ne\n"), few = Lines("x\nf\ng\n");
    const auto cheap = host::AlignLines(many, few, 1);
    ExpectCovers(cheap, many, few);
    ASSERT_EQ(cheap.size(), 6u);
    EXPECT_EQ(cheap[1].after, 1u);
    EXPECT_EQ(cheap[5].after, host::AlignedRow::kNoLine);

    // A removed run beside the added run that replaces it.
    const DisplayLines old = Lines("k\nr1\nr2\nr3\nk2\n"), made = Lines("k\nn1\nk2\n");
    const auto paired = host::AlignLines(old, made);
    ExpectCovers(paired, old, made);
    ASSERT_EQ(paired.size(), 5u);
    EXPECT_EQ(paired[1].before, 1u);
    EXPECT_EQ(paired[1].after, 1u);
    EXPECT_EQ(paired[2].after, host::AlignedRow::kNoLine);
}

}  // namespace
