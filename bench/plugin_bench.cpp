#include "plugin_bench.h"

#include <cstring>
#include <vector>

namespace bench_support {

const testing_support::PluginUnderTest& Plugin(const std::string& name) {
    return testing_support::SharedPlugin(name);
}

void RunConversion(benchmark::State& state, const testing_support::PluginUnderTest& plugin,
                   uint32_t index, const std::string& input, const char* tablePath) {
    std::vector<unsigned char> output;
    for (auto _ : state) {
        ConvertRequest request{};
        request.size = sizeof request;
        request.input = reinterpret_cast<const unsigned char*>(input.data());
        request.inputLength = static_cast<uint32_t>(input.size());
        request.functionIndex = index;
        request.tablePath = tablePath;
        const uint32_t size = plugin.getBufferSize(&request);
        if (size == 0) {
            state.SkipWithError("size pass returned 0");
            break;
        }
        if (output.size() < size) {
            output.resize(size);
        }
        request.output = output.data();
        request.outputCapacity = size;
        if (plugin.convert(&request) == 0) {
            state.SkipWithError("conversion failed");
            break;
        }
        benchmark::DoNotOptimize(output.data());
        benchmark::ClobberMemory();
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
