// The pattern compiler: node programs, error texts, classes, options and number readers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "regex/node_program.h"
#include "regex/program_dump.h"
#include "regex_test_util.h"

namespace {

using namespace regex;
using regex_test::Compile;
using regex_test::CompileError;

std::vector<unsigned char> ProgramBytes(const RegexRecord* rx) {
    return {rx->program, rx->program + rx->programLength};
}

std::string Dump(std::string_view pattern, uint32_t flags = 0) {
    std::string error;
    auto rx = Compile(pattern, flags, &error);
    return rx ? DumpProgram(rx.get()) : "error: " + error;
}

TEST(CompileLayout, SmallProgramsByteForByte) {
    struct Case {
        const char* pattern;
        std::vector<unsigned char> bytes;
    };
    const Case cases[] = {
        {"a*", {156, 12, 14, 0, 127, 16, 10, 0, 127, 14, 0, 0, 1, 'a', 0, 0, 0, 0}},
        {".*", {156, 12, 24,  0,  127, 11, 16,  0,  0, 0, 0xFF, 0x7F, 127, 7,
                4,   0,  127, 34, 0,   0,  127, 15, 4, 0, 127,  0,    0,   0}},
        {"\\1", {156, 12, 10, 0, 127, 26, 6, 0, 1, 0, 127, 0, 0, 0}},
        {"[a]", {156, 12, 12, 0, 127, 9, 8, 0, 0, 128, 0, 'a', 130, 0, 0, 0}},
        {"", {}},
    };
    for (const Case& c : cases) {
        auto rx = Compile(c.pattern);
        ASSERT_TRUE(rx) << c.pattern;
        if (c.bytes.empty()) {
            EXPECT_EQ(rx->program, nullptr);
            continue;
        }
        EXPECT_EQ(ProgramBytes(rx.get()), c.bytes) << c.pattern << "\n" << DumpProgram(rx.get());
        // Every kind byte sits at an odd offset.
        for (const unsigned char* node = rx->program + 1; node[0] != OP_ACCEPT;) {
            EXPECT_EQ((node - rx->program) % 2, 1);
            node += node[0] == OP_REPEAT_GROUP ? 8 : 4;
            while (*node == NODE_PAD) {
                ++node;
            }
            if (node >= rx->program + rx->programLength) {
                break;
            }
        }
    }
}

TEST(CompileLayout, QuantifiersPickTheirNodes) {
    const std::pair<const char*, const char*> cases[] = {
        {"a*", "5: STAR_SIMPLE -> 15\n9: LITERAL \"a\"\n"},
        {"ab*", "5: LITERAL \"a\" -> 11\n11: STAR_SIMPLE -> 21\n15: LITERAL \"b\"\n"},
        {"[a-z]*",
         "5: REPEAT_GROUP {0,32767} -> 27\n13: CLASS [a-z] -> 23\n23: LOOP_STEP\n27: EMPTY -> "
         "31\n"},
        {"x{3}", "5: REPEAT_SIMPLE {3,3} -> 19\n13: LITERAL \"x\"\n"},
        {"x{3,}", "5: REPEAT_SIMPLE {3,32767} -> 19\n"},
        {"x{3,0}", "5: REPEAT_SIMPLE {3,0} -> 19\n"},
        {"x{,3}", "5: LITERAL \"x{,3}\" -> 15\n"},
        {"a*?", "5: LAZY -> 9\n9: STAR_SIMPLE -> 19\n"},
        {"a(?#note)*", "5: STAR_SIMPLE -> 15\n"},
        {"\\w+", "5: PLUS_SIMPLE -> 13\n9: WORD\n"},
        {"\\b?", "5: REPEAT_SIMPLE {0,1} -> 17\n13: BOUNDARY\n"},
        {"(a)+", "5: REPEAT_GROUP {1,32767} -> 39\n13: GROUP_OPEN 1 -> 19\n"},
    };
    for (const auto& [pattern, expected] : cases) {
        EXPECT_NE(Dump(pattern).find(expected), std::string::npos) << pattern << "\n"
                                                                   << Dump(pattern);
    }
}

TEST(CompileLayout, LiteralRuns) {
    const std::string run(200, 'q');
    const std::string dump = Dump(run);
    EXPECT_NE(dump.find("LITERAL \"" + std::string(126, 'q') + "\""), std::string::npos);
    EXPECT_NE(dump.find("LITERAL \"" + std::string(74, 'q') + "\""), std::string::npos);
    // Escapes inside a run.
    EXPECT_NE(Dump("\\t\\n\\x41\\cA\\e\\101\\Q").find("LITERAL \"\\x09\\x0AA\\x01\\x1BAQ\""),
              std::string::npos)
        << Dump("\\t\\n\\x41\\cA\\e\\101\\Q");
    EXPECT_NE(Dump("\\0101").find("LITERAL \"\\x081\""), std::string::npos);
    // Case folding lower-cases literals written before (?i) as well.
    EXPECT_NE(Dump("ABC(?i)").find("LITERAL \"abc\""), std::string::npos);
    // Extended mode drops blanks and comments, also between a character and its quantifier.
    EXPECT_NE(Dump("(?x) a b # note\n c").find("LITERAL \"abc\""), std::string::npos);
    EXPECT_NE(Dump("(?x)ab *").find("LITERAL \"a\" -> 11\n11: STAR_SIMPLE"), std::string::npos)
        << Dump("(?x)ab *");
}

TEST(CompileLayout, KanjiCharactersInRuns) {
    const std::string hi = "\x93\xfa";  // one double-byte character
    const std::string withKanji = Dump(hi + "+", FLAG_KANJI);
    EXPECT_NE(withKanji.find("REPEAT_GROUP {1,32767}"), std::string::npos) << withKanji;
    EXPECT_NE(withKanji.find("LITERAL \"\\x93\\xFA\""), std::string::npos) << withKanji;
    const std::string bytewise = Dump(hi + "+");
    EXPECT_NE(bytewise.find("LITERAL \"\\x93\" -> 11\n11: PLUS_SIMPLE"), std::string::npos)
        << bytewise;
    // A lead byte whose second byte is "|" stays one character in kanji mode.
    EXPECT_NE(Dump("\x83|", FLAG_KANJI).find("LITERAL \"\\x83|\""), std::string::npos);
}

TEST(CompileLayout, BackReferencesAndOctal) {
    EXPECT_NE(Dump("\\1").find("BACKREF 1"), std::string::npos);
    EXPECT_NE(Dump("\\9").find("BACKREF 9"), std::string::npos);
    EXPECT_NE(Dump("\\10").find("LITERAL \"\\x08\""), std::string::npos) << Dump("\\10");
    const std::string ten = "(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)\\10";
    EXPECT_NE(Dump(ten).find("BACKREF 10"), std::string::npos);
    auto rx = Compile(ten);
    EXPECT_EQ(rx->groupCount, 10);
}

TEST(CompileLayout, AnchorsFollowTheOptions) {
    EXPECT_NE(Dump("^$").find("LINE_START -> 9\n9: LINE_END"), std::string::npos);
    EXPECT_NE(Dump("(?m)^$").find("LINE_START_M -> 9\n9: LINE_END_M"), std::string::npos);
    EXPECT_NE(Dump("(?s)^$.").find("TEXT_START -> 9\n9: TEXT_END -> 13\n13: ANY_CHAR"),
              std::string::npos);
    EXPECT_NE(Dump("\\A\\Z\\G").find("TEXT_START -> 9\n9: TEXT_END -> 13\n13: SEARCH_START"),
              std::string::npos);
    EXPECT_NE(Dump("(?=a)").find("LOOKAHEAD"), std::string::npos);
    EXPECT_NE(Dump("(?!a)").find("NEG_LOOKAHEAD"), std::string::npos);
    EXPECT_NE(Dump("(?!a)").find("SUBMATCH_END"), std::string::npos);
}

TEST(CompileErrors, EveryMessage) {
    const std::pair<const char*, const char*> cases[] = {
        {"(a", "unmatched () in regexp"},
        {"a)", "unmatched () in regexp"},
        {"(?", "unmatched () in regexp"},
        {"(?#abc", "Sequence (?#... not terminated"},
        {"(?$x)", "Sequence (?$...) not implemented"},
        {"(?@x)", "Sequence (?@...) not implemented"},
        {"(?z)", "Sequence (?z...) not recognized"},
        {"(?iz)", "Sequence (?i...) not recognized"},
        {"a**", "nested *?+ in regexp"},
        {"a+{2}", "nested *?+ in regexp"},
        {"a*??", "nested *?+ in regexp"},
        {"x{5,3}", "Can't do {n,m} with n > m"},
        {"x{70000}", "Quantifier in {,} bigger than 65535"},
        {"*a", "?+* follows nothing"},
        {"a|+b", "?+* follows nothing"},
        {"a\\", "trailing \\ in regexp"},
        {"[abc", "unmatched [] in regexp"},
        {"[abc\\", "unmatched [] in regexp"},
        {"[z-a]", "invalid [] range in regexp"},
        {"[a-\\dz]", "invalid [] range in regexp"},
        {"a*?", ""},
        {"x{3,0}", ""},
        {"(?i)", ""},
        {"()", ""},
        {"a||b", ""},
    };
    for (const auto& [pattern, message] : cases) {
        EXPECT_EQ(CompileError(pattern), message) << pattern;
    }
    char text[kErrorTextSize] = "garbage";
    EXPECT_EQ(CompilePattern(nullptr, nullptr, nullptr, text), nullptr);
    EXPECT_STREQ(text, "NULL argument");
    std::string huge;
    for (int i = 0; i < 3000; ++i) {
        huge += "(a)";
    }
    EXPECT_EQ(CompileError(huge), "too big compile");
}

TEST(CompileRecord, FlagsGroupsAndEmptyPattern) {
    uint32_t flags = FLAG_GLOBAL | 0x10000;
    char text[kErrorTextSize];
    const std::string pattern = "(a)(?im)(b)";
    regex_test::Record rx(
        CompilePattern(pattern.data(), pattern.data() + pattern.size(), &flags, text));
    ASSERT_TRUE(rx);
    EXPECT_EQ(flags, FLAG_GLOBAL | 0x10000u | FLAG_FOLD | FLAG_MULTILINE);
    EXPECT_EQ(rx->flags, FLAG_GLOBAL | 0x10000u);
    EXPECT_EQ(rx->foldCase, 1);
    EXPECT_EQ(rx->groupCount, 2);
    EXPECT_EQ(rx->patternLength, 11);
    EXPECT_STREQ(rx->patternCopy, "(a)(?im)(b)");

    auto empty = Compile("");
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->program, nullptr);
    EXPECT_EQ(empty->patternCopy, nullptr);
    EXPECT_EQ(empty->startp, nullptr);
    EXPECT_EQ(empty->endp, nullptr);
}

TEST(CompileRecord, CostMarksBacktrackingPatterns) {
    EXPECT_EQ(Compile("abc")->costly, 0);
    EXPECT_EQ(Compile("(a*)*b(c+)*")->costly, 1);
}

TEST(ClassContains, MembersRangesEscapesAndFolding) {
    struct Case {
        const char* pattern;
        uint32_t flags;
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"[]a]", 0, "]a", "b-"},
        {"[a-]", 0, "a-", "b]"},
        {"[^\\d]", 0, "a ", "05"},
        {"[\\w]", 0, "aZ_9", " -\x80"},
        {"[\\s]", 0, " \t\r\n\f\v", "a"},
        {"[\\S]", 0, "a\x80", " \t"},
        {"[A-C]", FLAG_FOLD, "ABCabc", "dD"},
        {"[a-c]", FLAG_FOLD, "abc", "ABC"},
        {"[Q]", FLAG_FOLD, "Qq", "r"},
        {"[\\x41-\\x43\\n]", 0, "ABC\n", "D"},
        {"[\\b]", 0, "\b", "b"},
        {"[\\8]", 0, std::string("8\0", 2), "7"},
        {"[\\cA]", 0, "\x01", "A"},
    };
    for (const Case& c : cases) {
        auto rx = Compile(c.pattern, c.flags);
        ASSERT_TRUE(rx) << c.pattern;
        const unsigned char* node = rx->program + 5;
        ASSERT_EQ(node[0], OP_CLASS) << c.pattern;
        for (unsigned char ch : c.in) {
            EXPECT_TRUE(ClassContains(ch, node + 3)) << c.pattern << " " << int(ch);
        }
        for (unsigned char ch : c.out) {
            EXPECT_FALSE(ClassContains(ch, node + 3)) << c.pattern << " " << int(ch);
        }
    }
    // \D, \S and \W reach the double-byte values; octal escapes are not cut to a byte.
    auto nonDigit = Compile("[\\D]");
    EXPECT_TRUE(ClassContains(0x93FA, nonDigit->program + 8));
    auto octal = Compile("[\\777]");
    EXPECT_TRUE(ClassContains(511, octal->program + 8));
    // In kanji mode a double-byte character is one member and can bound a range.
    auto kana = Compile("[\x82\xa0-\x82\xf1]", FLAG_KANJI);
    EXPECT_TRUE(ClassContains(0x82A2, kana->program + 8));
    EXPECT_FALSE(ClassContains(0x82, kana->program + 8));
}

TEST(NumberReaders, OctalAndHex) {
    int used = -1;
    EXPECT_EQ(ReadOctal("777", 3, &used), 511u);
    EXPECT_EQ(used, 3);
    EXPECT_EQ(ReadOctal("1238", 5, &used), 83u);
    EXPECT_EQ(used, 3);
    EXPECT_EQ(ReadOctal("89", 3, &used), 0u);
    EXPECT_EQ(used, 0);
    EXPECT_EQ(ReadHex("fF", 2, &used), 255u);
    EXPECT_EQ(used, 2);
    EXPECT_EQ(ReadHex("x1", 2, &used), 1u);
    EXPECT_EQ(used, 2);
    EXPECT_EQ(ReadHex("4g", 2, &used), 4u);
    EXPECT_EQ(used, 1);
    EXPECT_EQ(ReadHex("", 2, &used), 0u);
    EXPECT_EQ(used, 0);
}

}  // namespace
