// What an icon made from a bitmap file holds: the values taken from the bitmap's headers and
// the sizes of the icon's parts. A bitmap is refused when its headers promise colour-table or
// pixel bytes that the file does not hold, or sizes that do not fit the icon's 32-bit fields.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace pictile {

// Bitmap file layout as the conversion reads it: the file header, then a 40-byte information
// header, then the colour table and the pixel rows back to back.
inline constexpr std::size_t kBitmapFileHeaderBytes = 14;
inline constexpr std::size_t kInfoHeaderBytes = 40;
inline constexpr std::size_t kBitmapDataOffset = kBitmapFileHeaderBytes + kInfoHeaderBytes;
inline constexpr std::uint16_t kBitmapType = 0x4D42;  // "BM"

// Icon file layout: 6-byte header, one 16-byte image entry, then the image.
inline constexpr std::size_t kIconHeaderBytes = 6;
inline constexpr std::size_t kIconEntryBytes = 16;
inline constexpr std::size_t kIconImageOffset = kIconHeaderBytes + kIconEntryBytes;

struct IconLayout {
    std::uint8_t width = 0;        // low byte of the bitmap's width
    std::uint8_t height = 0;       // low byte of the bitmap's height
    std::uint8_t colourCount = 0;  // 2^(planes x bit count) below 8 bits, else 0
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    std::int32_t doubledHeight = 0;  // colour rows plus mask rows, for the image's header
    std::uint32_t colourTableBytes = 0;
    std::uint32_t imageBytes = 0;  // pixel bytes, as the information header states them
    std::uint32_t maskBytes = 0;

    // 40 + colour table + pixels + mask: the image entry's byte count.
    std::uint32_t ImageEntryBytes() const;
    // The whole icon file.
    std::uint32_t FileBytes() const;
};

// The layout for the bitmap file [in, in + n), or nothing when it is not a bitmap or is
// refused.
std::optional<IconLayout> ReadIconLayout(const unsigned char* in, std::size_t n);

}  // namespace pictile
