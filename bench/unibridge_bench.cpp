// unibridge: size pass plus conversion over Japanese text: Shift JIS, EUC-JP and JIS to UTF-8,
// Shift JIS to UTF-8 with a mark, Shift JIS, EUC-JP and UTF-8 to UTF-16, UTF-8 and UTF-16 back
// to Shift JIS, the same with each fallback, and Shift JIS to UTF-8 with references turned back.
#include <string>

#include "plugin_bench.h"

namespace {

using bench_support::SjisSample;

const testing_support::PluginUnderTest& Unibridge() {
    return bench_support::Plugin("unibridge");
}

const std::string& Euc() {
    static const std::string text =
        bench_support::Plugin("encswap").Run(4, SjisSample()).value_or("");
    return text;
}

const std::string& Jis() {
    static const std::string text =
        bench_support::Plugin("encswap").Run(3, SjisSample()).value_or("");
    return text;
}

const std::string& Utf8() {
    static const std::string text = Unibridge().Run(0, SjisSample()).value_or("");
    return text;
}

const std::string& Utf16() {
    static const std::string text = Unibridge().Run(2, SjisSample()).value_or("");
    return text;
}

void BM_Memcpy(benchmark::State& state) {
    bench_support::RunMemcpy(state, SjisSample());
}

// Each conversion measured: its name, the function and the text it reads.
struct Case {
    const char* name;
    uint32_t function;
    const std::string& (*input)();
};

constexpr Case kCases[] = {
    {"BM_SjisToUtf8", 0, SjisSample},  {"BM_EucToUtf8", 0, Euc},
    {"BM_JisToUtf8", 0, Jis},          {"BM_SjisToUtf8WithMark", 1, SjisSample},
    {"BM_SjisToUtf16", 2, SjisSample}, {"BM_EucToUtf16", 2, Euc},
    {"BM_Utf8ToUtf16", 2, Utf8},       {"BM_Utf8ToSjis", 3, Utf8},
    {"BM_Utf16ToSjis", 3, Utf16},      {"BM_Utf8ToSjisReadable", 4, Utf8},
    {"BM_Utf8ToSjisLossless", 5, Utf8}, {"BM_SjisToUtf8WithReferences", 6, SjisSample},
};

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);

// After memcpy, in the order of the table.
[[maybe_unused]] const bool kCasesRegistered = [] {
    for (const Case& c : kCases) {
        benchmark::RegisterBenchmark(c.name, [c](benchmark::State& state) {
            bench_support::RunConversion(state, Unibridge(), c.function, c.input());
        })->Unit(benchmark::kMillisecond);
    }
    return true;
}();

}  // namespace
