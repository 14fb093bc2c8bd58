#include "plugin_bench.h"

#include <cstring>
#include <span>
#include <vector>

#include "host/core/plugins/plugin_function.h"
#include "support/sample_text.h"

namespace bench_support {

const testing_support::PluginUnderTest& Plugin(const std::string& name) {
    return testing_support::SharedPlugin(name);
}

const std::string& SjisSample() {
    static const std::string text = testing_support::JapaneseText(12 << 20);
    return text;
}

void RunConversion(benchmark::State& state, const testing_support::PluginUnderTest& plugin,
                   uint32_t index, const std::string& input, const char* tablePath) {
    const host::FunctionEntry entry{plugin.convert, plugin.getBufferSize, plugin.renameFile,
                                    plugin.isUseTable, index};
    const host::PluginFunction function(entry);
    const std::string table = tablePath;
    const std::span<const unsigned char> bytes(reinterpret_cast<const unsigned char*>(input.data()),
                                               input.size());
    // The output buffer is kept between iterations, as a run keeps it between files.
    host::BufferPool pool;
    for (auto _ : state) {
        host::Conversion result = function.Convert(bytes, table, pool);
        if (!result.converted()) {
            state.SkipWithError(result.sizeAsked == 0 ? "size pass returned 0"
                                                      : "conversion failed");
            break;
        }
        benchmark::DoNotOptimize(result.bytes.data());
        benchmark::ClobberMemory();
        pool.Give(std::move(result.bytes));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(input.size()));
}

void RunMemcpy(benchmark::State& state, const std::string& input) {
    std::vector<char> output(input.size());
    for (auto _ : state) {
        std::memcpy(output.data(), input.data(), input.size());
        benchmark::DoNotOptimize(output.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(input.size()));
}

}  // namespace bench_support
