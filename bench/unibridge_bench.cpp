// unibridge: size pass plus conversion over Japanese text: Shift JIS, EUC-JP and JIS to UTF-8,
// Shift JIS to UTF-8 with a mark, Shift JIS, EUC-JP and UTF-8 to UTF-16, and UTF-8 and UTF-16
// back to Shift JIS.
#include <string>

#include "plugin_bench.h"
#include "support/sample_text.h"

namespace {

const testing_support::PluginUnderTest& Unibridge() {
    return bench_support::Plugin("unibridge");
}

const std::string& Sjis() {
    static const std::string text = testing_support::JapaneseText(12 << 20);
    return text;
}

const std::string& Euc() {
    static const std::string text = bench_support::Plugin("encswap").Run(4, Sjis()).value_or("");
    return text;
}

const std::string& Jis() {
    static const std::string text = bench_support::Plugin("encswap").Run(3, Sjis()).value_or("");
    return text;
}

const std::string& Utf8() {
    static const std::string text = Unibridge().Run(0, Sjis()).value_or("");
    return text;
}

const std::string& Utf16() {
    static const std::string text = Unibridge().Run(2, Sjis()).value_or("");
    return text;
}

void BM_Memcpy(benchmark::State& state) {
    bench_support::RunMemcpy(state, Sjis());
}

void BM_SjisToUtf8(benchmark::State& state) {
    bench_support::RunConversion(state, Unibridge(), 0, Sjis());
}
void BM_EucToUtf8(benchmark::State& state) {
    bench_support::RunConversion(state, Unibridge(), 0, Euc());
}
void BM_JisToUtf8(benchmark::State& state) {
    bench_support::RunConversion(state, Unibridge(), 0, Jis());
}
void BM_SjisToUtf8WithMark(benchmark::State& state) {
    bench_support::RunConversion(state, Unibridge(), 1, Sjis());
}
void BM_SjisToUtf16(benchmark::State& state) {
    bench_support::RunConversion(state, Unibridge(), 2, Sjis());
}
void BM_EucToUtf16(benchmark::State& state) {
    bench_support::RunConversion(state, Unibridge(), 2, Euc());
}
void BM_Utf8ToUtf16(benchmark::State& state) {
    bench_support::RunConversion(state, Unibridge(), 2, Utf8());
}
void BM_Utf8ToSjis(benchmark::State& state) {
    bench_support::RunConversion(state, Unibridge(), 3, Utf8());
}
void BM_Utf16ToSjis(benchmark::State& state) {
    bench_support::RunConversion(state, Unibridge(), 3, Utf16());
}

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SjisToUtf8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EucToUtf8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JisToUtf8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SjisToUtf8WithMark)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SjisToUtf16)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EucToUtf16)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Utf8ToUtf16)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Utf8ToSjis)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Utf16ToSjis)->Unit(benchmark::kMillisecond);

}  // namespace
