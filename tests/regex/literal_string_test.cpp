// Literal strings, the skip-table and plain searches, and the Shift JIS byte tests.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "regex/char_mode.h"
#include "regex/error_text.h"
#include "regex/literal_string.h"

namespace {

using namespace regex;

struct Owned {
    explicit Owned(const std::string& bytes)
        : s(CreateLiteralString(bytes.data(), static_cast<int32_t>(bytes.size()))) {}
    ~Owned() { FreeLiteralString(s); }
    LiteralString* s;
};

// Offset of the skip-table search's hit, or -1.
long Find(const std::string& text, const std::string& needle, bool fold = false, bool tail = false,
          bool multiline = false, CharMode mode = CharMode::kBytes) {
    Owned lit(needle);
    BuildSkipTable(lit.s, fold);
    if (tail) {
        lit.s->flags |= kLiteralTail;
    }
    const char* hit =
        SkipTableSearch(text.data(), text.data() + text.size(), lit.s, multiline, mode);
    return hit == nullptr ? -1 : hit - text.data();
}

TEST(LiteralString, GrowsKeepsNulAndCopies) {
    Owned a("abc");
    EXPECT_EQ(a.s->length, 3);
    EXPECT_EQ(a.s->data[3], '\0');
    std::string big(5000, 'z');
    AppendLiteralString(a.s, big.data(), static_cast<int32_t>(big.size()));
    EXPECT_EQ(a.s->length, 5003);
    EXPECT_EQ(a.s->data[5003], '\0');
    EXPECT_EQ(std::string(a.s->data, 3), "abc");
    SetLiteralString(a.s, "xy", 2);
    EXPECT_STREQ(a.s->data, "xy");
    Owned b("");
    CopyLiteralString(b.s, a.s);
    EXPECT_STREQ(b.s->data, "xy");
    CopyLiteralString(b.s, b.s);
    EXPECT_STREQ(b.s->data, "xy");
    // A copy keeps the skip table its flags describe.
    BuildSkipTable(a.s, true);
    CopyLiteralString(b.s, a.s);
    EXPECT_EQ(b.s->flags, kLiteralTableValid | kLiteralTableFolded);
    const std::string text = "--XY--";
    EXPECT_EQ(SkipTableSearch(text.data(), text.data() + text.size(), b.s, false, CharMode::kBytes),
              text.data() + 2);
    LiteralString* fromNul = CreateLiteralString("text", 0);
    EXPECT_EQ(fromNul->length, 4);
    FreeLiteralString(fromNul);
    FreeLiteralString(nullptr);
}

TEST(LiteralString, RefusesImpossibleSizes) {
    Owned a("abc");
    EXPECT_THROW(AppendLiteralString(a.s, "x", 0x7FFFFFF0), RegexError);
    EXPECT_EQ(a.s->length, 3);
}

TEST(SkipTableSearch, FindsAndMisses) {
    EXPECT_EQ(Find("xxabcxx", "abc"), 2);
    EXPECT_EQ(Find("ab", "abc"), -1);
    EXPECT_EQ(Find("abababc", "abc"), 4);
    EXPECT_EQ(Find("xxABCxx", "abc", true), 2);
    EXPECT_EQ(Find("xxABCxx", "abc", false), -1);
    EXPECT_EQ(Find("aaaa", "a"), 0);
}

TEST(SkipTableSearch, TailStringsEndTheText) {
    EXPECT_EQ(Find("ax", "x", false, true), 1);
    EXPECT_EQ(Find("ax\n", "x", false, true), 1);
    EXPECT_EQ(Find("xa", "x", false, true), -1);
    EXPECT_EQ(Find("xa", "x", false, true, true), 0);  // multi-line: no tail rule
    EXPECT_EQ(Find("aX\n", "x", true, true), 1);
    EXPECT_EQ(Find("x\n", "x", true, true), 0);  // text barely longer than the string
    EXPECT_EQ(Find("\n", "x", true, true), -1);
}

TEST(SkipTableSearch, KanjiModeSkipsTrailBytes) {
    const CharMode sjis = CharMode::kShiftJis;
    const std::string text = "\x83\x41";
    EXPECT_EQ(Find(text, "A", false, false, false, sjis), -1);
    EXPECT_EQ(Find(text, "A"), 1);
    EXPECT_EQ(Find(text + "AA", "AA", false, false, false, sjis), 2);
    // Tail strings too: in kanji mode the last byte of a double-byte character is no match.
    EXPECT_EQ(Find(text, "A", false, true, false, sjis), -1);
    EXPECT_EQ(Find(text, "A", false, true), 1);
}

TEST(SkipTableSearch, Utf8ModeNeverStartsInsideACharacter) {
    const CharMode utf8 = CharMode::kUtf8;
    const std::string a = "\xE3\x81\x82";  // あ
    EXPECT_EQ(Find(a + "x", "\x81\x82x", false, false, false, utf8), -1);
    EXPECT_EQ(Find(a + "x", "\x81\x82x"), 1);
    EXPECT_EQ(Find(a + "\x81\x82x", "\x81\x82x", false, false, false, utf8), 3);  // stray bytes
    EXPECT_EQ(Find("x" + a, "\x82", false, true, false, utf8), -1);
    EXPECT_EQ(Find("x" + a + a, a + a, false, true, false, utf8), 1);
}

TEST(SkipTableSearch, LongStringsUseThePlainSearch) {
    const std::string needle(256, 'q');
    Owned lit(needle);
    BuildSkipTable(lit.s, false);
    EXPECT_FALSE(lit.s->flags & kLiteralTableValid);
    const std::string text = "ab" + needle + "c";
    EXPECT_EQ(SkipTableSearch(text.data(), text.data() + text.size(), lit.s, false, CharMode::kBytes),
              text.data() + 2);
}

TEST(PlainSearch, EdgesAndKanji) {
    const std::string text = "hello";
    const char* b = text.data();
    const char* e = b + text.size();
    const CharMode bytes = CharMode::kBytes;
    EXPECT_EQ(PlainSearch(b, e, "", static_cast<const char*>("") + 0, bytes), b);
    EXPECT_EQ(PlainSearch(b, e, "lo", static_cast<const char*>("lo") + 2, bytes), b + 3);
    EXPECT_EQ(PlainSearch(b, e, "hello!", static_cast<const char*>("hello!") + 6, bytes), nullptr);
    EXPECT_EQ(PlainSearch(b, b + 2, "el", static_cast<const char*>("el") + 2, bytes), nullptr);
    const std::string kanji =
        "\x83\x41"
        "A";
    EXPECT_EQ(
        PlainSearch(kanji.data(), kanji.data() + 3, "A", static_cast<const char*>("A") + 1,
                    CharMode::kShiftJis),
        kanji.data() + 2);
    const std::string utf8 = "\xE3\x81\x82\x82";  // あ, then a stray continuation byte
    EXPECT_EQ(PlainSearch(utf8.data(), utf8.data() + 4, "\x82", static_cast<const char*>("\x82") + 1,
                          CharMode::kUtf8),
              utf8.data() + 3);
}

TEST(ByteTests, LeadBytesAndByteTypes) {
    for (int c = 0; c < 256; ++c) {
        const bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
        EXPECT_EQ(IsLeadByte(static_cast<unsigned char>(c)), lead ? 1 : 0) << c;
    }
    const std::string t = "\x83\x41\x83\x83\x83";
    EXPECT_EQ(ByteType(t.data(), t.data()), 1);
    EXPECT_EQ(ByteType(t.data(), t.data() + 1), 2);
    EXPECT_EQ(ByteType(t.data(), t.data() + 2), 1);
    EXPECT_EQ(ByteType(t.data(), t.data() + 3), 2);
    EXPECT_EQ(ByteType(t.data(), t.data() + 4), 1);  // after two lead-valued bytes
    EXPECT_EQ(ByteType(nullptr, t.data()), 0);
    EXPECT_EQ(kFoldTable['A'], 'a');
    EXPECT_EQ(kFoldTable['z'], 'Z');
    EXPECT_EQ(kFoldTable['1'], '1');
    EXPECT_EQ(kFoldTable[0xC1], 0xC1);
}

}  // namespace
