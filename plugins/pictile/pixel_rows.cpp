#include "pixel_rows.h"

#include <cstring>

#include "bit_fields.h"
#include "run_length.h"

namespace pictile {
namespace {

RunLengthImage RunLengthOf(const PixelSource& source, const unsigned char* in) {
    RunLengthImage image;
    image.data = in + source.at;
    image.length = source.bytes;
    image.bitCount = source.bitCount;
    image.width = source.width;
    image.rows = source.rows;
    image.rowBytes = source.rowBytes;  // expanded rows are as wide as stored ones
    return image;
}

// The file's row that becomes the icon's row `row` (counted from the bottom).
const unsigned char* SourceRow(const PixelSource& source, const unsigned char* in,
                               std::uint32_t row) {
    const std::uint32_t stored = source.topDown ? source.rows - 1 - row : row;
    return in + source.at + stored * source.rowBytes;
}

bool WriteBitFieldRows(const PixelSource& source, const unsigned char* in, std::size_t outRowBytes,
                       unsigned char* out) {
    const auto unpacker = BitFieldUnpacker::For(source.masks, source.bitCount);
    if (!unpacker) {
        return false;
    }
    const std::size_t pixelBytes = std::size_t{source.width} * (unpacker->OutputBitCount() / 8);
    for (std::uint32_t row = 0; row < source.rows; ++row, out += outRowBytes) {
        unpacker->UnpackRow(SourceRow(source, in, row), source.width, out);
        std::memset(out + pixelBytes, 0, outRowBytes - pixelBytes);
    }
    return true;
}

}  // namespace

bool PixelRowsReadable(const PixelSource& source, const unsigned char* in) {
    if (source.form != PixelForm::kRunLength) {
        return true;
    }
    return ExpandRunLength(RunLengthOf(source, in), nullptr);
}

bool WritePixelRows(const PixelSource& source, const unsigned char* in, std::size_t outRowBytes,
                    unsigned char* out) {
    switch (source.form) {
        case PixelForm::kStored:
            if (!source.topDown) {
                std::memcpy(out, in + source.at, source.bytes);
                return true;
            }
            for (std::uint32_t row = 0; row < source.rows; ++row, out += outRowBytes) {
                std::memcpy(out, SourceRow(source, in, row), outRowBytes);
            }
            return true;
        case PixelForm::kRunLength:
            std::memset(out, 0, source.rows * outRowBytes);
            return ExpandRunLength(RunLengthOf(source, in), out);
        case PixelForm::kBitFields:
            return WriteBitFieldRows(source, in, outRowBytes, out);
    }
    return false;
}

}  // namespace pictile
