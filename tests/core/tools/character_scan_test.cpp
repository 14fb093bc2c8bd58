// The character scan: report lines byte for byte, the byte classes, line counting and the
// report over several files; UTF-8 files checked against code page 932's mapping table.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "codepage/mapping_table.h"
#include "host/core/tools/character_scan.h"
#include "scripted_ui.h"
#include "support/temp_folder.h"

namespace {

using host::ScanOptions;
using host::ScanText;
using host::ScanUtf8Text;
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

TEST(ScanUtf8Text, ReportsPlatformDependentAndMissingCharactersWithLineAndCodePoint) {
    const std::string text =
        "x①\r\n"          // NEC row 13
        "㈱Ⅰ\r\n"         // NEC row 13 (Ⅰ also at IBM 0xFA4A)
        "¬￢∵\r\n"        // U+00AC has only a look-alike; ￢ and ∵ have JIS codes too
        "😀漢字\r\n"       // outside the first plane; ordinary kanji
        "髙ⅰ\r\n"         // IBM extension
        "ｱ\xEE\x80\x80";  // half-width katakana; first user-defined character U+E000
    EXPECT_EQ(ScanUtf8Text(text, Defaults()),
              "   1行目:[ ① ] = U+2460 （シフトJISでは機種依存文字 0x8740）\r\n"
              "   2行目:[ ㈱ ] = U+3231 （シフトJISでは機種依存文字 0x878A）\r\n"
              "   2行目:[ Ⅰ ] = U+2160 （シフトJISでは機種依存文字 0x8754）\r\n"
              "   3行目:[ ¬  ] = U+00AC （シフトJISにない文字）\r\n"
              "   4行目:[ 😀 ] = U+1F600 （シフトJISにない文字）\r\n"
              "   5行目:[ 髙 ] = U+9AD9 （シフトJISでは機種依存文字 0xFBFC）\r\n"
              "   5行目:[ ⅰ ] = U+2170 （シフトJISでは機種依存文字 0xFA40）\r\n"
              "   6行目:[ ｱ  ] = U+FF71 （シフトJISでは機種依存文字 0xB1）\r\n"
              "   6行目:[ \xEE\x80\x80 ] = U+E000 （シフトJISでは機種依存文字 0xF040）\r\n");

    // Each option leaves out its range; what Shift JIS lacks is always reported.
    ScanOptions none;
    none.halfWidthKana = none.specialRows = none.extendedArea = none.userArea = false;
    EXPECT_EQ(ScanUtf8Text(text, none),
              "   3行目:[ ¬  ] = U+00AC （シフトJISにない文字）\r\n"
              "   4行目:[ 😀 ] = U+1F600 （シフトJISにない文字）\r\n");
    // A mark is no character; line breaks count as in Shift JIS files.
    EXPECT_EQ(ScanUtf8Text("\xEF\xBB\xBF"
                           "a\nb\r\n①",
                           Defaults()),
              "   2行目:[ ① ] = U+2460 （シフトJISでは機種依存文字 0x8740）\r\n");
    ScanOptions unify;
    unify.unifyLineBreaks = true;
    EXPECT_EQ(ScanUtf8Text("a\nb\n😀", unify),
              "   3行目:[ 😀 ] = U+1F600 （シフトJISにない文字）\r\n");
    // Marks that would disturb the layout are not shown themselves.
    EXPECT_EQ(ScanUtf8Text("\u200D\uFE0F", Defaults()),
              "   1行目:[    ] = U+200D （シフトJISにない文字）\r\n"
              "   1行目:[    ] = U+FE0F （シフトJISにない文字）\r\n");
}

TEST(ScanUtf8Text, BytesThatAreNoUtf8AreReportedAndTheScanGoesOn) {
    const std::string text =
        "\xEF\xBB\xBF①\r\n"
        "\x82\xA0\x82\xA2\x82\xA4\r\n"                // Shift JIS behind a UTF-8 mark
        "x\xE3\x81y\xF0\x9F\x98\r\n"                  // sequences cut short
        "\xC0\xAF\xED\xA0\x80\xF4\x90\x80\x80\xFF①";  // overlong, surrogate, too high
    EXPECT_EQ(ScanUtf8Text(text, Defaults()),
              "   1行目:[ ① ] = U+2460 （シフトJISでは機種依存文字 0x8740）\r\n"
              "   2行目:[ 82 A0 82 A2 ] （UTF-8として読めないバイト）\r\n"
              "   2行目:[ 82 A4 ] （UTF-8として読めないバイト）\r\n"
              "   3行目:[ E3 81 ] （UTF-8として読めないバイト）\r\n"
              "   3行目:[ F0 9F 98 ] （UTF-8として読めないバイト）\r\n"
              "   4行目:[ C0 AF ] （UTF-8として読めないバイト）\r\n"
              "   4行目:[ ED A0 80 ] （UTF-8として読めないバイト）\r\n"
              "   4行目:[ F4 90 80 80 ] （UTF-8として読めないバイト）\r\n"
              "   4行目:[ FF ] （UTF-8として読めないバイト）\r\n"
              "   4行目:[ ① ] = U+2460 （シフトJISでは機種依存文字 0x8740）\r\n");
    // A text cut inside its last character.
    EXPECT_EQ(ScanUtf8Text("\xEF\xBB\xBF\xE2\x91", Defaults()),
              "   1行目:[ E2 91 ] （UTF-8として読めないバイト）\r\n");
}

std::string Utf8Of(char16_t unit) {
    std::string bytes;
    if (unit < 0x800) {
        bytes += static_cast<char>(0xC0 | (unit >> 6));
    } else {
        bytes += static_cast<char>(0xE0 | (unit >> 12));
        bytes += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
    }
    return bytes + static_cast<char>(0x80 | (unit & 0x3F));
}

// The scan's platform-dependent codes, by its Shift JIS rules.
bool IsPlatformDependentCode(unsigned code) {
    return (code >= 0xA1 && code <= 0xDF) || (code >= 0x8540 && code <= 0x889E) ||
           (code >= 0xEB40 && code <= 0xEFFC) || code >= 0xF040;
}

// Every character of the first plane against code page 932's own mapping table: no line when
// it has a code outside the platform-dependent ranges, one naming a code of its when it has only
// platform-dependent ones, and the missing line when it has none that is a Shift JIS character.
TEST(ScanUtf8Text, EveryCharacterAgreesWithTheMappingTable) {
    std::map<char16_t, std::set<unsigned>> codes;
    for (const auto& [code, unit] : testing_support::LoadMappingTable(932).decode) {
        const bool character = code > 0xFF || code < 0x80 || (code >= 0xA1 && code <= 0xDF);
        if (character) {
            codes[unit].insert(code);
        }
    }
    // The table leaves out 0x8145, whose character U+30FB also stands for every undefined code.
    codes[u'\u30FB'].insert(0x8145);
    std::size_t dependent = 0;
    std::size_t missing = 0;
    for (unsigned u = 0x80; u <= 0xFFFF; ++u) {
        if (u >= 0xD800 && u <= 0xDFFF) {
            continue;
        }
        const char16_t unit = static_cast<char16_t>(u);
        // Behind an ASCII letter, so that U+FEFF is not taken for a byte-order mark.
        const std::string report = ScanUtf8Text("a" + Utf8Of(unit), Defaults());
        const auto found = codes.find(unit);
        if (found == codes.end()) {
            ++missing;
            EXPECT_NE(report.find("シフトJISにない文字"), std::string::npos) << std::hex << u;
            continue;
        }
        const std::set<unsigned>& held = found->second;
        if (!std::all_of(held.begin(), held.end(), IsPlatformDependentCode)) {
            EXPECT_EQ(report, "") << std::hex << u;
            continue;
        }
        ++dependent;
        const std::size_t at = report.find("機種依存文字 0x");
        ASSERT_NE(at, std::string::npos) << std::hex << u << " " << report;
        const unsigned shown =
            std::stoul(report.substr(at + std::string("機種依存文字 0x").size()), nullptr, 16);
        EXPECT_EQ(held.count(shown), 1u) << std::hex << u << " " << report;
    }
    // Half-width katakana, the NEC and IBM characters and the user-defined area.
    EXPECT_EQ(dependent, 63u + 447u + 1880u);
    EXPECT_GT(missing, 50000u);
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
    const auto missing = folder.Path("missing.txt");
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

TEST_F(ScanFilesTest, EachFileIsReadInItsOwnEncoding) {
    const auto sjis = folder.Write("sjis.txt", "\x87\x40\r\n\xb1");
    const auto utf8 = folder.Write("utf8.txt", "a\nb\r①\r\nｱ😀");
    // Two half-width katakana that would pass for one two-byte UTF-8 character stay Shift JIS.
    const auto kana = folder.Write("kana.txt", "\xc2\xb1");
    ScanOptions unify;
    unify.unifyLineBreaks = true;
    const auto scan = host::ScanFiles(ui, {sjis, utf8, kana}, unify);
    EXPECT_EQ(scan.text.utf8(),
              "*** " + sjis +
                  " ***\r\n"
                  "   1行目:[ ① ] = 0x8740\r\n"
                  "   2行目:[ ｱ  ] = 0xB1\r\n"
                  "*** " +
                  utf8 +
                  " ***\r\n"
                  "   3行目:[ ① ] = U+2460 （シフトJISでは機種依存文字 0x8740）\r\n"
                  "   4行目:[ ｱ  ] = U+FF71 （シフトJISでは機種依存文字 0xB1）\r\n"
                  "   4行目:[ 😀 ] = U+1F600 （シフトJISにない文字）\r\n"
                  "シフトJISへの変換で置き換わる文字：〓 1か所（4行目から）、&#x…; 1か所（4行目から）\r\n"
                  "*** " +
                  kana +
                  " ***\r\n"
                  "   1行目:[ ﾂ  ] = 0xC2\r\n"
                  "   1行目:[ ｱ  ] = 0xB1\r\n"
                  "*** スキャン終了 ***\r\n");
}

// The counts of unibridge's fallbacks, before any conversion: a whole emoji sequence is one
// 〓, a customary form and a dropped selector count too; the lossless one counts every
// character that would not come back, each look-alike and each '&' that begins a reference.
TEST_F(ScanFilesTest, WhatTheFallbacksWouldReplaceIsCounted) {
    const auto utf8 = folder.Write(
        "utf8.txt", "漢字\n\U0001F468\u200D\U0001F469 頰 葛\U000E0100\n〜 &#x41; &amp;");
    const auto clean = folder.Write("clean.txt", "漢字と①\n");
    const auto utf16 = folder.Write("utf16.txt", std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6));
    const auto scan = host::ScanFiles(ui, {utf8, clean, utf16}, Defaults());
    const std::string text = scan.text.utf8();
    EXPECT_NE(text.find("シフトJISへの変換で置き換わる文字：〓 3か所（2行目から）、&#x…; 7か所（2行目から）\r\n*** " + clean),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("*** " + clean + " ***\r\n   1行目:[ ① ] = U+2460 （シフトJISでは機種依存文字 0x8740）\r\n*** "),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("シフトJISへの変換で置き換わる文字：〓 1か所（1行目から）、&#x…; 1か所（1行目から）\r\n*** スキャン終了"),
              std::string::npos)
        << text;
}

TEST_F(ScanFilesTest, BinaryFilesAreNamedAsSuchAndNotScanned) {
    // Both would report a character on every other byte.
    const auto png = folder.Write("image.png", std::string("\x89PNG\r\n\x1A\n\x87\x40\xB1", 11));
    const auto zeros = folder.Write("data", std::string("\xB1\0\x87\x40", 4));
    const auto scan = host::ScanFiles(ui, {png, zeros}, Defaults());
    EXPECT_EQ(scan.unreadable, 0u);
    EXPECT_EQ(scan.text.utf8(), "*** " + png +
                                    " ***\r\n"
                                    "バイナリファイルのため、スキャンしませんでした。（PNG）\r\n"
                                    "*** " +
                                    zeros +
                                    " ***\r\n"
                                    "バイナリファイルのため、スキャンしませんでした。"
                                    "（byte 0x00 at offset 1）\r\n"
                                    "*** スキャン終了 ***\r\n");
}

TEST_F(ScanFilesTest, EmptyListIsAnErrorAndNothingIsScanned) {
    const auto scan = host::ScanFiles(ui, {}, Defaults());
    EXPECT_FALSE(scan.ran);
    EXPECT_EQ(ui.log,
              std::vector<std::string>{"box 16 エラー: スキャン対象ファイルがリストにありません"});
}

}  // namespace
