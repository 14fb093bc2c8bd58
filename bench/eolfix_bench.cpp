// eolfix: size pass plus conversion over Japanese text with 60-100-byte lines.
#include "plugin_bench.h"
#include "support/sample_text.h"

namespace {

const std::string& Text() {
    // Mixed breaks, as real files have them: mostly CR LF with some LF-only lines.
    static const std::string text = [] {
        std::string crlf = testing_support::JapaneseText(12 << 20, "\r\n");
        for (std::size_t i = 0; i + 2 < crlf.size(); i += 997) {
            if (crlf[i] == '\r') {
                crlf[i] = ' ';
            }
        }
        return crlf;
    }();
    return text;
}

void BM_Memcpy(benchmark::State& state) { bench_support::RunMemcpy(state, Text()); }

void BM_Eolfix(benchmark::State& state) {
    bench_support::RunConversion(state, bench_support::Plugin("eolfix"),
                                 static_cast<uint32_t>(state.range(0)), Text());
}

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Eolfix)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
