// What an icon made from a bitmap file holds: the icon's headers, the sizes of its parts and
// where in the bitmap each part comes from.
//
// A bitmap in the classic form (40-byte information header, uncompressed rows stored bottom
// row first right after a full colour table, image size covering every row) keeps the
// layout icons were always made with: its information header, colour table and image-size
// bytes of pixels, and a mask sized from the low bytes of width and height. Every other form
// is rewritten into that form: full colour table of four-byte entries (missing entries
// black), plain rows bottom row first, image size computed, and a mask for every pixel.
//
// A bitmap is refused when its headers promise colour-table or pixel bytes that the file does
// not hold, when its run-length data is malformed, or when it is in a form no icon can show
// (among them, outside the classic form, images wider or higher than 256 pixels).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "pixel_rows.h"

namespace pictile {

// Icon file layout: 6-byte header, one 16-byte image entry, then the image.
inline constexpr std::size_t kIconHeaderBytes = 6;
inline constexpr std::size_t kIconEntryBytes = 16;
inline constexpr std::size_t kIconImageOffset = kIconHeaderBytes + kIconEntryBytes;

struct IconLayout {
    // The image entry.
    std::uint8_t width = 0;        // low byte of the image's width
    std::uint8_t height = 0;       // low byte of the image's height
    std::uint8_t colourCount = 0;  // 2^(planes x bit count) below 8 bits, else 0
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;

    // The image's information header.
    std::int32_t imageWidth = 0;
    std::int32_t doubledHeight = 0;  // colour rows plus mask rows
    std::uint32_t imageSizeField = 0;

    // The image's parts.
    std::uint32_t colourTableBytes = 0;
    std::uint32_t imageBytes = 0;  // pixel rows
    std::size_t rowBytes = 0;      // of one pixel row
    std::uint32_t maskBytes = 0;

    // Where they come from.
    std::uint64_t colourTableAt = 0;
    std::uint32_t colourTableCopied = 0;  // bytes of the icon's table taken from the file; the
                                          // rest are black
    std::uint32_t colourEntryBytes = 4;   // of each entry in the file: 3 behind a 12-byte header
    PixelSource pixels;

    // 40 + colour table + pixels + mask: the image entry's byte count.
    std::uint32_t ImageEntryBytes() const;
    // The whole icon file.
    std::uint32_t FileBytes() const;
};

// The layout for the bitmap file [in, in + n), or nothing when it is not a bitmap or is
// refused.
std::optional<IconLayout> ReadIconLayout(const unsigned char* in, std::size_t n);

}  // namespace pictile
