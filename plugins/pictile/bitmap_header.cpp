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

ChannelMasks ReadMasks(const unsigned char* at, bool withAlpha) {
    ChannelMasks masks;
    masks.red = ReadU32(at);
    masks.green = ReadU32(at + 4);
    masks.blue = ReadU32(at + 8);
    masks.alpha = withAlpha ? ReadU32(at + 12) : 0;
    return masks;
}

}  // namespace

std::optional<BitmapHeader> ReadBitmapHeader(const unsigned char* in, std::size_t n) {
    if (in == nullptr || n < kInfoAt + kInfoHeaderBytes || ReadU16(in) != kBitmapType) {
        return std::nullopt;
    }
    const unsigned char* info = in + kInfoAt;
    BitmapHeader header;
    header.pixelOffset = ReadU32(in + kPixelOffsetAt);
    header.headerBytes = ReadU32(info);
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

    if (header.compression == kBitFields) {
        if (header.headerBytes == kInfoHeaderBytes) {
            constexpr std::size_t kMaskBytes = 12;
            if (header.colourTableAt + kMaskBytes > n) {
                return std::nullopt;
            }
            header.masks = ReadMasks(in + header.colourTableAt, false);
            header.colourTableAt += kMaskBytes;
        } else if (header.headerBytes >= kHeaderWithColourMasks &&
                   header.headerBytes != kHeaderWithoutMasks) {
            header.masks = ReadMasks(info + kMasksAt, header.headerBytes >= kHeaderWithAlphaMask);
        }
    }
    return header;
}

}  // namespace pictile
