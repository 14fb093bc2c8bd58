// The base64 plug-in as the host loads it, shared by the test files of this group.
#pragma once

#include "support/plugin_under_test.h"

namespace base64_test {

inline constexpr uint32_t kEncode = 0;
inline constexpr uint32_t kDecode = 1;

inline constexpr testing_support::NamedPlugin Base64{"base64"};

}  // namespace base64_test
