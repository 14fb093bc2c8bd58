// The processor's vector instruction sets, detected once per process for every plug-in that
// has code for several of them. POLYSHIFT_ISA ("sse2", "avx2" or "avx512") holds the plug-ins
// to a lower level than the processor offers, to compare or test the code of each level; a
// level above what the processor has, or an unknown name, changes nothing.
#pragma once

#include <optional>
#include <string_view>

namespace platform {

// The levels the plug-ins build code for, lowest first. Every x86-64 processor has SSE2, and
// the 32-bit x86 build asks for it.
enum class VectorLevel { kSse2, kAvx2, kAvx512 };

struct CpuFeatures {
    bool sse41 = false;   // SSE4.1
    bool avx2 = false;    // AVX2 with POPCNT, BMI1 and LZCNT, 32-byte registers saved by the system
    bool avx512 = false;  // on top of avx2: BMI2 and AVX-512 F, BW, VL, VBMI and VBMI2, 64-byte
                          // registers saved by the system

    VectorLevel level() const {
        return avx512 ? VectorLevel::kAvx512 : avx2 ? VectorLevel::kAvx2 : VectorLevel::kSse2;
    }
};

// What the processor and the system offer, whatever POLYSHIFT_ISA says.
CpuFeatures DetectCpuFeatures();

// "sse2", "avx2" or "avx512"; nothing for any other text.
std::optional<VectorLevel> ParseVectorLevel(std::string_view name);
std::string_view VectorLevelName(VectorLevel level);

// `features` without what lies above `limit` (SSE4.1 counts as above SSE2).
CpuFeatures LimitedTo(CpuFeatures features, VectorLevel limit);

// The features the plug-ins use: detected at the first call, limited by POLYSHIFT_ISA.
const CpuFeatures& Cpu();

}  // namespace platform
