// pictile: a large true-colour bitmap becomes an icon; next to memcpy of the same bitmap.
#include <cstdint>
#include <string>

#include "plugin_bench.h"

namespace {

void Put(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

// 2048 x 2048 pixels, 24 bits each: 12 MB of pixel rows.
const std::string& Bitmap() {
    static const std::string bitmap = [] {
        constexpr std::uint32_t kSide = 2048;
        constexpr std::uint32_t kImage = kSide * kSide * 3;
        std::string out;
        Put(out, 0x4D42, 2);
        Put(out, 54 + kImage, 4);
        Put(out, 0, 4);
        Put(out, 54, 4);
        for (std::uint32_t field : {40u, kSide, kSide}) {
            Put(out, field, 4);
        }
        Put(out, 1, 2);
        Put(out, 24, 2);
        for (std::uint32_t field : {0u, kImage, 2835u, 2835u, 0u, 0u}) {
            Put(out, field, 4);
        }
        out.reserve(out.size() + kImage);
        for (std::uint32_t i = 0; i < kImage; ++i) {
            out += static_cast<char>((i * 7) ^ (i >> 11));
        }
        return out;
    }();
    return bitmap;
}

void BM_Memcpy(benchmark::State& state) {
    bench_support::RunMemcpy(state, Bitmap());
}

void BM_BitmapToIcon(benchmark::State& state) {
    bench_support::RunConversion(state, bench_support::Plugin("pictile"), 0, Bitmap());
}

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BitmapToIcon)->Unit(benchmark::kMillisecond);

}  // namespace
