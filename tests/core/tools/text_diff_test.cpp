// The dry run's diff: random line lists whose diff, applied to the text before, gives the text
// after with no more changed lines than the longest common subsequence leaves; hunks with their
// context and ranges; line endings; display decoding of every legacy and Unicode form; binary
// results summed up.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "host/core/tools/text_diff.h"
#include "support/other_forms.h"
#include "support/sample_text.h"

namespace {

using host::SplitLines;
using host::UnifiedDiff;

std::span<const unsigned char> Bytes(const std::string& text) {
    return {reinterpret_cast<const unsigned char*>(text.data()), text.size()};
}

std::size_t LongestCommon(const std::vector<std::string>& a, const std::vector<std::string>& b) {
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

// Applies the hunks of `diff` to `before`; counts the lines it removes and adds.
std::vector<std::string> Patch(const std::vector<std::string>& before, const std::string& diff,
                               std::size_t& changed) {
    std::vector<std::string> after;
    std::size_t next = 0;  // the next line of before not yet copied
    std::istringstream lines(diff);
    std::string line;
    std::getline(lines, line);  // ---
    std::getline(lines, line);  // +++
    while (std::getline(lines, line)) {
        if (line.rfind("@@ -", 0) == 0) {
            std::size_t start = std::stoul(line.substr(4));
            const std::size_t comma = line.find(',');
            const std::size_t space = line.find(' ', 4);
            const bool empty = comma < space && line.substr(comma + 1, 1) == "0";
            start = empty ? start : start - 1;
            while (next < start) {
                after.push_back(before[next++]);
            }
        } else if (line[0] == ' ') {
            after.push_back(before[next++]);
        } else if (line[0] == '-') {
            EXPECT_EQ(line.substr(1) + "\n", before[next]);
            ++next;
            ++changed;
        } else if (line[0] == '+') {
            after.push_back(line.substr(1) + "\n");
            ++changed;
        }
    }
    while (next < before.size()) {
        after.push_back(before[next++]);
    }
    return after;
}

TEST(TextDiff, RandomLinesPatchBackWithTheFewestChanges) {
    std::uint32_t seed = 7;
    const auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> before;
        std::vector<std::string> after;
        const std::size_t alphabet = 2 + next() % 6;
        for (std::size_t i = next() % 40; i > 0; --i) {
            before.push_back("l" + std::to_string(next() % alphabet) + "\n");
        }
        for (std::size_t i = next() % 40; i > 0; --i) {
            after.push_back("l" + std::to_string(next() % alphabet) + "\n");
        }
        const std::size_t context = next() % 4;
        const std::string diff = UnifiedDiff(before, after, context, "a", "b");
        if (before == after) {
            EXPECT_TRUE(diff.empty());
            continue;
        }
        ASSERT_EQ(diff.rfind("--- a\n+++ b\n@@ -", 0), 0u) << diff;
        std::size_t changed = 0;
        EXPECT_EQ(Patch(before, diff, changed), after) << diff;
        EXPECT_EQ(changed, before.size() + after.size() - 2 * LongestCommon(before, after))
            << diff;
    }
}

TEST(TextDiff, HunksKeepTheirContextAndLineEndingsShow) {
    std::vector<std::string> before;
    for (int i = 1; i <= 20; ++i) {
        before.push_back(std::to_string(i) + "\n");
    }
    std::vector<std::string> after = before;
    after[1] = "two\n";
    after[4] = "five\n";  // 2 kept lines apart from the first change: one hunk with context 1
    after[15] = "sixteen\n";
    EXPECT_EQ(UnifiedDiff(before, after, 1, "a", "b"),
              "--- a\n+++ b\n"
              "@@ -1,6 +1,6 @@\n 1\n-2\n+two\n 3\n 4\n-5\n+five\n 6\n"
              "@@ -15,3 +15,3 @@\n 15\n-16\n+sixteen\n 17\n");
    // Lines added at the very start and removed at the very end.
    EXPECT_EQ(UnifiedDiff({"x\n"}, {"new\n", "x\n"}, 0, "a", "b"),
              "--- a\n+++ b\n@@ -0,0 +1 @@\n+new\n");
    EXPECT_EQ(UnifiedDiff({"x\n", "y"}, {"x\n"}, 0, "a", "b"),
              "--- a\n+++ b\n@@ -2 +1,0 @@\n-y\n\\ No newline at end of file\n");

    EXPECT_EQ(SplitLines("a\r\nb\rc\nd"),
              (std::vector<std::string>{"a\r\n", "b\r", "c\n", "d"}));
    EXPECT_EQ(UnifiedDiff(SplitLines("a\r\nb\n"), SplitLines("a\nb\n"), 0, "a", "b"),
              "--- a\n+++ b\n@@ -1 +1 @@\n-a^M\n+a\n");
}

TEST(TextDiff, DecodesEveryFormForDisplay) {
    const std::string utf8 = "日本語ｶﾅ①\n";
    const std::string sjis = testing_support::Sjis(utf8);
    using platform::TextForm;
    EXPECT_EQ(host::DecodeForDisplay(Bytes(sjis), TextForm::kSjis), utf8);
    EXPECT_EQ(host::DecodeForDisplay(Bytes(testing_support::EucFromSjis(sjis)), TextForm::kEuc),
              utf8);
    EXPECT_EQ(host::DecodeForDisplay(Bytes(testing_support::JisFromSjis(sjis)), TextForm::kJis),
              utf8);
    EXPECT_EQ(host::DecodeForDisplay(Bytes(testing_support::Utf16FromSjis(sjis, true, true)),
                                     TextForm::kUtf16Be),
              utf8);
    EXPECT_EQ(host::DecodeForDisplay(Bytes(testing_support::Utf16FromSjis(sjis, false, false)),
                                     TextForm::kUtf16LeBare),
              utf8);
    EXPECT_EQ(host::DecodeForDisplay(Bytes("\xEF\xBB\xBF" + utf8), TextForm::kUtf8Bom), utf8);
    EXPECT_EQ(host::DecodeForDisplay(Bytes("a\xFF" "b"), TextForm::kUtf8), "a\xEF\xBF\xBD" "b");

    // Before in EUC-JP, after in UTF-8: each side named and decoded by its own form.
    const std::string euc = testing_support::EucFromSjis(testing_support::Sjis(
        std::string(400, 'x') + "\n漢字の行です。\n同じ行です。\n"));
    const std::string diff = host::ConversionDiff(
        Bytes(euc), Bytes(std::string(400, 'x') + "\n漢字の行です。\n同じ行です！\n"), 0,
        "in.txt", "out.txt");
    EXPECT_EQ(diff, "--- in.txt (EUC-JP)\n+++ out.txt (UTF-8)\n@@ -3 +3 @@\n-同じ行です。\n"
                    "+同じ行です！\n");

    // The same text in another encoding: the labels alone; the same bytes: nothing.
    const std::string sjisText = testing_support::Sjis(std::string(400, 'x') + "\n漢字\n");
    EXPECT_EQ(host::ConversionDiff(Bytes(sjisText), Bytes(testing_support::EucFromSjis(sjisText)),
                                   3, "a", "b"),
              "--- a (Shift JIS)\n+++ b (EUC-JP)\n");
    EXPECT_EQ(host::ConversionDiff(Bytes(sjisText), Bytes(sjisText), 3, "a", "b"), "");

    const std::string png("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16);
    EXPECT_EQ(host::ConversionDiff(Bytes(png), Bytes(png.substr(0, 12) + "XXXXX"), 3, "a", "b"),
              "Binary a (16 bytes) and b (17 bytes) differ from offset 12\n");
}

}  // namespace
