// What the plug-in fuzz targets share: the built plug-ins loaded once and silenced (their
// message boxes answered with the default button), and one conversion step run the way the
// host runs it, with an output buffer of exactly the size the plug-in asked for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "support/plugin_under_test.h"

namespace fuzz_support {

// The plug-in <name> from the build's plug-in folder, with message boxes silenced.
const testing_support::PluginUnderTest& Plugin(const std::string& name);

// Size pass, then the conversion into a heap buffer of exactly that size: any write past it
// is caught by the address checker, and a reported length beyond the buffer traps. Returns
// the size the plug-in asked for.
uint32_t ConvertStep(const testing_support::PluginUnderTest& plugin, uint32_t index,
                     const unsigned char* input, std::size_t length, const char* tablePath = "");

}  // namespace fuzz_support
