// The character scan: report lines byte for byte, the byte classes, line counting and the
// report over several files.
#include <gtest/gtest.h>

#include "host/core/character_scan.h"
#include "scripted_ui.h"
#include "support/temp_folder.h"

namespace {

using host::ScanOptions;
using host::ScanText;
using host_testing::ScriptedUi;
using testing_support::TempFolder;

ScanOptions Defaults() {
    return {};
}

// "   3行目:[ " in Shift JIS, for the line number given.
std::string Prefix(const std::string& number) {
    return number + "\x8d\x73\x96\xda:[ ";
}

TEST(ScanText, ReportLinesAreByteForByte) {
    // 0x8740 (a circled digit) on the third CR LF line.
    EXPECT_EQ(ScanText("a\r\nb\r\nx\x87\x40y\r\n", Defaults()),
              Prefix("   3") + "\x87\x40 ] = 0x8740\r\n");
    // A half-width katakana byte: the byte itself and two blanks.
    EXPECT_EQ(ScanText("\xb1", Defaults()), Prefix("   1") + "\xb1  ] = 0xB1\r\n");
    // Line numbers wider than four columns are not cut.
    std::string many;
    for (int i = 1; i < 12345; ++i) {
        many += "\r\n";
    }
    EXPECT_EQ(ScanText(many + "\xf0\x40", Defaults()), Prefix("12345") + "\xf0\x40 ] = 0xF040\r\n");
}

TEST(ScanText, ByteClassesAndRanges) {
    struct Case {
        const char* name;
        std::string text;
        std::string report;
    };
    const std::vector<Case> cases = {
        {"trail byte in the kana range is not kana", "\x83\xb1", ""},
        {"kana after a full character", "\x82\xa0\xb2", Prefix("   1") + "\xb2  ] = 0xB2\r\n"},
        {"0xA0 and 0xFD-0xFF are invalid, not kana", "\xa0\xfd\xfe\xff", ""},
        {"lowest special", "\x85\x40", Prefix("   1") + "\x85\x40 ] = 0x8540\r\n"},
        {"highest special", "\x88\x9e", Prefix("   1") + "\x88\x9e ] = 0x889E\r\n"},
        {"just above the special rows", "\x88\x9f", ""},
        {"just below the special rows", "\x84\xfc", ""},
        {"extended", "\xed\x40", Prefix("   1") + "\xed\x40 ] = 0xED40\r\n"},
        {"end of extended", "\xef\xfc", Prefix("   1") + "\xef\xfc ] = 0xEFFC\r\n"},
        {"between extended and user area", "\xea\xa4", ""},
        {"user area top", "\xfc\xfc", Prefix("   1") + "\xfc\xfc ] = 0xFCFC\r\n"},
        {"lead then invalid byte then kana", "\x87\x0a\xb1", Prefix("   1") + "\xb1  ] = 0xB1\r\n"},
        {"0x00 is invalid and the scan goes on", std::string("\x00\x87\x40", 3),
         Prefix("   1") + "\x87\x40 ] = 0x8740\r\n"},
        {"lead byte at the end", "abc\x87", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ScanText(c.text, Defaults()), c.report) << c.name;
    }
}

TEST(ScanText, EachOptionLeavesOutItsRange) {
    const std::string text = "\xb1\x87\x40\xed\x40\xf0\x40";
    ScanOptions options;
    options.halfWidthKana = false;
    options.specialRows = false;
    options.extendedArea = false;
    options.userArea = false;
    EXPECT_EQ(ScanText(text, options), "");
    options.extendedArea = true;
    EXPECT_EQ(ScanText(text, options), Prefix("   1") + "\xed\x40 ] = 0xED40\r\n");
}

TEST(ScanText, LineCountingWithAndWithoutUnifying) {
    ScanOptions unify;
    unify.unifyLineBreaks = true;
    // Without the option only CR LF counts; lone LF and lone CR do not.
    EXPECT_EQ(ScanText("a\nb\n\xb1", Defaults()), Prefix("   1") + "\xb1  ] = 0xB1\r\n");
    EXPECT_EQ(ScanText("a\rb\r\xb1", Defaults()), Prefix("   1") + "\xb1  ] = 0xB1\r\n");
    EXPECT_EQ(ScanText("a\nb\n\xb1", unify), Prefix("   3") + "\xb1  ] = 0xB1\r\n");
}

TEST(UnifyLineBreaks, EveryBreakBecomesOneLf) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", ""},         {"a\r\nb", "a\nb"}, {"a\rb", "a\nb"},
        {"a\nb", "a\nb"}, {"\r\r", "\n\n"},   {"\r\r\n", "\n\n"},
        {"\n\r", "\n\n"}, {"x\r", "x\n"},     {std::string("\r\0", 2), std::string("\n\0", 2)},
    };
    for (auto [in, expected] : cases) {
        std::string text = in;
        host::UnifyLineBreaks(text);
        EXPECT_EQ(text, expected) << testing::PrintToString(in);
    }
}

class ScanFilesTest : public ::testing::Test {
  protected:
    ScriptedUi ui;
    TempFolder folder;
};

TEST_F(ScanFilesTest, TwoFilesFollowEachOtherThenTheEndLine) {
    const auto empty = folder.Write("empty.txt", "");
    const auto kana = folder.Write("kana.txt", "x\r\ny\r\n\xb1");
    const auto scan = host::ScanFiles(ui, {empty, kana}, Defaults());
    EXPECT_TRUE(scan.ran);
    EXPECT_EQ(scan.unreadable, 0u);
    EXPECT_EQ(scan.text.cp932(),
              "*** " + empty + " ***\r\n*** " + kana + " ***\r\n" + Prefix("   3") +
                  "\xb1  ] = 0xB1\r\n" +
                  "*** \x83\x58\x83\x4c\x83\x83\x83\x93\x8f\x49\x97\xb9 ***\r\n");
    EXPECT_EQ(ui.log, std::vector<std::string>{"beep"});
    EXPECT_EQ(ui.maxWaitDepth, 1);
    EXPECT_EQ(ui.waitDepth, 0);
}

TEST_F(ScanFilesTest, UnreadableFileGivesItsErrorLineAndTheScanGoesOn) {
    const auto missing = folder.str() + "/missing.txt";
    const auto special = folder.Write("special.txt", "\x87\x40");
    const auto scan = host::ScanFiles(ui, {missing, special}, Defaults());
    EXPECT_EQ(scan.unreadable, 1u);
    EXPECT_EQ(scan.text.utf8(), "*** " + missing +
                                    " ***\r\n"
                                    "エラー: ファイルをオープンできません。\r\n"
                                    "*** " +
                                    special +
                                    " ***\r\n"
                                    "   1行目:[ ① ] = 0x8740\r\n"
                                    "*** スキャン終了 ***\r\n");
}

TEST_F(ScanFilesTest, UnifyingReadsTheFileWithItsOwnBreaks) {
    const auto file = folder.Write("lf.txt", "a\nb\r\rc\r\n\xb1");
    ScanOptions unify;
    unify.unifyLineBreaks = true;
    EXPECT_EQ(host::ScanOneFile(file, unify).report.utf8(),
              "*** " + file + " ***\r\n   5行目:[ ｱ  ] = 0xB1\r\n");
    EXPECT_EQ(host::ScanOneFile(file, Defaults()).report.utf8(),
              "*** " + file + " ***\r\n   2行目:[ ｱ  ] = 0xB1\r\n");
}

TEST_F(ScanFilesTest, EmptyListIsAnErrorAndNothingIsScanned) {
    const auto scan = host::ScanFiles(ui, {}, Defaults());
    EXPECT_FALSE(scan.ran);
    EXPECT_EQ(ui.log,
              std::vector<std::string>{"box 16 エラー: スキャン対象ファイルがリストにありません"});
}

}  // namespace
