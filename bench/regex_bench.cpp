// The expression engine over 100 MB of Japanese text: one search through a text that holds no
// match (the pure scan rate), and every match found in turn as a global substitution finds
// them (each search starts at the previous match's end).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "plugin_bench.h"
#include "regex/regex.h"
#include "support/sample_text.h"

namespace {

using testing_support::Sjis;

const std::string& Text() {
    static const std::string text = testing_support::JapaneseText(100u << 20);
    return text;
}

struct Pattern {
    std::string text;
    uint32_t flags;
};

Pattern PatternOf(int64_t index, bool present) {
    switch (index) {
        case 0:
            return {Sjis(present ? "会議室" : "大阪府"), regex::FLAG_KANJI};
        case 1:
            return {".*" + Sjis(present ? "会議室" : "大阪府"), regex::FLAG_KANJI};
        case 2:
            return {present ? "\\d+" : "\\d+x", regex::FLAG_KANJI};
        case 3:
            return {present ? "quick|lazy|brown" : "quack|lizard|blue", regex::FLAG_KANJI};
        default:
            return {present ? "version" : "versions", regex::FLAG_FOLD | regex::FLAG_KANJI};
    }
}

void Search(benchmark::State& state, bool present) {
    const Pattern pattern = PatternOf(state.range(0), present);
    uint32_t flags = pattern.flags;
    char error[regex::kErrorTextSize];
    regex::RegexRecord* rx = regex::CompilePattern(
        pattern.text.data(), pattern.text.data() + pattern.text.size(), &flags, error);
    if (rx == nullptr) {
        state.SkipWithError(error);
        return;
    }
    const std::string& text = Text();
    const char* begin = text.data();
    const char* end = begin + text.size();
    std::size_t matches = 0;
    for (auto _ : state) {
        matches = 0;
        const char* p = begin;
        uint32_t minEnd = 0;
        while (p < end && regex::ExecutePattern(rx, p, end, begin, minEnd, 1, error)) {
            ++matches;
            minEnd = rx->endp[0] == rx->startp[0] ? 1 : 0;
            p = rx->endp[0];
        }
        benchmark::DoNotOptimize(matches);
    }
    state.counters["matches"] = static_cast<double>(matches);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
    state.SetLabel(present ? "every match" : "no match");
    regex::ReleaseRegexRecord(rx);
}

void BM_Memcpy(benchmark::State& state) {
    bench_support::RunMemcpy(state, Text());
}
void BM_RegexNoMatch(benchmark::State& state) {
    Search(state, false);
}
void BM_RegexEveryMatch(benchmark::State& state) {
    Search(state, true);
}

// Patterns that backtrack without end unless the matcher remembers failed loops or stops at
// its step budget, over a line of 100 KB of "a": 0 and 1 finish (no match), 2 and 3 fail as
// too complex.
void BM_RegexPathological(benchmark::State& state) {
    static const char* const kPatterns[] = {"(a|aa)*\\d", "(?:a|b)*\\d", "(a|aa)*\\1\\d",
                                            "^(\\w+\\s?)*$"};
    const std::string pattern = kPatterns[state.range(0)];
    const std::string line = std::string(100000, 'a') + ";";
    char error[regex::kErrorTextSize] = "";
    for (auto _ : state) {
        uint32_t flags = 0;
        regex::RegexRecord* rx =
            regex::CompilePattern(pattern.data(), pattern.data() + pattern.size(), &flags, error);
        benchmark::DoNotOptimize(regex::ExecutePattern(rx, line.data(), line.data() + line.size(),
                                                       line.data(), 0, 1, error));
        regex::ReleaseRegexRecord(rx);
    }
    state.SetLabel(pattern + (error[0] != '\0' ? std::string(": ") + error : ""));
}

// General loops over one line of 10 MB ("ab" repeated, then "c"): every iteration leaves
// entries on the backtracking stack. 0: "(ab)*c", 1: "(?:(a)|b)*c".
void BM_RegexLongLineLoop(benchmark::State& state) {
    static const char* const kPatterns[] = {"(ab)*c", "(?:(a)|b)*c"};
    const std::string pattern = kPatterns[state.range(0)];
    static const std::string line = [] {
        std::string text;
        while (text.size() < (10u << 20)) {
            text += "ab";
        }
        return text + "c";
    }();
    char error[regex::kErrorTextSize] = "";
    uint32_t flags = 0;
    regex::RegexRecord* rx =
        regex::CompilePattern(pattern.data(), pattern.data() + pattern.size(), &flags, error);
    for (auto _ : state) {
        benchmark::DoNotOptimize(regex::ExecutePattern(rx, line.data(), line.data() + line.size(),
                                                       line.data(), 0, 1, error));
    }
    regex::ReleaseRegexRecord(rx);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(line.size()));
    state.SetLabel(pattern + (error[0] != '\0' ? std::string(": ") + error : ""));
}

// 0 literal, 1 ".*" then a literal, 2 "\d+", 3 alternation, 4 case-insensitive literal.
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RegexNoMatch)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RegexEveryMatch)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RegexPathological)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_RegexLongLineLoop)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

}  // namespace
