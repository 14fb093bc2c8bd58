// The text test that a run makes before a text function (host/core/files/text_content.h),
// next to eolfix over the same 100 MiB of Shift JIS in the same run: the test reads only the
// signatures and both ends of a file, so it must stay far below the conversion it guards.
#include <span>

#include "host/core/files/text_content.h"
#include "plugin_bench.h"
#include "support/sample_text.h"

namespace {

const std::string& Text() {
    static const std::string text = testing_support::JapaneseText(100 << 20, "\r\n");
    return text;
}

void BM_Memcpy(benchmark::State& state) { bench_support::RunMemcpy(state, Text()); }

void BM_ClassifyContent(benchmark::State& state) {
    const std::string& text = Text();
    const std::span bytes(reinterpret_cast<const unsigned char*>(text.data()), text.size());
    for (auto _ : state) {
        host::ContentVerdict verdict = host::ClassifyContent(bytes);
        if (verdict.binary) {
            state.SkipWithError("the Shift JIS sample was taken for binary");
            break;
        }
        benchmark::DoNotOptimize(verdict);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
}

void BM_Eolfix(benchmark::State& state) {
    bench_support::RunConversion(state, bench_support::Plugin("eolfix"),
                                 static_cast<uint32_t>(state.range(0)), Text());
}

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClassifyContent)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Eolfix)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
