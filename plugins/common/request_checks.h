// What every conversion plug-in checks the same way: which of its functions a request names,
// and whether a size can cross the contract, whose sizes are 32-bit.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "xfm_plugin.h"

namespace plugin_support {

// The entry of `functions` that `request` names; null for a null request, a function index
// out of range, or a missing input pointer for a non-empty input.
template <class Function, std::size_t N>
const Function* FunctionFor(const std::array<Function, N>& functions,
                            const ConvertRequest* request) {
    if (request == nullptr || request->functionIndex >= N) {
        return nullptr;
    }
    if (request->input == nullptr && request->inputLength != 0) {
        return nullptr;
    }
    return &functions[request->functionIndex];
}

// `size` when it fits the contract's 32 bits; otherwise 0, which the host reads as "nothing to
// do", so that a size is never cut short.
constexpr std::uint32_t SizeOrZero(std::uint64_t size) {
    return size > std::numeric_limits<std::uint32_t>::max() ? 0 : static_cast<std::uint32_t>(size);
}

}  // namespace plugin_support
