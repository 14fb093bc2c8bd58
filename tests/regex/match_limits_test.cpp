// Long texts, deep recursion, group numbers beyond the record and reads at the text's end.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "regex_test_util.h"

namespace {

using namespace regex;
using regex_test::Compile;
using regex_test::Match;
using regex_test::MatchWith;

TEST(MatchLimits, LoopsOverTenMegabyteLines) {
    const std::size_t size = 10u << 20;
    std::string line(size, 'a');
    line += ",b";
    EXPECT_EQ(Match(".*", line), "[0," + std::to_string(size + 2) + ")");
    EXPECT_EQ(Match("[^,]*,", line), "[0," + std::to_string(size + 1) + ")");
    EXPECT_EQ(Match("^.*b$", line), "[0," + std::to_string(size + 2) + ")");
    EXPECT_EQ(Match("(.*),(b)", line), "[0," + std::to_string(size + 2) + ") [0," +
                                           std::to_string(size) + ") [" + std::to_string(size + 1) +
                                           "," + std::to_string(size + 2) + ")");
    EXPECT_EQ(Match(".*?,", line), "[0," + std::to_string(size + 1) + ")");
}

TEST(MatchLimits, AlternationsInLoopsOverLongLines) {
    // One recursion level per iteration: far beyond the default stack, still matched.
    std::string text;
    for (int i = 0; i < 40000; ++i) {
        text += "ab";
    }
    EXPECT_EQ(Match("(?:a|b)*c", text + "c"), "[0," + std::to_string(text.size() + 1) + ")");
    EXPECT_EQ(Match("(a|b)+$", text), "[0," + std::to_string(text.size()) + ") [" +
                                          std::to_string(text.size() - 1) + "," +
                                          std::to_string(text.size()) + ")");
}

// Four million loop iterations cost heap memory, not the thread's stack: the match is found.
TEST(MatchLimits, MillionsOfIterationsMatch) {
    std::string text;
    for (int i = 0; i < 2000000; ++i) {
        text += "ab";
    }
    text += 'c';  // present, so the must-literal check lets the attempts run
    EXPECT_EQ(Match("(?:a|b)*c", text), "[0," + std::to_string(text.size()) + ")");
}

// Release builds take lines of 10 MB; the slower checked builds 1 MB.
#ifdef NDEBUG
constexpr std::size_t kLongLine = 10u << 20;
#else
constexpr std::size_t kLongLine = 1u << 20;
#endif

TEST(MatchLimits, GeneralLoopsCrossLongLinesAndKeepTheLastIteration) {
    std::string line;
    line.reserve(kLongLine + 1);
    while (line.size() < kLongLine) {
        line += "ab";
    }
    line += 'c';
    const std::size_t size = line.size();
    const auto range = [](std::size_t from, std::size_t to) {
        return "[" + std::to_string(from) + "," + std::to_string(to) + ")";
    };
    EXPECT_EQ(Match("(ab)*c", line), range(0, size) + " " + range(size - 3, size - 1));
    EXPECT_EQ(Match("(?:(a)|b)*c", line), range(0, size) + " " + range(size - 3, size - 2));
    const std::string shorter = line.substr(size - (1u << 20) - 1);  // still ends in "abc"
    const std::size_t n = shorter.size();
    EXPECT_EQ(Match("(?:(a)|(b))+?c", shorter),
              range(0, n) + " " + range(n - 3, n - 2) + " " + range(n - 2, n - 1));
}

TEST(MatchLimits, BacktrackingBeyondItsMemoryIsAnError) {
    // Thirty group marks per "a" to take back: far more than the line's share of memory.
    std::string pattern = "(?:" + std::string(30, '(') + "a" + std::string(30, ')') + "|b)*c";
    EXPECT_EQ(Match(pattern, std::string(1u << 20, 'a') + "c"), "error: regexp out of memory");
    EXPECT_EQ(Match(pattern, "aac").substr(0, 13), "[0,3) [1,2) [");
}

TEST(MatchLimits, LoopsThatFailEverywhereStayLinear) {
    // Exponential and quadratic without remembering where a loop already failed.
    const std::string line(20000, 'a');
    const std::string n = std::to_string(line.size());
    const std::pair<const char*, std::string> cases[] = {
        {"(a|aa)*\\d", "no match"},
        {"(?:a|b)*\\d", "no match"},
        {"(?:a|b)+?\\d", "no match"},
        {"x|(?!(?:a|aa)*\\d)", "[0,0)"},
        {"(?:(a)|aa)*$", "[0," + n + ") [" + std::to_string(line.size() - 1) + "," + n + ")"},
        {"(?:a|b)*(?:a|c)*!", "no match"},
    };
    for (const auto& [pattern, expected] : cases) {
        std::string result = Match(pattern, line);
        EXPECT_EQ(result.substr(0, expected.size()), expected) << pattern;
    }
    EXPECT_EQ(Match("(a|aa)*\\d", line + "1"), "[0," + std::to_string(line.size() + 1) + ") [" +
                                                   std::to_string(line.size() - 1) + "," + n + ")");
}

TEST(MatchLimits, SearchesThatWouldRunForeverAreTooComplex) {
    // Back-references keep the memo out; nested loops and repeats multiply the candidates.
    const std::string line(400, 'a');
    for (const char* pattern :
         {"(a|aa)*\\1\\d", "(?:(?:a|aa)*)*\\d", "a*a*a*a*;\\d", "(?:a|aa){1,30000}\\d"}) {
        EXPECT_EQ(Match(pattern, line + ";"), "error: regexp too complex") << pattern;
    }
    // The searches of one subject share the budget: once it is spent, a later search of the
    // same subject is refused, a search of a new subject is not.
    // The budget belongs to the subject's buffer, so both searches must see the same one.
    auto rx = Compile("(a|aa)*\\1\\d|z");
    const std::vector<char> subject = regex_test::Unterminated(line + "z");
    const char* begin = subject.data();
    const char* end = begin + line.size() + 1;
    const auto search = [&](const char* start) {
        char error[regex::kErrorTextSize] = "";
        const int found = regex::ExecutePattern(rx.get(), start, end, begin, 0, 1, error);
        return error[0] != '\0' ? std::string("error: ") + error : std::to_string(found);
    };
    EXPECT_EQ(search(begin), "error: regexp too complex");
    EXPECT_EQ(search(begin + line.size()), "error: regexp too complex");
    EXPECT_EQ(MatchWith(rx.get(), "z"), "[0,1) -");
}

TEST(MatchLimits, LoopsWhoseBodyMatchesEmptyEndAfterBacktracking) {
    // The empty-iteration check must survive backtracking into earlier iterations.
    const std::pair<const char*, const char*> cases[] = {
        {"(?:a?)*c*?c{1,2}", "no match"}, {"(?:a?)*b", "[0,2)"},   {"(?:b?){2,}c", "no match"},
        {"(?:a|)*x", "no match"},         {"(a?)+?z", "no match"},
    };
    for (const auto& [pattern, expected] : cases) {
        EXPECT_EQ(Match(pattern, std::string("ab") + std::string(30, 'a')), expected) << pattern;
    }
}

TEST(MatchLimits, BackReferencesBeyondTheGroups) {
    EXPECT_EQ(Match("(a)\\5", "aa"), "no match");
    EXPECT_EQ(Match("\\1a", "a"), "no match");
    EXPECT_EQ(Match("(a)|\\2", "b"), "no match");
}

TEST(MatchLimits, NoReadAtTheEndOfTheText) {
    // Every subject is passed in a buffer whose byte after the end is "x" (see MatchWith).
    const std::pair<const char*, const char*> cases[] = {
        {"a$", "[0,1)"},      {"a\\Z", "[0,1)"},      {"a.", "no match"}, {"a[x]", "no match"},
        {"ax", "no match"},   {"a\\S", "no match"},   {"ax*$", "[0,1)"},  {"a\\b", "[0,1)"},
        {"a\\w", "no match"}, {"(a)\\1", "no match"},
    };
    for (const auto& [pattern, expected] : cases) {
        EXPECT_EQ(Match(pattern, "a"), expected) << pattern;
    }
    // A lead byte at the very end in kanji mode does not take the byte after the text.
    EXPECT_EQ(Match(".", "\x82", FLAG_KANJI), "[0,1)");
    EXPECT_EQ(Match("\\W+", "\x82", FLAG_KANJI), "[0,1)");
}

TEST(MatchLimits, RepeatedSearchesStayLinear) {
    // 10 MB with a match every 20 bytes, searched as a global substitution does.
    std::string text;
    while (text.size() < (10u << 20)) {
        text += "abcdefghijklmnopqrsX";
    }
    for (uint32_t flags : {0u, static_cast<uint32_t>(FLAG_FOLD)}) {
        auto rx = Compile("x", flags | FLAG_FOLD);
        const auto began = std::chrono::steady_clock::now();
        const char* p = text.data();
        const char* end = text.data() + text.size();
        std::size_t count = 0;
        char error[kErrorTextSize];
        while (p < end && ExecutePattern(rx.get(), p, end, text.data(), 0, 1, error)) {
            p = rx->endp[0];
            ++count;
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
        EXPECT_EQ(count, text.size() / 20);
        EXPECT_LT(seconds, 5.0);  // generous for sanitizer builds; about 0.1 s in release
        (void)flags;
    }
}

}  // namespace
