// widthfold: size pass plus conversion of every function over Japanese text. The sample mixes
// half-width katakana, ASCII and full-width digits, letters and symbols, so every function has
// work; "Widened" runs the full-to-half functions over the text after the matching
// half-to-full function, where nearly every digit, letter or symbol is full width.
#include <string>

#include "plugin_bench.h"
#include "support/sample_text.h"

namespace {

const testing_support::PluginUnderTest& Widthfold() {
    return bench_support::Plugin("widthfold");
}

const std::string& Text() {
    static const std::string text = testing_support::JapaneseText(12 << 20);
    return text;
}

void BM_Memcpy(benchmark::State& state) {
    bench_support::RunMemcpy(state, Text());
}

void BM_Widthfold(benchmark::State& state) {
    bench_support::RunConversion(state, Widthfold(), static_cast<uint32_t>(state.range(0)), Text());
}

// Functions 2, 4 and 6 over the output of 1, 3 and 5.
void BM_WidthfoldWidened(benchmark::State& state) {
    static const std::string widened[3] = {
        Widthfold().Run(1, Text()).value_or(""),
        Widthfold().Run(3, Text()).value_or(""),
        Widthfold().Run(5, Text()).value_or(""),
    };
    const auto function = static_cast<uint32_t>(state.range(0));
    bench_support::RunConversion(state, Widthfold(), function, widened[function / 2 - 1]);
}

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Widthfold)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WidthfoldWidened)->Arg(2)->Arg(4)->Arg(6)->Unit(benchmark::kMillisecond);

}  // namespace
