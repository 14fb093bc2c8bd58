// The widthfold plug-in as the host loads it and its functions by index, shared by the test
// files of this group.
#pragma once

#include <cstdint>

#include "support/plugin_under_test.h"

namespace widthfold_test {

enum Function : uint32_t {
    kKanaToFull,
    kDigitsToFull,
    kDigitsToHalf,
    kLettersToFull,
    kLettersToHalf,
    kSymbolsToFull,
    kSymbolsToHalf,
    kFunctionCount,
};

inline constexpr testing_support::NamedPlugin Widthfold{"widthfold"};

}  // namespace widthfold_test
