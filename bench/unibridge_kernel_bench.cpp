// The UTF-8 to Shift JIS kernel of unibridge on its own, over the Japanese UTF-8 sample, beside
// the kernel it replaced (utf8_to_sjis_before.cpp) and memcpy, in the same run. The level is
// the processor's, or the one POLYSHIFT_ISA holds it to.
#include <cstring>
#include <vector>

#include "kernels.h"
#include "plugin_bench.h"

namespace unibridge::before {
std::size_t Utf8ToSjisKernelBefore(const SjisTables& tables, const unsigned char* in,
                                   std::size_t i, std::size_t n, unsigned char*& out,
                                   std::size_t room);
}

namespace {

const std::string& Utf8() {
    static const std::string text =
        bench_support::Plugin("unibridge").Run(0, bench_support::SjisSample()).value_or("");
    return text;
}

template <class Kernel>
void RunKernel(benchmark::State& state, Kernel kernel) {
    const std::string& text = Utf8();
    const auto* in = reinterpret_cast<const unsigned char*>(text.data());
    std::vector<unsigned char> output(text.size());
    const unibridge::SjisTables tables = unibridge::SjisTables::Of(platform::Cp932Map::Get());
    for (auto _ : state) {
        unsigned char* o = output.data();
        const std::size_t end = kernel(tables, in, 0, text.size(), o, output.size());
        if (end + 200 < text.size()) {
            state.SkipWithError("the kernel stopped early");
            break;
        }
        benchmark::DoNotOptimize(o);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
}

void BM_Memcpy(benchmark::State& state) {
    bench_support::RunMemcpy(state, Utf8());
}

void BM_Utf8ToSjisKernel(benchmark::State& state) {
    RunKernel(state, unibridge::Utf8ToSjisKernel);
}

void BM_Utf8ToSjisKernelBefore(benchmark::State& state) {
    RunKernel(state, unibridge::before::Utf8ToSjisKernelBefore);
}

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Utf8ToSjisKernel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Utf8ToSjisKernelBefore)->Unit(benchmark::kMillisecond);

}  // namespace
