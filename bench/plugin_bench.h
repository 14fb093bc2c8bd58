// Benchmarks of conversion functions through their plug-in's entry points, as the host calls
// them: size pass plus conversion per iteration, throughput in bytes per second. Every
// benchmark program also registers memcpy of the same buffer, the baseline of its run.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "support/plugin_under_test.h"

namespace bench_support {

// The plug-in `name`, loaded once per program.
const testing_support::PluginUnderTest& Plugin(const std::string& name);

// The Shift JIS sample of 12 MiB that the text benchmarks read, made once per program.
const std::string& SjisSample();

// One iteration set of size pass + XfmConvert of function `index` over `input`, with the
// conversion table `tablePath` for functions that use one.
void RunConversion(benchmark::State& state, const testing_support::PluginUnderTest& plugin,
                   uint32_t index, const std::string& input, const char* tablePath = "");

// memcpy of `input` into a buffer of the same size.
void RunMemcpy(benchmark::State& state, const std::string& input);

}  // namespace bench_support
