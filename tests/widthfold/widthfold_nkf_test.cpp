// widthfold on UTF-8 against nkf's width folding, on the characters where their rules agree:
// half-width katakana to full width as `nkf -X`, and full-width ASCII forms and the
// ideographic space to ASCII as `nkf -Z1` (which also widens katakana, so the chain of functions
// 0, 2, 4 and 6 is compared). nkf pairs characters as JIS X 0208 does, so it keeps ＂ ＇ ～ and
// turns ” ’ ‘ into " ' ` and ￥ ￣ − into ¥ ‾ -, where widthfold folds the first three as NFKC
// does and keeps the others; even with -X alone it turns ￥ into ¥ and － (U+FF0D) into −
// (U+2212). Those characters are left out. Skipped where nkf is not installed.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "nfkc_expectations.h"
#include "platform/utf8_text.h"
#include "support/run_program.h"
#include "support/sample_text.h"
#include "support/temp_folder.h"
#include "widthfold_plugin.h"

namespace {

using testing_support::RunShell;

std::string Fold(uint32_t function, const std::string& text) {
    return widthfold_test::Widthfold().Run(function, text).value_or("<failed>");
}

bool HasNkf() {
    return RunShell(".", "command -v nkf").status == 0;
}

std::string Nkf(const std::string& options, const std::string& text) {
    testing_support::TempFolder folder;
    folder.Write("in.txt", text);
    const auto outcome = RunShell(folder.path(), "nkf -W -w " + options + " in.txt");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    return outcome.out;
}

std::string Without(const std::string& text, const std::vector<std::string>& left) {
    std::string kept;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = std::max<std::size_t>(platform::Utf8SequenceLength(text, i), 1);
        const std::string c = text.substr(i, length);
        if (std::find(left.begin(), left.end(), c) == left.end()) {
            kept += c;
        }
        i += length;
    }
    return kept;
}

// Sample prose, every half-width katakana alone and with both sound marks, and every full-width
// form NFKC folds to ASCII.
std::string Sample() {
    std::string text = testing_support::JapaneseUtf8Text(32 * 1024);
    for (unsigned c = 0xFF61; c <= 0xFF9F; ++c) {
        const std::string kana{static_cast<char>(0xEF), static_cast<char>(0x80 | (c >> 6 & 0x3F)),
                               static_cast<char>(0x80 | (c & 0x3F))};
        text += kana + "ﾞ" + kana + "ﾟ" + kana + "\n";
    }
    return text + std::string(widthfold_test::kNfkcWide) + "\n";
}

TEST(WidthfoldNkf, KatakanaAsNkfWidens) {
    if (!HasNkf()) {
        GTEST_SKIP() << "nkf is not installed";
    }
    const std::string text = Without(Sample(), {"￥", "－"});
    EXPECT_TRUE(Fold(0, text) == Nkf("-X", text));
}

TEST(WidthfoldNkf, FullWidthAsciiFormsAsNkfNarrows) {
    if (!HasNkf()) {
        GTEST_SKIP() << "nkf is not installed";
    }
    const std::string text = Without(Sample(), {"＂", "＇", "～", "”", "’", "‘", "￥", "￣", "−"});
    std::string folded = text;
    for (uint32_t f : {0, 2, 4, 6}) {
        folded = Fold(f, folded);
    }
    EXPECT_TRUE(folded == Nkf("-Z1", text));
}

}  // namespace
