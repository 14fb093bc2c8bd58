// pictile over bitmap-shaped input: the fuzzer's bytes fill the fields of a file header and an
// information header that mostly look right (a small size, a real bit count and compression,
// a pixel offset that mostly points behind the colour table), then the masks, colour table and
// pixels. Raw bytes reach pictile through its plain conversion target as well.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_support.h"

namespace {

void Put16(std::vector<unsigned char>& out, std::size_t at, std::uint32_t value) {
    out[at] = static_cast<unsigned char>(value);
    out[at + 1] = static_cast<unsigned char>(value >> 8);
}

void Put32(std::vector<unsigned char>& out, std::size_t at, std::uint32_t value) {
    Put16(out, at, value & 0xFFFF);
    Put16(out, at + 2, value >> 16);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    static const std::uint16_t kBitCounts[] = {1, 4, 8, 16, 24, 32, 0, 2, 64};
    static const std::uint32_t kHeaderSizes[] = {40, 52, 56, 108, 124, 12, 39, 0xFFFFFFFF};
    const std::uint32_t headerSize = in.ConsumeBool() ? 40 : in.PickValueInArray(kHeaderSizes);
    const std::int32_t width = in.ConsumeIntegralInRange<std::int32_t>(-4, 80);
    const std::int32_t height = in.ConsumeIntegralInRange<std::int32_t>(-80, 80);
    const std::uint16_t bitCount = in.PickValueInArray(kBitCounts);
    const std::uint32_t compression = in.ConsumeIntegralInRange<std::uint32_t>(0, 6);
    const std::uint32_t coloursUsed =
        in.ConsumeBool() ? 0 : in.ConsumeIntegralInRange<std::uint32_t>(0, 300);
    const std::uint32_t imageSize = in.ConsumeBool() ? 0 : in.ConsumeIntegral<std::uint32_t>();
    const bool plausibleOffset = in.ConsumeBool();
    const std::uint32_t offset = in.ConsumeIntegralInRange<std::uint32_t>(0, 4096);

    // Room for a 40-byte header at least, whatever size the header claims.
    const std::size_t header = 14 + (headerSize >= 40 && headerSize <= 124 ? headerSize : 40);
    // Behind a 40-byte header: three masks for bit fields, four for alpha bit fields.
    const bool masksBehind = headerSize == 40 && (compression == 3 || compression == 6);
    const std::size_t masks = !masksBehind ? 0 : compression == 6 ? 16 : 12;
    const std::size_t tableEntries = coloursUsed != 0 ? coloursUsed
                                     : bitCount <= 8  ? (std::size_t{1} << bitCount)
                                                      : 0;
    std::vector<unsigned char> file(header + masks + 4 * tableEntries, 0);
    Put16(file, 0, 0x4D42);
    Put32(file, 10, plausibleOffset ? static_cast<std::uint32_t>(file.size()) : offset);
    Put32(file, 14, headerSize);
    Put32(file, 18, static_cast<std::uint32_t>(width));
    Put32(file, 22, static_cast<std::uint32_t>(height));
    Put16(file, 26, 1);
    Put16(file, 28, bitCount);
    Put32(file, 30, compression);
    Put32(file, 34, imageSize);
    Put32(file, 46, coloursUsed);
    // Masks, extra header fields and colour table from the fuzzer, then the pixels.
    for (std::size_t i = 54; i < file.size(); ++i) {
        file[i] = in.ConsumeIntegral<unsigned char>();
    }
    const std::vector<unsigned char> pixels = in.ConsumeRemainingBytes<unsigned char>();
    file.insert(file.end(), pixels.begin(), pixels.end());
    Put32(file, 2, static_cast<std::uint32_t>(file.size()));
    const std::vector<unsigned char> exact(file);  // no spare capacity behind the end
    fuzz_support::ConvertStep(fuzz_support::Plugin("pictile"), 0, exact.data(), exact.size());
    return 0;
}
