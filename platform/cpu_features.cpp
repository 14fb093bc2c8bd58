#include "platform/cpu_features.h"

#include <cstdint>
#include <cstdlib>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace platform {
namespace {

constexpr bool Bit(std::uint32_t word, int bit) {
    return ((word >> bit) & 1u) != 0;
}

#if defined(__x86_64__) || defined(__i386__)
// The register states the system saves on a task switch (XCR0).
std::uint64_t SavedStates() {
    std::uint32_t low = 0, high = 0;
    __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
    return (std::uint64_t{high} << 32) | low;
}
#endif

}  // namespace

CpuFeatures DetectCpuFeatures() {
    CpuFeatures features;
#if defined(__x86_64__) || defined(__i386__)
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) {
        return features;
    }
    features.sse41 = Bit(ecx, 19);
    const bool popcnt = Bit(ecx, 23);
    const bool xsave = Bit(ecx, 27) && Bit(ecx, 28);  // OSXSAVE and AVX
    if (!xsave) {
        return features;
    }
    const std::uint64_t states = SavedStates();
    // SSE and AVX state; then the opmask registers and both halves of the 64-byte registers.
    const bool ymm = (states & 0x6) == 0x6;
    const bool zmm = ymm && (states & 0xE0) == 0xE0;
    unsigned ebx7 = 0, ecx7 = 0, edx7 = 0, eax7 = 0;
    if (!__get_cpuid_count(7, 0, &eax7, &ebx7, &ecx7, &edx7)) {
        return features;
    }
    unsigned eax8 = 0, ebx8 = 0, ecx8 = 0, edx8 = 0;
    const bool lzcnt = __get_cpuid(0x80000001, &eax8, &ebx8, &ecx8, &edx8) && Bit(ecx8, 5);
    const bool avx2 = Bit(ebx7, 5), bmi1 = Bit(ebx7, 3);
    const bool bmi2 = Bit(ebx7, 8);
    const bool avx512f = Bit(ebx7, 16), avx512bw = Bit(ebx7, 30), avx512vl = Bit(ebx7, 31);
    const bool vbmi = Bit(ecx7, 1), vbmi2 = Bit(ecx7, 6);
    features.avx2 = ymm && avx2 && popcnt && bmi1 && lzcnt;
    features.avx512 =
        features.avx2 && bmi2 && zmm && avx512f && avx512bw && avx512vl && vbmi && vbmi2;
#endif
    return features;
}

std::optional<VectorLevel> ParseVectorLevel(std::string_view name) {
    for (VectorLevel level : {VectorLevel::kSse2, VectorLevel::kAvx2, VectorLevel::kAvx512}) {
        if (name == VectorLevelName(level)) {
            return level;
        }
    }
    return std::nullopt;
}

std::string_view VectorLevelName(VectorLevel level) {
    switch (level) {
        case VectorLevel::kSse2:
            return "sse2";
        case VectorLevel::kAvx2:
            return "avx2";
        case VectorLevel::kAvx512:
            return "avx512";
    }
    return "";
}

CpuFeatures LimitedTo(CpuFeatures features, VectorLevel limit) {
    if (limit < VectorLevel::kAvx512) {
        features.avx512 = false;
    }
    if (limit < VectorLevel::kAvx2) {
        features.avx2 = false;
        features.sse41 = false;
    }
    return features;
}

const CpuFeatures& Cpu() {
    static const CpuFeatures features = [] {
        const CpuFeatures found = DetectCpuFeatures();
        const char* requested = std::getenv("POLYSHIFT_ISA");
        const auto limit = ParseVectorLevel(requested != nullptr ? requested : "");
        return limit ? LimitedTo(found, *limit) : found;
    }();
    return features;
}

}  // namespace platform
