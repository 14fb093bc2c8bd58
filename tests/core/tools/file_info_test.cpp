// The file information: the encoding and encswap's differing reading, line breaks in bytes and
// in UTF-16 units, the platform-dependent characters of every form counted by vendor, binary
// and unreadable files, and the cells the command line and the windows show.
#include <gtest/gtest.h>

#include <fstream>
#include <span>
#include <string>

#include "host/core/tools/file_info.h"
#include "support/other_forms.h"
#include "support/sample_text.h"
#include "support/temp_folder.h"

namespace {

using host::DescribeFile;
using host::FileInfo;
using host::FileInfoCells;
using host::LineBreakCell;
using platform::LegacyGuess;
using platform::TextForm;

FileInfo Describe(const std::string& bytes) {
    return DescribeFile("f.txt", std::span(reinterpret_cast<const unsigned char*>(bytes.data()),
                                           bytes.size()));
}

// Japanese prose without half-width katakana, in UTF-8.
std::string Utf8Prose() {
    std::string text;
    for (int i = 0; i < 60; ++i) {
        text += "日本語の文章です。漢字と仮名を含み、記号「」も使います。\r\n";
    }
    return text;
}

// The same prose in Shift JIS, which every detection takes for Shift JIS, with `extra` inside.
std::string Prose(const std::string& extra = {}) {
    const std::string half = testing_support::Sjis(Utf8Prose());
    return half + extra + half;
}

TEST(FileInfo, NamesTheFormAndEncswapsReadingWhereItDiffers) {
    const struct {
        std::string bytes;
        TextForm form;
        std::optional<LegacyGuess> encswap;
    } cases[] = {
        {Prose(), TextForm::kSjis, std::nullopt},
        // A half-width katakana first: encswap takes the text for EUC-JP.
        {"\xB1\xB2\xB3 " + Prose(), TextForm::kSjis, LegacyGuess::kEuc},
        {testing_support::EucFromSjis(Prose()), TextForm::kEuc, std::nullopt},
        {testing_support::JisFromSjis(Prose()), TextForm::kJis, std::nullopt},
        {"plain text\n", TextForm::kAscii, std::nullopt},
        // ESC $ alone is JIS to encswap, not to the shared detection.
        {"a\x1B$x b\n", TextForm::kAscii, LegacyGuess::kJis},
        // Two-byte UTF-8 alone is no UTF-8 to encswap, which then reads EUC-JP.
        {"caf\xC3\xA9 cr\xC3\xA8me\n", TextForm::kUtf8, LegacyGuess::kEuc},
        {Utf8Prose(), TextForm::kUtf8, std::nullopt},
        {"\xEF\xBB\xBFok\n", TextForm::kUtf8Bom, std::nullopt},
        {testing_support::Utf16FromSjis(Prose(), false, true), TextForm::kUtf16Le, std::nullopt},
        {testing_support::Utf16FromSjis(Prose(), true, false), TextForm::kUtf16BeBare,
         std::nullopt},
    };
    for (const auto& c : cases) {
        const FileInfo info = Describe(c.bytes);
        EXPECT_FALSE(info.binary);
        EXPECT_EQ(info.form, c.form) << platform::TextFormName(info.form);
        EXPECT_EQ(info.encswapGuess, c.encswap) << platform::TextFormName(c.form);
        EXPECT_EQ(info.size, c.bytes.size());
    }
}

TEST(FileInfo, CountsLineBreaksInTheTextsOwnUnits) {
    const auto breaks = [](const std::string& bytes) { return Describe(bytes).breaks; };
    EXPECT_EQ(breaks("a\r\nb\r\n"), (host::LineBreakCounts{2, 0, 0}));
    EXPECT_EQ(breaks("a\nb\rc\r\r\n\r"), (host::LineBreakCounts{1, 1, 3}));
    EXPECT_EQ(breaks("\n"), (host::LineBreakCounts{0, 1, 0}));
    EXPECT_EQ(breaks(""), (host::LineBreakCounts{}));
    // A CR at the end of one counting block and an LF at the start of the next are one pair.
    std::string large(1u << 20, 'x');
    large.back() = '\r';
    EXPECT_EQ(breaks(large + "\nyy\n\r"), (host::LineBreakCounts{1, 1, 1}));
    // UTF-16: units, not bytes (U+0D0A is no line break; U+000D U+000A is one).
    const std::string utf16 = testing_support::Utf16FromSjis(Prose() + "\r\n\n\r", false, true);
    const host::LineBreakCounts units = breaks(utf16);
    EXPECT_EQ(units.lf, 1u);
    EXPECT_EQ(units.cr, 1u);
    EXPECT_EQ(units.crlf, Describe(Prose() + "\r\n").breaks.crlf);

    EXPECT_EQ(LineBreakCell({3, 0, 0}), "CR LF");
    EXPECT_EQ(LineBreakCell({0, 5, 0}), "LF");
    EXPECT_EQ(LineBreakCell({0, 0, 1}), "CR");
    EXPECT_EQ(LineBreakCell({}), "none");
    EXPECT_EQ(LineBreakCell({3, 0, 1}), "mixed (CR LF 3, CR 1)");
    EXPECT_EQ(LineBreakCell({1, 2, 4}), "mixed (CR LF 1, LF 2, CR 4)");
}

// Two NEC characters (row 13 and the NEC-selected extension), one IBM, two Mac, a half-width
// katakana, and codes that are none of them (a user-defined one, a kanji whose trail byte
// looks like katakana).
const std::string kPlatformCharacters =
    "\x87\x40\xED\x40\xFA\x40\x85\x40\xEB\x40\xB1\xF0\x40\x88\xB1";

TEST(FileInfo, CountsPlatformDependentCharactersByVendorInEveryForm) {
    const FileInfo sjis = Describe(Prose(kPlatformCharacters));
    ASSERT_EQ(sjis.form, TextForm::kSjis);
    EXPECT_EQ(sjis.nec, 2u);
    EXPECT_EQ(sjis.ibm, 1u);
    EXPECT_EQ(sjis.mac, 2u);
    EXPECT_TRUE(sjis.halfWidthKana);
    EXPECT_FALSE(sjis.notInShiftJis);
    // A trail byte in the katakana range is no katakana.
    EXPECT_FALSE(Describe(Prose("\x88\xB1")).halfWidthKana);

    // EUC-JP and JIS carry the NEC characters at their rows; IBM codes have no row there.
    const std::string necAndKana = "\x87\x40\xED\x40\xB1";
    for (const std::string& bytes : {testing_support::EucFromSjis(Prose(necAndKana)),
                                     testing_support::JisFromSjis(Prose(necAndKana))}) {
        const FileInfo info = Describe(bytes);
        EXPECT_EQ(info.nec, 2u) << platform::TextFormName(info.form);
        EXPECT_EQ(info.ibm + info.mac, 0u);
        EXPECT_TRUE(info.halfWidthKana);
    }
    EXPECT_FALSE(Describe(testing_support::EucFromSjis(Prose())).halfWidthKana);

    // Unicode: each character at the code page 932 code it converts to; an emoji, a character
    // of no Japanese set and a byte that is no UTF-8 cannot be held.
    const std::string utf8 = Utf8Prose() +
                             "\u2460\u2170\uFF71\U0001F600\u0E01\xFF" +
                             Utf8Prose();
    const FileInfo unicode = Describe(utf8);
    ASSERT_EQ(unicode.form, TextForm::kUtf8);
    EXPECT_EQ(unicode.nec, 1u);  // ① at 0x8740
    EXPECT_EQ(unicode.ibm, 1u);  // ⅰ at 0xFA40
    EXPECT_TRUE(unicode.halfWidthKana);
    EXPECT_EQ(unicode.notInShiftJis, 3u);
    EXPECT_EQ(Describe(Utf8Prose()).notInShiftJis, 0u);

    // UTF-16: a surrogate pair is one character, and a lone surrogate one more.
    std::string utf16 = testing_support::Utf16FromSjis(Prose("\x87\x40\xFA\x40"), false, true);
    utf16 += std::string("\x3D\xD8\x00\xDE", 4) + std::string("\x00\xDC", 2);
    const FileInfo wide = Describe(utf16);
    ASSERT_EQ(wide.form, TextForm::kUtf16Le);
    EXPECT_EQ(wide.nec, 1u);
    EXPECT_EQ(wide.ibm, 1u);
    EXPECT_EQ(wide.notInShiftJis, 2u);
}

// Texts of random characters, long enough to cross many 64-byte blocks at every offset, against
// what was put in: the block walk and the byte-by-byte walk of the tail must agree on every
// character, wherever a pair or a CR LF straddles two blocks.
TEST(FileInfo, CountsAgreeWithWhatRandomTextsHold) {
    struct Piece {
        const char* bytes;
        int nec, ibm, kana, crlf, lf, cr;
    };
    const Piece pieces[] = {
        {"a", 0, 0, 0, 0, 0, 0},          {"\x82\xA0", 0, 0, 0, 0, 0, 0},
        {"\x88\xB1", 0, 0, 0, 0, 0, 0},  // trail byte in the katakana range
        {"\x87\x40", 1, 0, 0, 0, 0, 0},  {"\xED\x40", 1, 0, 0, 0, 0, 0},
        {"\xFA\x40", 0, 1, 0, 0, 0, 0},  {"\xFB\xFC", 0, 1, 0, 0, 0, 0},
        {"\x89\x87", 0, 0, 0, 0, 0, 0},  // a telling lead byte as trail byte: a kanji
        {"\r\n", 0, 0, 0, 1, 0, 0},       {"\n", 0, 0, 0, 0, 1, 0},
        {"\r.", 0, 0, 0, 0, 0, 1},
    };
    std::uint32_t seed = 12345;
    const auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
    for (int round = 0; round < 40; ++round) {
        std::string text = Prose();
        host::LineBreakCounts breaks = Describe(text).breaks;
        std::uint64_t nec = 0;
        std::uint64_t ibm = 0;
        const int length = 200 + static_cast<int>(next() % 3000);
        for (int k = 0; k < length; ++k) {
            const Piece& piece = pieces[next() % std::size(pieces)];
            text += piece.bytes;
            nec += piece.nec;
            ibm += piece.ibm;
            breaks.crlf += piece.crlf;
            breaks.lf += piece.lf;
            breaks.cr += piece.cr;
        }
        const bool kana = round % 2 == 1;
        if (kana) {
            text += "\xB1";
        }
        const FileInfo info = Describe(text);
        ASSERT_EQ(info.form, TextForm::kSjis);
        EXPECT_EQ(info.nec, nec) << round;
        EXPECT_EQ(info.ibm, ibm) << round;
        EXPECT_EQ(info.halfWidthKana, kana) << round;
        EXPECT_EQ(info.breaks, breaks) << round;
    }
}

TEST(FileInfo, CellsOfTextBinaryAndUnreadableFiles) {
    const std::vector<std::string> headers = host::FileInfoHeaders();
    ASSERT_EQ(headers.size(), 10u);

    const std::vector<std::string> text = FileInfoCells(Describe("\xB1\x82\xA0\r\n\x87\x40\n"));
    EXPECT_EQ(text, (std::vector<std::string>{"f.txt", "Shift JIS", "EUC-JP",
                                              "mixed (CR LF 1, LF 1)", "yes", "1", "0", "0", "-",
                                              "8"}));
    EXPECT_EQ(FileInfoCells(Describe("\xEF\xBB\xBF\xE2\x91\xA0\n"))[8], "0");

    const FileInfo png = Describe(std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16));
    EXPECT_TRUE(png.binary);
    EXPECT_EQ(png.binaryReason, "PNG");
    EXPECT_EQ(FileInfoCells(png), (std::vector<std::string>{"f.txt", "binary", "-", "-", "-", "-",
                                                            "-", "-", "-", "16"}));

    const testing_support::TempFolder folder;
    const FileInfo missing = host::ReadAndDescribeFile(folder.Path("missing.txt"));
    EXPECT_FALSE(missing.readable);
    EXPECT_FALSE(missing.error.empty());
    EXPECT_EQ(FileInfoCells(missing)[1], "unreadable");
    EXPECT_EQ(FileInfoCells(missing).size(), headers.size());

    std::ofstream(folder.Path("euc.txt"), std::ios::binary)
        << testing_support::EucFromSjis(Prose());
    const FileInfo read = host::ReadAndDescribeFile(folder.Path("euc.txt"));
    EXPECT_TRUE(read.readable);
    EXPECT_EQ(read.form, TextForm::kEuc);
    EXPECT_EQ(read.path, folder.Path("euc.txt"));
}

}  // namespace
