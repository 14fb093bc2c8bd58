// widthfold: size pass plus conversion of every function over Japanese text, in Shift JIS and
// in UTF-8. The sample mixes half-width katakana, ASCII and full-width digits, letters and
// symbols, so every function has work; "Widened" runs the full-to-half functions over the text
// after the matching half-to-full function, where nearly every digit, letter or symbol is full
// width.
#include <array>
#include <string>

#include "platform/utf8_text.h"
#include "plugin_bench.h"
#include "support/sample_text.h"

namespace {

const testing_support::PluginUnderTest& Widthfold() {
    return bench_support::Plugin("widthfold");
}

// 0: Shift JIS, 1: UTF-8.
const std::string& Text(int encoding) {
    static const std::string texts[2] = {
        testing_support::JapaneseText(12 << 20),
        testing_support::JapaneseUtf8Text(12 << 20),
    };
    return texts[encoding];
}

void BM_Memcpy(benchmark::State& state) {
    bench_support::RunMemcpy(state, Text(0));
}

// The test every function makes before it reads a text as UTF-8 or Shift JIS.
void BM_ClassifyText(benchmark::State& state) {
    const std::string& text = Text(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(platform::ClassifyText(text));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void BM_Widthfold(benchmark::State& state) {
    bench_support::RunConversion(state, Widthfold(), static_cast<uint32_t>(state.range(0)),
                                 Text(0));
}

void BM_WidthfoldUtf8(benchmark::State& state) {
    bench_support::RunConversion(state, Widthfold(), static_cast<uint32_t>(state.range(0)),
                                 Text(1));
}

// Functions 2, 4 and 6 over the output of 1, 3 and 5.
void RunWidened(benchmark::State& state, int encoding) {
    static const auto widen = [](int e) {
        return std::array<std::string, 3>{
            Widthfold().Run(1, Text(e)).value_or(""),
            Widthfold().Run(3, Text(e)).value_or(""),
            Widthfold().Run(5, Text(e)).value_or(""),
        };
    };
    static const std::array<std::string, 3> widened[2] = {widen(0), widen(1)};
    const auto function = static_cast<uint32_t>(state.range(0));
    bench_support::RunConversion(state, Widthfold(), function, widened[encoding][function / 2 - 1]);
}

void BM_WidthfoldWidened(benchmark::State& state) {
    RunWidened(state, 0);
}

void BM_WidthfoldUtf8Widened(benchmark::State& state) {
    RunWidened(state, 1);
}

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClassifyText)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Widthfold)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WidthfoldWidened)->Arg(2)->Arg(4)->Arg(6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WidthfoldUtf8)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WidthfoldUtf8Widened)->Arg(2)->Arg(4)->Arg(6)->Unit(benchmark::kMillisecond);

}  // namespace
