// widthfold: size pass plus conversion of every function over Japanese text. The full-to-half
// functions read the text after the matching half-to-full function, so that they have work.
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

// Functions 2, 4 and 6 read the output of 1, 3 and 5; the others the sample itself.
const std::string& InputFor(uint32_t function) {
    static std::string widened[3] = {
        Widthfold().Run(1, Text()).value_or(""),
        Widthfold().Run(3, Text()).value_or(""),
        Widthfold().Run(5, Text()).value_or(""),
    };
    return function == 0 || function % 2 == 1 ? Text() : widened[function / 2 - 1];
}

void BM_Memcpy(benchmark::State& state) {
    bench_support::RunMemcpy(state, Text());
}

void BM_Widthfold(benchmark::State& state) {
    const auto function = static_cast<uint32_t>(state.range(0));
    bench_support::RunConversion(state, Widthfold(), function, InputFor(function));
}

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Widthfold)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);

}  // namespace
