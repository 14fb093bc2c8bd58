// The headers of a bitmap file: the file header's pixel-data offset and the information
// header's fields, in any of the information header's sizes from 40 bytes up or in the old
// 12-byte form (16-bit width and height, colour entries of three bytes), with the channel
// masks of bit-field bitmaps wherever the file keeps them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace pictile {

inline constexpr std::size_t kBitmapFileHeaderBytes = 14;
inline constexpr std::uint32_t kInfoHeaderBytes = 40;
inline constexpr std::uint32_t kCoreHeaderBytes = 12;
inline constexpr std::uint16_t kBitmapType = 0x4D42;  // "BM"

// Compression values of the information header.
enum Compression : std::uint32_t {
    kUncompressed = 0,
    kRunLength8 = 1,
    kRunLength4 = 2,
    kBitFields = 3,
    kAlphaBitFields = 6,  // bit fields with an alpha mask beside the colour masks
};

struct ChannelMasks {
    std::uint32_t red = 0;
    std::uint32_t green = 0;
    std::uint32_t blue = 0;
    std::uint32_t alpha = 0;
};

struct BitmapHeader {
    std::uint32_t pixelOffset = 0;  // the file header's offset of the pixel data
    std::uint32_t headerBytes = 0;  // the information header's own size
    std::int32_t width = 0;
    std::int32_t height = 0;  // negative: rows stored top row first
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t imageSize = 0;
    std::uint32_t coloursUsed = 0;
    ChannelMasks masks;  // read only for bit-field bitmaps
    // Where the colour table starts: after the information header and, behind a 40-byte
    // header, after the three or four masks a bit-field bitmap keeps there.
    std::uint64_t colourTableAt = 0;
    std::uint32_t colourEntryBytes = 4;  // blue, green, red and a zero byte; 3 without it
};

// The headers of the file [in, in + n); nothing when it is not a bitmap file (too short for
// its headers, or without the type word), when its information header declares a size other
// than 12 bytes below 40, when a 12-byte header gives a bit count other than 1, 4, 8 or 24
// (the only ones that form knows), or when the information header or the masks it needs lie
// past the end of the file.
std::optional<BitmapHeader> ReadBitmapHeader(const unsigned char* in, std::size_t n);

}  // namespace pictile
