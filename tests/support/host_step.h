// One step of a run as the host makes it, with everything a test may want to check on the way:
// the size pass, then the conversion into a buffer of exactly that size. The buffer is filled
// beforehand, so that bytes the conversion leaves alone show.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "support/plugin_under_test.h"

namespace testing_support {

// What outputLength holds until XfmConvert sets it.
inline constexpr uint32_t kUnsetOutputLength = 0xDEAD;

struct HostStep {
    uint32_t size = 0;    // what XfmGetBufferSize returned; 0 when it was not called
    uint32_t result = 0;  // what XfmConvert returned; 0 when it was not called
    std::string output;   // the whole buffer, written or not
    uint32_t outputLength = kUnsetOutputLength;
};

// A request for `function` over `input` with no table and no output buffer yet.
inline ConvertRequest RequestFor(uint32_t function, std::string_view input) {
    ConvertRequest request{};
    request.size = sizeof request;
    request.input = reinterpret_cast<const unsigned char*>(input.data());
    request.inputLength = static_cast<uint32_t>(input.size());
    request.functionIndex = function;
    request.tablePath = "";
    return request;
}

// XfmConvert alone, into a buffer of `capacity` bytes that hold `fill`.
inline HostStep ConvertInto(const PluginUnderTest& plugin, uint32_t function,
                            std::string_view input, uint32_t capacity, char fill) {
    HostStep step;
    step.output.assign(capacity, fill);
    ConvertRequest request = RequestFor(function, input);
    request.output = reinterpret_cast<unsigned char*>(step.output.data());
    request.outputCapacity = capacity;
    request.outputLength = kUnsetOutputLength;
    step.result = plugin.convert(&request);
    step.outputLength = request.outputLength;
    return step;
}

// The size pass, then, when it gives a size, the conversion into a buffer of that size.
inline HostStep RunHostStep(const PluginUnderTest& plugin, uint32_t function,
                            std::string_view input, char fill) {
    ConvertRequest request = RequestFor(function, input);
    const uint32_t size = plugin.getBufferSize(&request);
    if (size == 0) {
        return {};
    }
    HostStep step = ConvertInto(plugin, function, input, size, fill);
    step.size = size;
    return step;
}

}  // namespace testing_support
