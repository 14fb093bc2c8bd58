// The file information (host/core/tools/file_info.h) over 100 MiB of Shift JIS prose and of
// the same prose in UTF-8, next to memcpy of the same buffer in the same run: `info` reads a
// file once for its encoding, line breaks and platform-dependent characters.
#include <span>

#include "host/core/tools/file_info.h"
#include "plugin_bench.h"
#include "support/sample_text.h"

namespace {

constexpr std::size_t kBytes = 100u << 20;

// 0: Shift JIS, 1: UTF-8.
const std::string& Text(int kind) {
    static const std::string texts[2] = {testing_support::JapaneseText(kBytes, "\r\n"),
                                         testing_support::JapaneseUtf8Text(kBytes, "\n")};
    return texts[kind];
}

void BM_Memcpy(benchmark::State& state) {
    bench_support::RunMemcpy(state, Text(static_cast<int>(state.range(0))));
}

void BM_DescribeFile(benchmark::State& state) {
    const std::string& text = Text(static_cast<int>(state.range(0)));
    const std::span bytes(reinterpret_cast<const unsigned char*>(text.data()), text.size());
    for (auto _ : state) {
        host::FileInfo info = host::DescribeFile("bench.txt", bytes);
        if (info.binary || info.breaks.crlf + info.breaks.lf == 0) {
            state.SkipWithError("the sample was not described as a text with line breaks");
            break;
        }
        benchmark::DoNotOptimize(info);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
}

BENCHMARK(BM_Memcpy)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DescribeFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
