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

std::optional<PixelSource> PixelSourceFor(const BitmapHeader& h) {
    PixelSource source;
    source.bitCount = h.bitCount;
    source.iconBitCount = h.bitCount;
    switch (h.compression) {
        case kUncompressed:
            switch (h.bitCount) {
                case 1:
                case 4:
                case 8:
                case 24:
                case 32:
                    source.form = PixelForm::kStored;
                    return source;
                case 16:
                    // Five bits per colour; icon readers take no 16-bit images, so they are
                    // widened like bit-field pixels.
                    source.form = PixelForm::kBitFields;
                    source.masks = {.red = 0x7C00, .green = 0x03E0, .blue = 0x001F};
                    source.iconBitCount = 24;
                    return source;
            }
            return std::nullopt;
        case kRunLength8:
        case kRunLength4:
            // Run-length data is stored bottom row first only.
            if (h.height < 0 || h.bitCount != (h.compression == kRunLength8 ? 8 : 4)) {
                return std::nullopt;
            }
            source.form = PixelForm::kRunLength;
            return source;
        case kBitFields:
        case kAlphaBitFields:
            if (h.bitCount == 32 && h.masks.red == 0xFF0000 && h.masks.green == 0xFF00 &&
                h.masks.blue == 0xFF && h.masks.alpha == 0xFF000000) {
                // Blue, green, red and alpha bytes: already the icon's 32-bit pixels.
                source.form = PixelForm::kStored;
                return source;
            }
            if (const auto unpacker = BitFieldUnpacker::For(h.masks, h.bitCount)) {
                source.form = PixelForm::kBitFields;
                source.masks = h.masks;
                source.iconBitCount = unpacker->OutputBitCount();
                return source;
            }
            return std::nullopt;
    }
    return std::nullopt;
}

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
