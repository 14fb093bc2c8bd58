// The encswap plug-in as the host loads it and its functions by index, shared by the test files
// of this group.
#pragma once

#include <cstdint>

#include "support/plugin_under_test.h"

namespace encswap_test {

enum Function : uint32_t {
    kAutoToSjis,
    kAutoToJis,
    kAutoToEuc,
    kSjisToJis,
    kSjisToEuc,
    kJisToSjis,
    kJisToEuc,
    kEucToSjis,
    kEucToJis,
    kFunctionCount,
};

inline constexpr testing_support::NamedPlugin Encswap{"encswap"};

}  // namespace encswap_test
