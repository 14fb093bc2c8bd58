// The glyphport plug-in as the host loads it and its two functions, shared by the test files of
// this group.
#pragma once

#include <cstdint>

#include "support/plugin_under_test.h"

namespace glyphport_test {

inline constexpr uint32_t kMacToWin = 0;
inline constexpr uint32_t kWinToMac = 1;

inline constexpr testing_support::NamedPlugin Glyphport{"glyphport"};

}  // namespace glyphport_test
