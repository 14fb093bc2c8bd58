// The code-page converters against the mapping tables, plus their edge rules.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "codepage/mapping_table.h"
#include "platform/codepage.h"
#include "platform/text_encoding.h"
#include "support/sample_text.h"

namespace {

using platform::DecodeCodePage;
using platform::EncodeCodePage;
using testing_support::CodeBytes;
using testing_support::IsSjisLeadByte;
using testing_support::LoadMappingTable;

constexpr unsigned kPages[] = {platform::kCodePageWindowsJapanese, platform::kCodePageMacJapanese};

TEST(CodePageTables, EveryCodeDecodesAsItsTableSays) {
    for (unsigned cp : kPages) {
        const auto& table = LoadMappingTable(cp);
        ASSERT_GT(table.decode.size(), 9000u);
        int failures = 0;
        for (unsigned lead = 0; lead < 256; ++lead) {
            for (unsigned trail = 0; trail < (IsSjisLeadByte(lead) ? 256u : 1u); ++trail) {
                const unsigned code = IsSjisLeadByte(lead) ? lead << 8 | trail : lead;
                const auto row = table.decode.find(code);
                const char16_t expected = row == table.decode.end() ? u'\u30FB' : row->second;
                const std::u16string units = DecodeCodePage(cp, CodeBytes(code));
                if (units != std::u16string(1, expected) && ++failures <= 10) {
                    ADD_FAILURE() << "cp" << cp << " code 0x" << std::hex << code;
                }
            }
        }
        EXPECT_EQ(failures, 0) << "cp" << cp;
    }
}

TEST(CodePageTables, EveryUnitEncodesAsItsTableSaysOrToTheDefaultByte) {
    for (unsigned cp : kPages) {
        const auto& table = LoadMappingTable(cp);
        ASSERT_GT(table.encode.size(), 9000u);
        int failures = 0;
        for (unsigned unit = 0; unit < 0x10000; ++unit) {
            const auto row = table.encode.find(static_cast<char16_t>(unit));
            const std::string expected = row == table.encode.end() ? "?" : CodeBytes(row->second);
            const std::u16string in(1, static_cast<char16_t>(unit));
            if (EncodeCodePage(cp, in) != expected && ++failures <= 10) {
                ADD_FAILURE() << "cp" << cp << " unit U+" << std::hex << unit;
            }
        }
        EXPECT_EQ(failures, 0) << "cp" << cp;
    }
}

TEST(CodePageTables, WholeTablesConvertInOneCall) {
    // Every defined code back to back: the bulk loops agree with one code at a time.
    for (unsigned cp : kPages) {
        std::string bytes;
        std::u16string units;
        for (const auto& [code, unit] : LoadMappingTable(cp).decode) {
            bytes += CodeBytes(code);
            units += unit;
        }
        EXPECT_EQ(DecodeCodePage(cp, bytes), units) << "cp" << cp;
        std::string encoded;
        for (char16_t unit : units) {
            encoded += EncodeCodePage(cp, std::u16string(1, unit));
        }
        EXPECT_EQ(EncodeCodePage(cp, units), encoded) << "cp" << cp;
    }
}

struct DecodeCase {
    const char* what;
    std::string bytes;
    std::u16string units;
};

TEST(CodePageDecoding, FollowsThePlatformRulesAtTheEdges) {
    const std::vector<DecodeCase> cases = {
        {"empty", "", u""},
        {"zero bytes are characters", std::string("a\0b\0", 4), std::u16string(u"a\0b\0", 4)},
        {"lone lead byte at the end", "ab\x88", u"ab\u30FB"},
        {"undefined two-byte code", "\x85\x40z", u"\u30FBz"},
        {"lead byte takes any next byte",
         "\x82\x0A"
         "b",
         u"\u30FBb"},
        {"lead byte takes a zero byte", std::string("\x82\0b", 3), u"\u30FBb"},
        {"half-width katakana", "\xB1\xDF", u"\uFF71\uFF9F"},
        {"kanji", "\x8A\xBF\x8E\x9A", u"漢字"},
        {"vendor row", "\x87\x40\xFA\x40", u"\u2460\u2170"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeCodePage(932, c.bytes), c.units) << c.what;
    }
    EXPECT_EQ(DecodeCodePage(10001, "\x85\x40\xFD\xFE\xFF"), u"\u2460\u00A9\u2122\u2026");
}

TEST(CodePageEncoding, FollowsThePlatformRulesAtTheEdges) {
    EXPECT_EQ(EncodeCodePage(932, u""), "");
    EXPECT_EQ(EncodeCodePage(932, std::u16string(u"a\0b", 3)), std::string("a\0b", 3));
    EXPECT_EQ(EncodeCodePage(932, u"漢字ｱ①"), "\x8A\xBF\x8E\x9A\xB1\x87\x40");
    EXPECT_EQ(EncodeCodePage(10001, u"①"), "\x85\x40");
    EXPECT_EQ(EncodeCodePage(932, u"\u00A5"), "\x5C") << "best fit";
    EXPECT_EQ(EncodeCodePage(932, u"\u0100x"), "?x") << "no mapping";
    // A surrogate pair is one character; lone surrogates are one each.
    EXPECT_EQ(EncodeCodePage(932, u"a\U0001F600b"), "a?b");
    EXPECT_EQ(EncodeCodePage(932, std::u16string{0xD83D, u'a', 0xDE00}), "?a?");
    EXPECT_EQ(EncodeCodePage(932, std::u16string{0xD83D}), "?");
}

TEST(CodePageCalls, AnswerUnknownPagesAndShortBuffersWithZero) {
    EXPECT_TRUE(platform::IsValidCodePage(932));
    EXPECT_TRUE(platform::IsValidCodePage(10001));
    EXPECT_FALSE(platform::IsValidCodePage(0));
    EXPECT_FALSE(platform::IsValidCodePage(65001));

    const auto* in = reinterpret_cast<const unsigned char*>(
        "a\x82\xA0"
        "b");
    char16_t units[4] = {};
    EXPECT_EQ(platform::MultiByteToWideChar(437, in, 4, units, 4), 0u);
    EXPECT_EQ(platform::MultiByteToWideChar(932, in, 4, nullptr, 0), 3u);
    EXPECT_EQ(platform::MultiByteToWideChar(932, in, 4, units, 2), 0u);
    EXPECT_EQ(platform::MultiByteToWideChar(932, in, 4, units, 3), 3u);
    EXPECT_EQ(std::u16string(units, 3), u"aあb");
    EXPECT_EQ(platform::MultiByteToWideChar(932, nullptr, 0, nullptr, 0), 0u);

    unsigned char bytes[4] = {};
    EXPECT_EQ(platform::WideCharToMultiByte(437, units, 3, bytes, 4), 0u);
    EXPECT_EQ(platform::WideCharToMultiByte(932, units, 3, nullptr, 0), 4u);
    EXPECT_EQ(platform::WideCharToMultiByte(932, units, 3, bytes, 3), 0u);
    EXPECT_EQ(platform::WideCharToMultiByte(932, units, 3, bytes, 4), 4u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), 4),
              "a\x82\xA0"
              "b");
}

TEST(CodePageCalls, ExactBuffersHoldEveryLengthOfMixedText) {
    // Exact-size heap buffers for every prefix: the sanitizers see any write past the end.
    const std::string text = testing_support::Sjis("Aｱ漢①b\\～") + "\x81";
    std::set<std::size_t> boundaries;
    for (std::size_t i = 0; i < text.size();
         i += IsSjisLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1) {
        boundaries.insert(i);
    }
    for (std::size_t n = 0; n <= text.size(); ++n) {
        const auto* in = reinterpret_cast<const unsigned char*>(text.data());
        const std::size_t count = platform::MultiByteToWideChar(932, in, n, nullptr, 0);
        std::vector<char16_t> units(count);
        ASSERT_EQ(platform::MultiByteToWideChar(932, in, n, units.data(), count), count);
        const std::size_t size =
            platform::WideCharToMultiByte(932, units.data(), count, nullptr, 0);
        std::vector<unsigned char> bytes(size);
        ASSERT_EQ(platform::WideCharToMultiByte(932, units.data(), count, bytes.data(), size),
                  size);
        // A cut two-byte character comes back as U+30FB, which is "\x81\x45".
        const bool cut = n > 0 && !boundaries.contains(n);
        const std::string expected = cut ? text.substr(0, n - 1) + "\x81\x45" : text.substr(0, n);
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), expected) << n;
    }
}

TEST(TextEncoding, ConvertsBetweenShiftJisAndUtf8) {
    EXPECT_EQ(
        platform::Cp932ToUtf8("\x8B\x40\x8E\xED\x88\xCB\x91\xB6\x95\xB6\x8E\x9A(Mac\x81\xA8Win)"),
        "機種依存文字(Mac→Win)");
    EXPECT_EQ(platform::Utf8ToCp932("機種依存文字(Win→Mac)"),
              "\x8B\x40\x8E\xED\x88\xCB\x91\xB6\x95\xB6\x8E\x9A(Win\x81\xA8Mac)");
    EXPECT_EQ(platform::Cp932ToUtf8("\x85\x40!"), "・!");
    EXPECT_EQ(platform::Utf8ToCp932("x😀y\xFFz"), "x?y?z");
    const std::string text = testing_support::JapaneseText(4096);
    EXPECT_EQ(platform::Utf8ToCp932(platform::Cp932ToUtf8(text)), text);
}

}  // namespace
