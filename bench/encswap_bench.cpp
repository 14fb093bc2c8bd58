// encswap: size pass plus conversion of every function over Japanese text, each fed the
// encoding it reads (the Shift JIS sample, or its EUC and JIS forms).
#include <string>

#include "plugin_bench.h"

namespace {

using bench_support::SjisSample;

const testing_support::PluginUnderTest& Encswap() {
    return bench_support::Plugin("encswap");
}

const std::string& Converted(uint32_t function) {
    static std::string euc = Encswap().Run(4, SjisSample()).value_or("");
    static std::string jis = Encswap().Run(3, SjisSample()).value_or("");
    return function == 4 ? euc : jis;
}

// The input each function reads: Shift JIS for 1 to 4, JIS for 5 and 6, EUC for 0, 7 and 8.
const std::string& InputFor(uint32_t function) {
    switch (function) {
        case 0:
        case 7:
        case 8:
            return Converted(4);
        case 5:
        case 6:
            return Converted(3);
        default:
            return SjisSample();
    }
}

void BM_Memcpy(benchmark::State& state) {
    bench_support::RunMemcpy(state, SjisSample());
}

void BM_Encswap(benchmark::State& state) {
    const auto function = static_cast<uint32_t>(state.range(0));
    bench_support::RunConversion(state, Encswap(), function, InputFor(function));
}

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Encswap)->DenseRange(0, 8)->Unit(benchmark::kMillisecond);

}  // namespace
