// The pixel rows of the icon's image, bottom row first as every icon keeps them, made from the
// bitmap's pixels in whichever form the file stores them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "bitmap_header.h"

namespace pictile {

enum class PixelForm {
    kStored,     // rows as the icon keeps them, copied
    kRunLength,  // run-length records, expanded
    kBitFields,  // 16- or 32-bit pixels with channel masks, unpacked to 24 or 32 bits
};

struct PixelSource {
    PixelForm form = PixelForm::kStored;
    bool topDown = false;     // the file stores its top row first
    std::uint64_t at = 0;     // offset of the pixel data in the file
    std::uint64_t bytes = 0;  // bytes of pixel data read from the file
    std::uint32_t width = 0;  // pixels per row
    std::uint32_t rows = 0;
    std::uint16_t bitCount = 0;      // bits per pixel in the file
    std::uint16_t iconBitCount = 0;  // bits per pixel in the icon
    std::uint64_t rowBytes = 0;      // bytes per row in the file, for stored and bit-field rows
    ChannelMasks masks;              // for bit-field pixels
};

// How the bitmap stores its pixels (form, bit counts, masks), or nothing for a form no icon
// can show: compressions other than run-length data and bit fields, run-length data stored top
// row first or with a bit count that does not go with it, unusable masks. Uncompressed
// 16-bit pixels, five bits per colour, are unpacked like bit fields (icon readers take no
// 16-bit images); 32-bit bit fields that are already blue, green, red and alpha bytes are
// stored as they are. The position, size and shape of the data are left to the caller.
std::optional<PixelSource> PixelSourceFor(const BitmapHeader& header);

// Whether the source's data can be made into rows; only run-length data can fail, and is
// checked record by record. `in` is the bitmap file, which holds source.bytes at source.at.
bool PixelRowsReadable(const PixelSource& source, const unsigned char* in);

// Writes the icon's rows, `outRowBytes` each, to `out`. A stored source that is neither
// top-down nor unpacked is copied as one block of source.bytes. False when the data is
// malformed.
bool WritePixelRows(const PixelSource& source, const unsigned char* in, std::size_t outRowBytes,
                    unsigned char* out);

}  // namespace pictile
