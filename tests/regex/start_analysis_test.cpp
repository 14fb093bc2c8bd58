// Start facts of compiled patterns.
#include <gtest/gtest.h>

#include <string>

#include "regex/node_program.h"
#include "regex_test_util.h"

namespace {

using namespace regex;
using regex_test::Compile;

struct Facts {
    std::string startLiteral = "-";
    int startClassKind = -1;
    int anchors = 0;
    std::string must = "-";
    int mustOffset = -1;
    bool tail = false;
    bool table = false;
};

Facts FactsOf(std::string_view pattern, uint32_t flags = 0) {
    auto rx = Compile(pattern, flags);
    Facts f;
    if (!rx) {
        ADD_FAILURE() << pattern;
        return f;
    }
    if (rx->startLiteral) {
        f.startLiteral.assign(rx->startLiteral->data, rx->startLiteral->length);
    }
    if (rx->startClass) {
        f.startClassKind = rx->startClass[0];
    }
    f.anchors = rx->anchorFlags;
    if (rx->mustLiteral) {
        f.must.assign(rx->mustLiteral->data, rx->mustLiteral->length);
        f.tail = rx->mustLiteral->flags & kLiteralTail;
        f.table = rx->mustLiteral->flags & kLiteralTableValid;
        EXPECT_EQ(rx->mustLiteral->usefulness, 100);
    }
    f.mustOffset = rx->mustOffset;
    return f;
}

TEST(StartAnalysis, Table) {
    struct Case {
        const char* pattern;
        uint32_t flags;
        const char* startLiteral;
        int startClass;
        int anchors;
        const char* must;
        int mustOffset;
        bool tail;
    };
    const Case cases[] = {
        {"A|B", 0, "-", -1, 0, "-", -1, false},
        {"abc", 0, "abc", -1, 0, "-", -1, false},
        {".abc", 0, "-", -1, 0, "abc", 1, false},
        {".x$", 0, "-", -1, 0, "x", 1, true},
        {"^abc", 0, "abc", -1, ANCHOR_START, "-", -1, false},
        {"a+b", 0, "a", -1, ANCHOR_SKIP_RUN, "b", -1, false},
        {"(a+)b", 0, "a", -1, ANCHOR_SKIP_RUN, "b", -1, false},
        {"(a+)\\1", 0, "a", -1, 0, "-", -1, false},
        {"\\d+x", 0, "-", OP_DIGIT, ANCHOR_SKIP_RUN, "x", -1, false},
        {"a.*bc", 0, "a", -1, 0, "bc", -1, false},
        {"\\bword", 0, "-", OP_BOUNDARY, 0, "word", 0, false},
        {"[0-9]x", 0, "-", OP_CLASS, 0, "x", 1, false},
        {"(?:ab)+c", 0, "ab", -1, 0, "c", -1, false},
        {"x{2}y", 0, "x", -1, 0, "y", -1, false},
        {"..(ab)c", 0, "-", -1, 0, "abc", 2, false},
        {"a(?!b)cd", 0, "a", -1, 0, "cd", -1, false},
        {"(?i)ABC", 0, "abc", -1, 0, "-", -1, false},
        {".(?i)B", 0, "-", -1, 0, "b", 1, false},
        {"(?m)^ab", 0, "ab", -1, ANCHOR_START, "-", -1, false},
    };
    for (const Case& c : cases) {
        const Facts f = FactsOf(c.pattern, c.flags);
        EXPECT_EQ(f.startLiteral, c.startLiteral) << c.pattern;
        EXPECT_EQ(f.startClassKind, c.startClass) << c.pattern;
        EXPECT_EQ(f.anchors, c.anchors) << c.pattern;
        EXPECT_EQ(f.must, c.must) << c.pattern;
        EXPECT_EQ(f.mustOffset, c.mustOffset) << c.pattern;
        EXPECT_EQ(f.tail, c.tail) << c.pattern;
    }
}

TEST(StartAnalysis, SkipTablesForUsefulMustLiterals) {
    EXPECT_TRUE(FactsOf(".ab").table);
    EXPECT_FALSE(FactsOf(".a").table);
    EXPECT_TRUE(FactsOf(".a", FLAG_FOLD).table);
    EXPECT_TRUE(FactsOf(".a$").table);
}

}  // namespace

namespace {

using regex::ANCHOR_IMPLICIT;

TEST(StartBytes, OnlyWhenEveryMatchConsumes) {
    struct Case {
        const char* pattern;
        bool valid;
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"quick|lazy|brown", true, "qlb", "xQ"},
        {"(?:a|b)c", true, "ab", "c"},
        {"x*y", true, "xy", "z"},
        {"x*", false, "", ""},
        {"a|", false, "", ""},
        {"\\d+", true, "09", "a"},
        {"(a)\\1", true, "a", "b"},
        {"\\1a", false, "", ""},
        {"(?=b)\\w", true, "bw_", " "},
        {"[^a]", true, "b\n", "a"},
        {"(?:ab)*c", true, "ac", "b"},
        {"^a", true, "a", "b"},
    };
    for (const auto& c : cases) {
        auto rx = regex_test::Compile(c.pattern);
        ASSERT_TRUE(rx) << c.pattern;
        EXPECT_EQ(rx->startBytesValid != 0, c.valid) << c.pattern;
        for (unsigned char b : c.in) {
            EXPECT_TRUE(rx->startBytes[b]) << c.pattern << " " << b;
        }
        for (unsigned char b : c.out) {
            EXPECT_FALSE(rx->startBytes[b]) << c.pattern << " " << b;
        }
    }
}

TEST(StartBytes, ImplicitAnchorForLeadingDotStar) {
    EXPECT_TRUE(regex_test::Compile(".*x")->anchorFlags & ANCHOR_IMPLICIT);
    EXPECT_TRUE(regex_test::Compile("(?s).*x")->anchorFlags & ANCHOR_IMPLICIT);
    EXPECT_FALSE(regex_test::Compile(".*?x")->anchorFlags & ANCHOR_IMPLICIT);
    EXPECT_FALSE(regex_test::Compile(".{0,5}x")->anchorFlags & ANCHOR_IMPLICIT);
    EXPECT_FALSE(regex_test::Compile("(.*)x\\1")->anchorFlags & ANCHOR_IMPLICIT);
    EXPECT_FALSE(regex_test::Compile(".*x|y")->anchorFlags & ANCHOR_IMPLICIT);
}

}  // namespace

namespace {

TEST(StartBytes, LineBoundPatterns) {
    const std::pair<const char*, bool> cases[] = {
        {".*x", true},     {"a\\w+b", true}, {"[^a]x", false}, {"a\\sb", false},
        {"(?s).x", false}, {"a\\Wb", false}, {"a\\nb", false}, {"[a\\n]", false},
    };
    for (const auto& [pattern, bound] : cases) {
        EXPECT_EQ(regex_test::Compile(pattern)->lineBound != 0, bound) << pattern;
    }
    // The must-literal's line is where the search may begin.
    EXPECT_EQ(regex_test::Match("a.*bc", "a\nxbc"), "no match");
    EXPECT_EQ(regex_test::Match("a.*bc", "a\nabc"), "[2,5)");
    EXPECT_EQ(regex_test::Match("a[^\\n]*bc", "zz\nabbc\n"), "[3,7)");
}

}  // namespace
