// Processor features and the POLYSHIFT_ISA limit.
#include <gtest/gtest.h>

#include "platform/cpu_features.h"

namespace {

using platform::CpuFeatures;
using platform::VectorLevel;

TEST(CpuFeatures, LevelNamesAndLimits) {
    EXPECT_EQ(platform::ParseVectorLevel("sse2"), VectorLevel::kSse2);
    EXPECT_EQ(platform::ParseVectorLevel("avx2"), VectorLevel::kAvx2);
    EXPECT_EQ(platform::ParseVectorLevel("avx512"), VectorLevel::kAvx512);
    EXPECT_EQ(platform::ParseVectorLevel("AVX2"), std::nullopt);
    EXPECT_EQ(platform::ParseVectorLevel(""), std::nullopt);
    EXPECT_EQ(platform::ParseVectorLevel("avx5120"), std::nullopt);

    const CpuFeatures all{true, true, true};
    EXPECT_EQ(platform::LimitedTo(all, VectorLevel::kAvx512).level(), VectorLevel::kAvx512);
    const CpuFeatures avx2 = platform::LimitedTo(all, VectorLevel::kAvx2);
    EXPECT_EQ(avx2.level(), VectorLevel::kAvx2);
    EXPECT_TRUE(avx2.sse41);
    const CpuFeatures sse2 = platform::LimitedTo(all, VectorLevel::kSse2);
    EXPECT_EQ(sse2.level(), VectorLevel::kSse2);
    EXPECT_FALSE(sse2.sse41);
    // A limit never adds what the processor lacks.
    const CpuFeatures old{true, false, false};
    EXPECT_EQ(platform::LimitedTo(old, VectorLevel::kAvx512).level(), VectorLevel::kSse2);
    EXPECT_TRUE(platform::LimitedTo(old, VectorLevel::kAvx512).sse41);
}

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
// The detection agrees with the compiler's own, extension by extension.
TEST(CpuFeatures, DetectionAgreesWithTheCompiler) {
    const CpuFeatures found = platform::DetectCpuFeatures();
    EXPECT_EQ(found.sse41, __builtin_cpu_supports("sse4.1") != 0);
    const bool avx2 = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt") &&
                      __builtin_cpu_supports("bmi") && __builtin_cpu_supports("lzcnt");
    EXPECT_EQ(found.avx2, avx2);
    const bool avx512 =
        avx2 && __builtin_cpu_supports("bmi2") && __builtin_cpu_supports("avx512f") &&
        __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl") &&
        __builtin_cpu_supports("avx512vbmi") && __builtin_cpu_supports("avx512vbmi2");
    EXPECT_EQ(found.avx512, avx512);
}
#endif

}  // namespace
