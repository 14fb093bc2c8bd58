// The text test on bytes made for it: every signature it knows, texts that begin like one,
// every control byte, the end mark, the windows it reads, and UTF-16 read by its units.
#include <gtest/gtest.h>

#include <cstdio>
#include <span>
#include <string>

#include "host/core/files/text_content.h"
#include "support/binary_samples.h"
#include "support/sample_text.h"

namespace {

using namespace std::string_literals;
using host::kTextWindow;
using testing_support::Sjis;

host::ContentVerdict Classify(const std::string& bytes) {
    return host::ClassifyContent(
        std::span(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()));
}

// "binary: <reason>" or "text".
std::string Verdict(const std::string& bytes) {
    const host::ContentVerdict verdict = Classify(bytes);
    return verdict.binary ? "binary: " + verdict.reason : "text";
}

std::string Utf16(const std::string& ascii, bool bigEndian) {
    std::string units;
    for (char c : ascii) {
        units += bigEndian ? "\0"s + c : c + "\0"s;
    }
    return units;
}

TEST(TextContent, EverySignatureIsKnownByItsName) {
    for (const auto& sample : testing_support::GeneratedBinarySamples()) {
        EXPECT_EQ(Verdict(sample.bytes), "binary: " + sample.format) << sample.fileName;
    }
}

TEST(TextContent, TextsThatBeginLikeASignatureStayText) {
    const std::string line = " ordinary words follow\r\n";
    for (const std::string& start :
         {"BM"s, "BMW"s, "MZ"s, "true"s, "OTTO"s, "ttcf"s, "wOFF"s, "ID3"s, "BZh9"s, "fLaC"s,
          "GIF8"s, "PK"s, "Rar!"s, "7z"s, "ftyp"s, "1234ftyp"s, "RIFF"s, "RIFFxxxxWAV"s,
          "!<arch>"s, "%PDF"s, "SQLite format 3"s, "MThd"s, "OggS"s}) {
        EXPECT_EQ(Verdict(start + line), "text") << start;
    }
    // Headers that do not add up: sizes past the end, an unknown DIB header, no images.
    const std::string bmp = "BM" + "\x46\0\0\0"s + "\0\0\0\0\x36\0\0\0"s + "\x29\0\0\0"s;
    EXPECT_EQ(Verdict(bmp + std::string(60, 'x')), "binary: byte 0x00 at offset 3");
    EXPECT_NE(Verdict(std::string("\0\0\1\0\0\0", 6) + std::string(32, 'x')), "binary: ICO/CUR");
    EXPECT_NE(Verdict("MZ" + std::string(0x3A, 'x') + "\xF0\0\0\0"s), "binary: PE");
}

TEST(TextContent, ControlBytesAreTextOnlyWhereTextHoldsThem) {
    for (unsigned byte = 0; byte < 0x20; ++byte) {
        const bool text = (byte >= 0x07 && byte <= 0x0F) || byte == 0x1B;
        char binary[40];
        std::snprintf(binary, sizeof binary, "binary: byte 0x%02X at offset 2", byte);
        const std::string bytes = "ab" + std::string(1, static_cast<char>(byte)) + "cd";
        EXPECT_EQ(Verdict(bytes), text ? "text" : std::string(binary)) << byte;
    }
    EXPECT_EQ(Verdict(""), "text");
    EXPECT_EQ(Verdict("\x7F\x80\xFF\xFE"), "text");
}

TEST(TextContent, EndMarksCloseTextOnlyAtTheEnd) {
    EXPECT_EQ(Verdict("old text\r\n\x1A"), "text");
    EXPECT_EQ(Verdict("old text\r\n\x1A\x1A\x1A"), "text");
    EXPECT_EQ(Verdict("old text\x1A\r\n"), "text");  // closed once more by a later editor
    EXPECT_EQ(Verdict("\x1A"), "text");
    EXPECT_EQ(Verdict("old\x1Atext"), "binary: byte 0x1A at offset 3");
    EXPECT_EQ(Verdict("old\x1A\r\ntext\x1A"), "binary: byte 0x1A at offset 3");
}

TEST(TextContent, JapaneseTextInEveryEightBitFormIsText) {
    EXPECT_EQ(Verdict(testing_support::JapaneseText(200000)), "text");
    EXPECT_EQ(Verdict(testing_support::JapaneseUtf8Text(200000)), "text");
    // Every Shift JIS trail byte, after every lead byte.
    std::string sjis;
    for (int lead : {0x81, 0x9F, 0xE0, 0xFC}) {
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            sjis += {static_cast<char>(lead), static_cast<char>(trail)};
        }
    }
    EXPECT_EQ(Verdict(sjis), "text");
    // EUC-JP with single shifts 2 and 3, and JIS with ESC and with SO/SI for kana.
    EXPECT_EQ(Verdict("\xA4\xA2\x8E\xB1\x8F\xB0\xA1\r\n"), "text");
    EXPECT_EQ(Verdict("\x1B$B$\"$$\x1B(B abc \x0E\x31\x32\x0F\r\n"), "text");
    EXPECT_EQ(Verdict(Sjis("表示\tタブ\f改ページ\v\r\n")), "text");
}

TEST(TextContent, Utf16IsReadByItsUnits) {
    const std::string text = "line one\r\nline two\r\nline three\r\nline four\r\n";
    EXPECT_EQ(Verdict("\xFF\xFE"s + Utf16(text, false)), "text");
    EXPECT_EQ(Verdict("\xFE\xFF"s + Utf16(text, true)), "text");
    EXPECT_EQ(Verdict(Utf16(text, false)), "text");  // no mark: taken as unibridge takes it
    EXPECT_EQ(Verdict(Utf16(text, true)), "text");
    EXPECT_EQ(Verdict("\xFF\xFE"s + Utf16(text + "\x1A", false)), "text");
    EXPECT_EQ(Verdict("\xFF\xFE"s + Utf16("ab\x01" + text, false)),
              "binary: UTF-16 unit U+0001 at offset 6");
    EXPECT_EQ(Verdict("\xFE\xFF"s + Utf16("a" + "\0"s + text, true)),
              "binary: UTF-16 unit U+0000 at offset 4");
    // A mark on an odd number of bytes is no UTF-16: its zero bytes are binary.
    EXPECT_EQ(Verdict("\xFF\xFE"s + Utf16(text, false) + "x"), "binary: byte 0x00 at offset 3");
}

TEST(TextContent, BothEndsAreReadAndTheMiddleOfALargeFileIsNot) {
    const std::string text = testing_support::JapaneseText(3 * kTextWindow);
    std::string atStart = text;
    atStart[kTextWindow - 1] = '\0';
    EXPECT_EQ(Verdict(atStart), "binary: byte 0x00 at offset " + std::to_string(kTextWindow - 1));
    std::string atEnd = text;
    atEnd[text.size() - kTextWindow] = '\x03';  // a script with its payload behind it
    EXPECT_EQ(Verdict(atEnd),
              "binary: byte 0x03 at offset " + std::to_string(text.size() - kTextWindow));
    std::string inTheMiddle = text;
    inTheMiddle[kTextWindow + 10] = '\0';
    EXPECT_EQ(Verdict(inTheMiddle), "text");
    // A small file is read whole.
    std::string small = testing_support::JapaneseText(kTextWindow);
    small[small.size() / 2] = '\x01';
    EXPECT_EQ(Verdict(small).substr(0, 11), "binary: byt");
}

}  // namespace
