// Every function of one plug-in (FUZZ_PLUGIN) over arbitrary bytes, plus an index past the
// last function, which must be refused. The input is copied to a heap block of its exact
// size, so that a read past its end is caught too.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto& plugin = fuzz_support::Plugin(FUZZ_PLUGIN);
    const std::vector<unsigned char> input(data, data + size);
    const uint32_t count = plugin.getCount();
    for (uint32_t index = 0; index < count; ++index) {
        fuzz_support::ConvertStep(plugin, index, input.data(), input.size());
    }
    if (fuzz_support::ConvertStep(plugin, count, input.data(), input.size()) != 0) {
        __builtin_trap();  // no such function
    }
    return 0;
}
