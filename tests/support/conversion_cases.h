// Short conversions written as tables: each case names a function, its input and the result it
// must give.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "support/plugin_under_test.h"

namespace testing_support {

struct ConversionCase {
    const char* what;
    uint32_t function;
    std::string input;
    std::string expected;
};

// Runs every case through `plugin` and checks its result; where `sizeOf` is given, also that
// the size pass answered sizeOf(expected).
inline void ExpectConversions(const PluginUnderTest& plugin,
                              const std::vector<ConversionCase>& cases,
                              const std::function<uint32_t(const std::string&)>& sizeOf = {}) {
    for (const ConversionCase& c : cases) {
        uint32_t size = 0;
        const std::optional<std::string> out = plugin.Run(c.function, c.input, "", &size);
        EXPECT_EQ(out, c.expected) << c.what;
        if (sizeOf) {
            EXPECT_EQ(size, sizeOf(c.expected)) << c.what;
        }
    }
}

}  // namespace testing_support
