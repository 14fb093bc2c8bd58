// base64 with nothing to convert.
#include <gtest/gtest.h>


#include "base64_plugin.h"

namespace {

using base64_test::Base64;

TEST(Base64Contract, EmptyInputHasNothingToDoForEitherFunction) {
    for (uint32_t f = 0; f < 2; ++f) {
        uint32_t size = 99;
        EXPECT_FALSE(Base64().Run(f, "", "", &size).has_value()) << f;
        EXPECT_EQ(size, 0u) << f;
    }
}

}  // namespace
