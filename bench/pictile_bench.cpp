// pictile: bitmaps become icons; next to memcpy of the same bitmap. The classic form is one
// large true-colour bitmap, copied through; the rewritten forms are icon-sized bitmaps (256 x
// 256 pixels) with top-down rows, run-length data and bit-field pixels.
#include <cstdint>
#include <string>

#include "plugin_bench.h"

namespace {

void Put(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

struct Form {
    std::uint32_t side = 256;
    bool topDown = false;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t masks[4] = {};  // red, green, blue, alpha
};

// A bitmap with a 124-byte information header (40 bytes for the classic form) holding `pixels`.
std::string Bitmap(const Form& form, const std::string& table, const std::string& pixels) {
    const std::uint32_t headerBytes = form.compression == 0 && !form.topDown ? 40 : 124;
    const std::uint32_t offset = 14 + headerBytes + static_cast<std::uint32_t>(table.size());
    std::string out;
    Put(out, 0x4D42, 2);
    Put(out, offset + static_cast<std::uint32_t>(pixels.size()), 4);
    Put(out, 0, 4);
    Put(out, offset, 4);
    Put(out, headerBytes, 4);
    Put(out, form.side, 4);
    Put(out, form.topDown ? 0u - form.side : form.side, 4);
    Put(out, 1, 2);
    Put(out, form.bitCount, 2);
    for (std::uint32_t field :
         {form.compression, static_cast<std::uint32_t>(pixels.size()), 2835u, 2835u, 0u, 0u}) {
        Put(out, field, 4);
    }
    if (headerBytes > 40) {
        for (std::uint32_t mask : form.masks) {
            Put(out, mask, 4);
        }
        out.resize(14 + headerBytes, '\0');
    }
    out.reserve(out.size() + table.size() + pixels.size());
    return out + table + pixels;
}

std::string Pixels(std::size_t bytes) {
    std::string out;
    out.reserve(bytes);
    for (std::uint32_t i = 0; i < bytes; ++i) {
        out += static_cast<char>((i * 7) ^ (i >> 11));
    }
    return out;
}

// 2048 x 2048 pixels, 24 bits each: 12 MB of pixel rows.
const std::string& ClassicBitmap() {
    static const std::string bitmap = [] {
        Form form;
        form.side = 2048;
        return Bitmap(form, "", Pixels(std::size_t{2048} * 2048 * 3));
    }();
    return bitmap;
}

// 8-bit pixels in runs of 1 to 12, the way painting programs compress flat artwork.
std::string RunLengthBitmap() {
    std::string table;
    for (std::uint32_t i = 0; i < 256; ++i) {
        Put(table, i * 0x010305u, 4);
    }
    std::string records;
    std::uint32_t seed = 1;
    for (std::uint32_t y = 0; y < 256; ++y) {
        for (std::uint32_t x = 0; x < 256;) {
            seed = seed * 1103515245u + 12345u;
            const std::uint32_t run = std::min<std::uint32_t>(1 + (seed >> 16) % 12, 256 - x);
            records += static_cast<char>(run);
            records += static_cast<char>(seed >> 24);
            x += run;
        }
        records += std::string("\0\0", 2);
    }
    records += std::string("\0\1", 2);
    Form form;
    form.bitCount = 8;
    form.compression = 1;
    return Bitmap(form, table, records);
}

void BM_Memcpy(benchmark::State& state) {
    bench_support::RunMemcpy(state, ClassicBitmap());
}

void BM_ClassicBitmapToIcon(benchmark::State& state) {
    bench_support::RunConversion(state, bench_support::Plugin("pictile"), 0, ClassicBitmap());
}

void BM_TopDownBitmapToIcon(benchmark::State& state) {
    Form form;
    form.topDown = true;
    const std::string bitmap = Bitmap(form, "", Pixels(256 * 256 * 3));
    bench_support::RunConversion(state, bench_support::Plugin("pictile"), 0, bitmap);
}

void BM_RunLengthBitmapToIcon(benchmark::State& state) {
    bench_support::RunConversion(state, bench_support::Plugin("pictile"), 0, RunLengthBitmap());
}

void BM_AlphaBitFieldsToIcon(benchmark::State& state) {
    const Form form{256, false, 32, 3, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}};
    const std::string bitmap = Bitmap(form, "", Pixels(256 * 256 * 4));
    bench_support::RunConversion(state, bench_support::Plugin("pictile"), 0, bitmap);
}

void BM_FiveSixFiveBitFieldsToIcon(benchmark::State& state) {
    const Form form{256, false, 16, 3, {0xF800, 0x07E0, 0x001F, 0}};
    const std::string bitmap = Bitmap(form, "", Pixels(256 * 256 * 2));
    bench_support::RunConversion(state, bench_support::Plugin("pictile"), 0, bitmap);
}

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClassicBitmapToIcon)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TopDownBitmapToIcon)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RunLengthBitmapToIcon)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AlphaBitFieldsToIcon)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FiveSixFiveBitFieldsToIcon)->Unit(benchmark::kMicrosecond);

}  // namespace
