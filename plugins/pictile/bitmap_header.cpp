#include "bitmap_header.h"

#include "little_endian.h"

namespace pictile {
namespace {

// Offsets in the file.
constexpr std::size_t kPixelOffsetAt = 10;
constexpr std::size_t kInfoAt = kBitmapFileHeaderBytes;
// Offsets in the information header.
constexpr std::size_t kWidthAt = 4;
constexpr std::size_t kHeightAt = 8;
constexpr std::size_t kPlanesAt = 12;
constexpr std::size_t kBitCountAt = 14;
constexpr std::size_t kCompressionAt = 16;
constexpr std::size_t kImageSizeAt = 20;
constexpr std::size_t kColoursUsedAt = 32;
constexpr std::size_t kMasksAt = 40;  // red, green, blue, then alpha, in the larger headers

// Headers of 52 bytes and more hold the red, green and blue masks, from 56 bytes the alpha
// mask too; the 64-byte header of the other bitmap family holds no masks at all.
constexpr std::uint32_t kHeaderWithColourMasks = 52;
constexpr std::uint32_t kHeaderWithAlphaMask = 56;
constexpr std::uint32_t kHeaderWithoutMasks = 64;

// Offsets in the 12-byte header: 16-bit width, height, planes and bit count.
constexpr std::size_t kCoreWidthAt = 4;
constexpr std::size_t kCoreHeightAt = 6;
constexpr std::size_t kCorePlanesAt = 8;
constexpr std::size_t kCoreBitCountAt = 10;

ChannelMasks ReadMasks(const unsigned char* at, bool withAlpha) {
    ChannelMasks masks;
    masks.red = ReadU32(at);
    masks.green = ReadU32(at + 4);
    masks.blue = ReadU32(at + 8);
    masks.alpha = withAlpha ? ReadU32(at + 12) : 0;
    return masks;
}

// The 12-byte header: unsigned 16-bit sizes (rows always bottom row first), no compression,
// and a full colour table of three-byte entries for up to 8 bits per pixel.
std::optional<BitmapHeader> ReadCoreHeader(const unsigned char* in, std::size_t n,
                                           BitmapHeader header) {
    if (n - kInfoAt < kCoreHeaderBytes) {
        return std::nullopt;
    }
    const unsigned char* info = in + kInfoAt;
    header.width = ReadU16(info + kCoreWidthAt);
    header.height = ReadU16(info + kCoreHeightAt);
    header.planes = ReadU16(info + kCorePlanesAt);
    header.bitCount = ReadU16(info + kCoreBitCountAt);
    if (header.bitCount != 1 && header.bitCount != 4 && header.bitCount != 8 &&
        header.bitCount != 24) {
        return std::nullopt;
    }
    header.compression = kUncompressed;
    header.colourTableAt = kInfoAt + kCoreHeaderBytes;
    header.colourEntryBytes = 3;
    return header;
}

// The masks of bit-field pixels. Behind a 40-byte header they precede the colour table: red,
// green and blue, and alpha too with alpha bit fields. Larger headers hold them in their
// fields, from 56 bytes with alpha.
bool ReadBitFieldMasks(const unsigned char* in, std::size_t n, BitmapHeader& header) {
    if (header.headerBytes == kInfoHeaderBytes) {
        const bool alpha = header.compression == kAlphaBitFields;
        const std::size_t maskBytes = alpha ? 16 : 12;
        if (header.colourTableAt + maskBytes > n) {
            return false;
        }
        header.masks = ReadMasks(in + header.colourTableAt, alpha);
        header.colourTableAt += maskBytes;
    } else if (header.headerBytes >= kHeaderWithColourMasks &&
               header.headerBytes != kHeaderWithoutMasks) {
        header.masks =
            ReadMasks(in + kInfoAt + kMasksAt, header.headerBytes >= kHeaderWithAlphaMask);
    }
    return true;
}

}  // namespace

std::optional<BitmapHeader> ReadBitmapHeader(const unsigned char* in, std::size_t n) {
    constexpr std::size_t kHeaderSizeBytes = 4;
    if (in == nullptr || n < kInfoAt + kHeaderSizeBytes || ReadU16(in) != kBitmapType) {
        return std::nullopt;
    }
    const unsigned char* info = in + kInfoAt;
    BitmapHeader header;
    header.pixelOffset = ReadU32(in + kPixelOffsetAt);
    header.headerBytes = ReadU32(info);
    if (header.headerBytes == kCoreHeaderBytes) {
        return ReadCoreHeader(in, n, header);
    }
    if (header.headerBytes < kInfoHeaderBytes || header.headerBytes > n - kInfoAt) {
        return std::nullopt;
    }
    header.width = static_cast<std::int32_t>(ReadU32(info + kWidthAt));
    header.height = static_cast<std::int32_t>(ReadU32(info + kHeightAt));
    header.planes = ReadU16(info + kPlanesAt);
    header.bitCount = ReadU16(info + kBitCountAt);
    header.compression = ReadU32(info + kCompressionAt);
    header.imageSize = ReadU32(info + kImageSizeAt);
    header.coloursUsed = ReadU32(info + kColoursUsedAt);
    header.colourTableAt = kInfoAt + std::uint64_t{header.headerBytes};

    const bool bitFields =
        header.compression == kBitFields || header.compression == kAlphaBitFields;
    if (bitFields && !ReadBitFieldMasks(in, n, header)) {
        return std::nullopt;
    }
    return header;
}

}  // namespace pictile
