// Matching results over a table of patterns and subjects, captures and kanji mode included.
#include <gtest/gtest.h>

#include <string>

#include "regex_test_util.h"

namespace {

using namespace regex;
using regex_test::Compile;
using regex_test::Match;
using regex_test::MatchWith;

struct Case {
    const char* pattern;
    std::string subject;
    const char* expected;
    uint32_t flags = 0;
};

void RunTable(const Case* begin, const Case* end) {
    for (const Case* c = begin; c != end; ++c) {
        EXPECT_EQ(Match(c->pattern, c->subject, c->flags), c->expected)
            << "pattern " << c->pattern << " subject " << c->subject << " flags " << c->flags;
    }
}

TEST(Match, LiteralsClassesAndRepeats) {
    const Case cases[] = {
        {"abc", "xxabcxx", "[2,5)"},
        {"abc", "ab", "no match"},
        {"a.c", "abc a\nc", "[0,3)"},
        {"a.c", "a\nc", "no match"},
        {"(?s)a.c", "a\nc", "[0,3)"},
        {"[a-c]+", "xxbcaz", "[2,5)"},
        {"[^,]*,", "ab,cd", "[0,3)"},
        {"[^,]*", ",", "[0,0)"},
        {"\\d+", "ab123c", "[2,5)"},
        {"\\D+", "12ab3", "[2,4)"},
        {"\\w+", "  foo_1 ", "[2,7)"},
        {"\\W+", "ab, cd", "[2,4)"},
        {"\\s+", "a \t\nb", "[1,4)"},
        {"\\S+", "  ab ", "[2,4)"},
        {"x*", "aaa", "[0,0)"},
        {"x+", "aaxxxa", "[2,5)"},
        {"ax?b", "abaxb", "[0,2)"},
        {"a{2,3}", "aaaa", "[0,3)"},
        {"a{2}", "a", "no match"},
        {"x{3,0}", "xxxxxx", "no match"},
        {"(ab){2}", "ababab", "[0,4) [2,4)"},
        {"(ab){2,}", "abababx", "[0,6) [4,6)"},
        {"a*?b", "aaab", "[0,4)"},
        {"a+?", "aaa", "[0,1)"},
        {"(a+?)(a*)", "aaa", "[0,3) [0,1) [1,3)"},
        {"<.*>", "<a><b>", "[0,6)"},
        {"<.*?>", "<a><b>", "[0,3)"},
        {"(?:ab)*c", "ababc", "[0,5)"},
        {"x*$", "xxxx", "[0,4)"},
        {"a{0}b", "ab", "[1,2)"},
        {"[\\d,]+", "1,234x", "[0,5)"},
        {"a.*bc", "xxabbbcx", "[2,7)"},
        {"a\\*", "a*", "[0,2)"},
        {"x{,3}", "x{,3}", "[0,5)"},
        {"\\x41\\101\\cA", "AA\x01", "[0,3)"},
        {"", "abc", "error: corrupted regexp program"},
    };
    RunTable(std::begin(cases), std::end(cases));
}

TEST(Match, GroupsAlternativesAndBackReferences) {
    const Case cases[] = {
        {"(\\w+)\\s(\\w+)", "hello world", "[0,11) [0,5) [6,11)"},
        {"(a)|b", "b", "[0,1) -"},
        {"(a|ab)(c|bcd)(d*)", "abcd", "[0,4) [0,1) [1,4) [4,4)"},
        {"(a*)+", "aaa", "[0,3) [3,3)"},
        {"(a*)*b", "aab", "[0,3) [2,2)"},
        {"(a)\\1", "xaa", "[1,3) [1,2)"},
        {"(a)\\1", "ab", "no match"},
        {"(a*)b\\1", "aabaa", "[0,5) [0,2)"},
        {"(a)|\\1x", "x", "no match"},
        {"\\2(a)", "a", "no match"},
        {"\\9", "x", "no match"},
        {"(?:(a)|b)+", "ab", "[0,2) [0,1)"},
        {"(?:(a)|b)+", "ba", "[0,2) [1,2)"},
        {"(a|b)*c", "abac", "[0,4) [2,3)"},
        {"((a)|(b))+", "ab", "[0,2) [1,2) [0,1) [1,2)"},
        {"(?=ab)a", "xab", "[1,2)"},
        {"(?=(a))a", "a", "[0,1) [0,1)"},
        {"a(?!b)", "abac", "[2,3)"},
        {"(?!a)\\w", "ab", "[1,2)"},
        {"cat|dog|bird", "a bird", "[2,6)"},
        {"a||b", "b", "[0,0)"},
        {"(|a)b", "ab", "[0,2) [0,1)"},
        {"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)\\10", "abcdefghijj",
         "[0,11) [0,1) [1,2) [2,3) [3,4) [4,5) [5,6) [6,7) [7,8) [8,9) [9,10)"},
    };
    RunTable(std::begin(cases), std::end(cases));
}

// A path that fails leaves no group set: not inside a look-ahead's body, not when a negative
// look-ahead holds, not when the rest after a positive one fails (results as Python's re).
TEST(Match, LookAheadCapturesTakePartOnlyInTheMatch) {
    const Case cases[] = {
        // A single-character loop inside a negative look-ahead inside a greedy loop.
        {"(.(?![x]*1))*\\1", "ab1", "no match"},
        {"(.(?![x]*1))*\\1", "aab1", "[0,2) [0,1)"},
        {"(?:(\\w)(?![ ]*=))*\\1", "ab =", "no match"},
        {"(?:(\\w)(?![ ]*=))*\\1", "abb =", "[0,3) [1,2)"},
        {"(\\W(?![\x83\x95]*\\d))*\\1", "\x8a\xbf 1", "no match", FLAG_KANJI},
        // Groups of a negative look-ahead whose body matched.
        {"a*?(?!(a))", "aab", "[0,2) -"},
        {"a*?(?!(a)|(b))", "aabc", "[3,3) - -"},
        {"((?!(x))a)+", "aa", "[0,2) [1,2) -"},
        // Groups of a positive look-ahead whose continuation failed.
        {"\\w*?(?=(a)|)c", "aac", "[0,3) -"},
        {"(?:(?=(a))x)?a", "a", "[0,1) -"},
        {"(?:a(?=(b)))*c", "ababc", "[4,5) -"},
        {"(?:a(?=(b))b)*c", "ababc", "[0,5) [3,4)"},
        {"x*(?=(\\w))\\w*?!", "ab!", "[0,3) [0,1)"},
        {"(?=(a)|(b))\\w+c", "ac", "[0,2) [0,1) -"},
    };
    RunTable(std::begin(cases), std::end(cases));
}

TEST(Match, AnchorsAndBoundaries) {
    const Case cases[] = {
        {"^abc", "abc", "[0,3)"},
        {"^b", "a\nb", "no match"},
        {"^b", "a\nb", "[2,3)", FLAG_MULTILINE},
        {"(?m)^b", "a\nb", "[2,3)"},
        {"a$", "a\n", "[0,1)"},
        {"a$", "a\nb", "no match"},
        {"a$", "a\nb", "[0,1)", FLAG_MULTILINE},
        {"a\\Z", "a\n", "[0,1)"},
        {"a\\Z", "a\nb", "no match"},
        {"\\Aa", "ba", "no match"},
        {"$", "ab", "[2,2)"},
        {"\\bfoo\\b", "a foo b", "[2,5)"},
        {"\\bfoo\\b", "afoo", "no match"},
        {"\\Boo", "foo", "[1,3)"},
        {"\\b", "  ", "no match"},
        {"o\\b", "foo", "[2,3)"},
        {"(?m)x$", "ax\nbx\n", "[1,2)"},
        {"(?s)^a$", "a\n", "[0,1)"},
        {"\\Ga", "aa", "[0,1)"},
        {"\\S", std::string("\0a", 2), "[1,2)"},
        {"\\S+", std::string("a\0b", 3), "[0,3)"},
        {"\\ba",
         "\x83\x4a"
         "a",
         "no match", FLAG_KANJI},
        {"\\ba",
         "\x83\x4a"
         " a",
         "[3,4)", FLAG_KANJI},
    };
    RunTable(std::begin(cases), std::end(cases));
}

TEST(Match, CaseFolding) {
    const Case cases[] = {
        {"abc", "xABCx", "[1,4)", FLAG_FOLD}, {"(?i)ABC", "xabcx", "[1,4)"},
        {"(?i)[A-C]+", "xaBcD", "[1,4)"},     {"(?i)(b+)\\1", "aBbB", "[1,3) [1,2)"},
        {"(?i).ab$", "xxAB", "[1,4)"},        {"(?i)q", "\x83Q", "[1,2)"},
    };
    RunTable(std::begin(cases), std::end(cases));
}

TEST(Match, KanjiMode) {
    const std::string a = "\x82\xa0";   // hiragana a
    const std::string i = "\x82\xa2";   // hiragana i
    const std::string pa = "\x83\x70";  // katakana pa: second byte is "p"
    const std::string ka = "\x83\x4a";  // katakana ka: second byte is "J"
    struct KanjiCase {
        std::string pattern;
        std::string subject;
        const char* expected;
        uint32_t flags = 0;
    };
    const KanjiCase cases[] = {
        {".", a, "[0,2)", FLAG_KANJI},
        {".", a, "[0,1)"},
        {"\\W", a, "[0,2)", FLAG_KANJI},
        {"\\w", a, "no match", FLAG_KANJI},
        {"\\d", "\x82\x4f", "no match", FLAG_KANJI},
        {"p", pa, "no match", FLAG_KANJI},
        {"p", pa, "[1,2)"},
        {"p", pa + "p", "[2,3)", FLAG_KANJI},
        {"[p]", pa + "p", "[2,3)", FLAG_KANJI},
        {"\\W{2}", a, "[0,2)", FLAG_KANJI},
        {"\\W{2}", "!?", "[0,2)", FLAG_KANJI},
        {(a + "+"), a + a + i, "[0,4)", FLAG_KANJI},
        {("[" + a + "-" + i + "]+"), "x" + a + i + "y", "[1,5)", FLAG_KANJI},
        {("[^" + a + "]"), a + i, "[2,4)", FLAG_KANJI},
        {"J\\b", ka + "Ja", "no match", FLAG_KANJI},
        {".*", a + i, "[0,4)", FLAG_KANJI},
        {"(.)\\1", a + a, "[0,4) [0,2)", FLAG_KANJI},
        {"x.y", "x" + a + "y", "[0,4)", FLAG_KANJI},
        {"x.y", "x" + a + "y", "no match"},
        {"(?i)J", ka + "j", "[2,3)", FLAG_KANJI},
        {".$", std::string("\x82"), "[0,1)", FLAG_KANJI},
    };
    for (const KanjiCase& c : cases) {
        EXPECT_EQ(Match(c.pattern, c.subject, c.flags), c.expected) << c.pattern;
    }
}

TEST(Match, Utf8Mode) {
    const uint32_t k = FLAG_KANJI | FLAG_UTF8;
    const std::string a = "\xE3\x81\x82";        // あ
    const std::string smile = "\xF0\x9F\x98\x80";  // U+1F600
    const std::string e = "\xC3\xA9";             // é
    struct Utf8Case {
        std::string pattern;
        std::string subject;
        const char* expected;
        uint32_t flags = k;
    };
    const Utf8Case cases[] = {
        {".", smile, "[0,4)"},
        {".", smile, "[0,1)", FLAG_UTF8},  // without k a byte
        {"[^x]", smile + "x", "[0,4)"},
        {"[" + smile + "-\xF0\x9F\x98\x82]+", "a" + smile + "b", "[1,5)"},
        {"[\\D]", smile, "[0,4)"},
        {"[\\w]+", e + "ab", "[2,4)"},
        {"[\\xe9]", e, "[0,2)"},  // the character U+00E9
        {"[\\xe9]", "\xE9" + a, "no match"},  // a stray byte is no code point
        {"[^a]", "\xE9" + a, "[0,1)"},
        {"\\W+", a + smile + "x", "[0,7)"},
        {"\\W{2}", a + a + a, "[0,6)"},
        {a + "{2}", a + a + a, "[0,6)"},
        {"\\x81\\x82", a, "no match"},
        {"\\x81\\x82", a, "[1,3)", FLAG_UTF8},
        {"..x", a + smile + "x", "[0,8)"},
        {"\\Sx$", a + "x", "[0,4)"},
    };
    for (const Utf8Case& c : cases) {
        EXPECT_EQ(Match(c.pattern, c.subject, c.flags), c.expected) << c.pattern;
    }
}

TEST(Match, SearchWindowsAndMinimumEnd) {
    // An empty text never matches, not even an empty match.
    EXPECT_EQ(Match("x*", ""), "no match");
    // With minEnd 1 an empty match at the start is skipped.
    auto star = Compile("x*");
    EXPECT_EQ(MatchWith(star.get(), "ab", 0, 1), "[1,1)");
    // "^" after the base only when multi-line and after a newline.
    auto caret = Compile("^b");
    EXPECT_EQ(MatchWith(caret.get(), "ab", 1), "no match");
    auto caretM = Compile("^b", FLAG_MULTILINE);
    EXPECT_EQ(MatchWith(caretM.get(), "a\nb", 2), "[2,3)");
    EXPECT_EQ(MatchWith(caretM.get(), "ab", 1), "no match");
    // Global-substitution style: successive searches from the previous end.
    auto digits = Compile("\\d+");
    EXPECT_EQ(MatchWith(digits.get(), "1a22b333", 1), "[2,4)");
    EXPECT_EQ(MatchWith(digits.get(), "1a22b333", 4), "[5,8)");
    auto fold = Compile("b", FLAG_FOLD);
    EXPECT_EQ(MatchWith(fold.get(), "BaBB", 0), "[0,1)");
    EXPECT_EQ(MatchWith(fold.get(), "BaBB", 1), "[2,3)");
    EXPECT_EQ(MatchWith(fold.get(), "BaBB", 3), "[3,4)");
}

TEST(Match, MustLiteralRejectsAndIsDroppedWhenUseless) {
    auto rx = Compile("\\w+x");
    ASSERT_NE(rx->mustLiteral, nullptr);
    EXPECT_EQ(MatchWith(rx.get(), "aaaa"), "no match");
    EXPECT_EQ(rx->mustLiteral->usefulness, 101);
    for (int i = 0; i < 102; ++i) {
        EXPECT_EQ(MatchWith(rx.get(), "x ax"), "[2,4)");
    }
    EXPECT_EQ(rx->mustLiteral, nullptr);
    EXPECT_EQ(MatchWith(rx.get(), "x ax"), "[2,4)");
}

TEST(Match, CopiesTheSubjectWhenNotKeptInPlace) {
    auto rx = Compile("(b)");
    std::string subject = "abc";
    char error[kErrorTextSize];
    ASSERT_EQ(
        ExecutePattern(rx.get(), subject.data(), subject.data() + 3, subject.data(), 0, 0, error),
        1);
    ASSERT_NE(rx->savedSubject, nullptr);
    EXPECT_EQ(rx->subjectBegin, rx->savedSubject);
    EXPECT_EQ(rx->startp[1], rx->savedSubject + 1);
    subject = "xyz";
    EXPECT_EQ(std::string(rx->startp[1], rx->endp[1]), "b");
}

TEST(Match, ReportsBrokenRecords) {
    auto empty = Compile("");
    std::string subject = "abc";
    char error[kErrorTextSize];
    EXPECT_EQ(ExecutePattern(empty.get(), subject.data(), subject.data() + 3, subject.data(), 0, 1,
                             error),
              0);
    EXPECT_STREQ(error, "corrupted regexp program");
    auto rx = Compile("ab");
    rx->program[5] = 200;
    EXPECT_EQ(
        ExecutePattern(rx.get(), subject.data(), subject.data() + 3, subject.data(), 0, 1, error),
        0);
    EXPECT_STREQ(error, "regexp memory corruption");
}

}  // namespace

namespace {

TEST(Match, LeadingDotStarAcrossLines) {
    const Case cases[] = {
        {".*x", "ab\ncx\n", "[3,5)"},
        {".*x", "ab\ncd\n", "no match"},
        {"(?s).*x", "ab\ncx\nd", "[0,5)"},
        {".*x$", "axbx\nx", "[5,6)"},
        {"(.*)=(.*)", "k=v\nz", "[0,3) [0,1) [2,3)"},
        {".*\\d", "ab1c2", "[0,5)"},
        {".+", "\n\nab", "[2,4)"},
        {"a.*", "xab\nc", "[1,3)"},
        {".*", "\nab", "[0,0)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(regex_test::Match(c.pattern, c.subject, c.flags), c.expected) << c.pattern;
    }
    // Kanji mode: the run keeps to characters, also when a lead byte meets the newline.
    const std::string a = "\x82\xa0";
    EXPECT_EQ(regex_test::Match(".*p", a + "p", regex::FLAG_KANJI), "[0,3)");
    EXPECT_EQ(regex_test::Match(".*p", "\x83p", regex::FLAG_KANJI), "no match");
    EXPECT_EQ(regex_test::Match(".*b", std::string("\x82\nb"), regex::FLAG_KANJI), "[0,3)");
    EXPECT_EQ(regex_test::Match(".*b", std::string("a\0b", 3), regex::FLAG_KANJI), "[0,3)");
}

}  // namespace
