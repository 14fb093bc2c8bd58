// eolfix and the encodings other than Shift JIS: UTF-16 has its breaks rewritten in 16-bit
// units, keeping its mark and byte order; EUC-JP and JIS keep every byte but the breaks.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/text_encoding.h"
#include "platform/text_form.h"
#include "platform/utf16.h"
#include "support/plugin_under_test.h"
#include "support/sample_text.h"

namespace {

using platform::TextForm;

const testing_support::PluginUnderTest& Eolfix() {
    return testing_support::SharedPlugin("eolfix");
}

const std::u16string kBreaks[] = {u"\r\n", u"\r", u"\n"};

// The rule on units, one at a time with a "CR pending" flag.
std::u16string ReferenceConversion(const std::u16string& in, const std::u16string& lineBreak) {
    std::u16string out;
    bool crPending = false;
    for (const char16_t c : in) {
        if (crPending && c != u'\n') {
            out += lineBreak;
        }
        crPending = c == u'\r';
        if (c == u'\n') {
            out += lineBreak;
        } else if (c != u'\r') {
            out += c;
        }
    }
    return crPending ? out + lineBreak : out;
}

std::string Bytes(const std::u16string& units, bool bigEndian) {
    std::string bytes;
    for (const char16_t unit : units) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

struct Form {
    const char* name;
    bool bigEndian;
    bool marked;
    TextForm detected;
};
const Form kForms[] = {
    {"UTF-16LE with a mark", false, true, TextForm::kUtf16Le},
    {"UTF-16BE with a mark", true, true, TextForm::kUtf16Be},
    {"UTF-16LE without a mark", false, false, TextForm::kUtf16LeBare},
    {"UTF-16BE without a mark", true, false, TextForm::kUtf16BeBare},
};

std::string InForm(const Form& form, const std::u16string& units) {
    return Bytes(form.marked ? u"\uFEFF" + units : units, form.bigEndian);
}

// Every function on `units` in `form` (plus `tail` bytes) gives the reference in the same
// form, mark and tail kept, and reports its exact size.
void ExpectConverted(const Form& form, const std::u16string& units, const std::string& tail = "") {
    const std::string input = InForm(form, units) + tail;
    ASSERT_EQ(platform::DetectTextForm(reinterpret_cast<const unsigned char*>(input.data()),
                                       input.size()),
              form.detected)
        << form.name;
    for (uint32_t f = 0; f < 3; ++f) {
        const std::string expected = InForm(form, ReferenceConversion(units, kBreaks[f])) + tail;
        uint32_t size = 0;
        const auto out = Eolfix().Run(f, input, "", &size);
        ASSERT_TRUE(out.has_value()) << form.name << ", function " << f;
        EXPECT_EQ(*out, expected) << form.name << ", function " << f;
        EXPECT_EQ(size, expected.size()) << form.name << ", function " << f;
    }
}

TEST(EolfixUtf16, JapaneseLinesKeepTheirCharactersInEveryForm) {
    // Long enough, and with breaks enough, for UTF-16 without a mark to be taken for it.
    std::u16string lines;
    for (int i = 1; i <= 8; ++i) {
        lines += platform::Utf8ToUtf16("行" + std::to_string(i)) + (i % 3 == 0 ? u"\r\n" : u"\n");
    }
    for (const Form& form : kForms) {
        ExpectConverted(form, lines);
        ExpectConverted(form, lines + u"\r");
    }
    const std::u16string prose = platform::Utf8ToUtf16(
        platform::Cp932ToUtf8(testing_support::JapaneseText(64 * 1024, "\r\n")));
    for (const Form& form : kForms) {
        ExpectConverted(form, prose);
    }
}

TEST(EolfixUtf16, AgreesWithTheUnitRuleOnGeneratedTexts) {
    // Units whose bytes hold 0x0D or 0x0A without being a break, breaks, kana, a surrogate pair.
    const std::vector<std::u16string> pieces = {
        u"\r", u"\n", u"\r\n", u"a", u"\u3042", u"\u0D0A", u"\u0A0D", u"\u0D00",
        u"\u0A00", u"\U0001F600", u"\u4E00", u"\u000D\u0D0A",
    };
    std::mt19937 random(30);
    for (int round = 0; round < 400; ++round) {
        std::u16string units;
        const int count = round < 40 ? round : std::uniform_int_distribution<int>(1, 90)(random);
        for (int i = 0; i < count; ++i) {
            units += pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(
                random)];
        }
        // Marked texts, so that every mix is UTF-16; a last odd byte stays where it is.
        const Form& form = kForms[round % 2];
        ExpectConverted(form, units, round % 5 == 0 ? "\x0D" : "");
    }
}

TEST(EolfixUtf16, ShiftJisTextWithZeroBytesStaysBytes) {
    // Zero bytes without the rest of what makes UTF-16: the byte rule, as before.
    std::string text;
    std::string expected;
    for (int i = 0; i < 6; ++i) {
        text += std::string("a\0b\r\n", 5) + testing_support::Sjis("漢字\r\n");
        expected += std::string("a\0b\n", 4) + testing_support::Sjis("漢字\n");
    }
    EXPECT_EQ(Eolfix().Run(2, text), expected);
}

TEST(EolfixLegacy, EucAndJisKeepEveryByteButTheBreaks) {
    // EUC-JP 漢字 and a half-width katakana: no byte of theirs is CR or LF.
    EXPECT_EQ(Eolfix().Run(2, "\xB4\xC1\xBB\xFA\r\n\x8E\xB1\r\n"), "\xB4\xC1\xBB\xFA\n\x8E\xB1\n");
    // JIS with a break inside a kanji shift: the break is a control character of one byte, as
    // in every mode, and the shift goes on after it; the escapes stay as they were.
    EXPECT_EQ(Eolfix().Run(2, "\x1B$B0!\r\n0\"\x1B(B\r\n"), "\x1B$B0!\n0\"\x1B(B\n");
    EXPECT_EQ(Eolfix().Run(0, "\x1B$B0!\n0\"\x1B(B\r"), "\x1B$B0!\r\n0\"\x1B(B\r\n");
}

}  // namespace
