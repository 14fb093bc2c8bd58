#include "icon_layout.h"

#include <limits>

#include "little_endian.h"

namespace pictile {
namespace {

// Offsets in the bitmap file.
constexpr std::size_t kWidthAt = 18;
constexpr std::size_t kHeightAt = 22;
constexpr std::size_t kPlanesAt = 26;
constexpr std::size_t kBitCountAt = 28;
constexpr std::size_t kImageSizeAt = 34;

constexpr std::uint64_t kMaxU32 = std::numeric_limits<std::uint32_t>::max();

std::uint8_t ColourCount(std::uint16_t planes, std::uint16_t bitCount) {
    const std::uint32_t bitsPerPixel = std::uint32_t{planes} * bitCount;
    return bitsPerPixel < 8 ? static_cast<std::uint8_t>(1u << bitsPerPixel) : 0;
}

}  // namespace

std::uint32_t IconLayout::ImageEntryBytes() const {
    return static_cast<std::uint32_t>(kInfoHeaderBytes) + colourTableBytes + imageBytes + maskBytes;
}

std::uint32_t IconLayout::FileBytes() const {
    return static_cast<std::uint32_t>(kIconImageOffset) + ImageEntryBytes();
}

std::optional<IconLayout> ReadIconLayout(const unsigned char* in, std::size_t n) {
    if (in == nullptr || n < kBitmapDataOffset || ReadU16(in) != kBitmapType) {
        return std::nullopt;
    }
    IconLayout layout;
    const std::uint32_t width = ReadU32(in + kWidthAt);
    const auto height = static_cast<std::int32_t>(ReadU32(in + kHeightAt));
    layout.width = static_cast<std::uint8_t>(width);
    layout.height = static_cast<std::uint8_t>(height);
    layout.planes = ReadU16(in + kPlanesAt);
    layout.bitCount = ReadU16(in + kBitCountAt);
    layout.colourCount = ColourCount(layout.planes, layout.bitCount);
    layout.imageBytes = ReadU32(in + kImageSizeAt);

    // The image's header counts the mask rows too; a height whose double does not fit its
    // field cannot be described.
    const std::int64_t doubled = std::int64_t{height} * 2;
    if (doubled < std::numeric_limits<std::int32_t>::min() ||
        doubled > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    layout.doubledHeight = static_cast<std::int32_t>(doubled);

    const std::uint32_t entries = layout.bitCount == 8 ? 256 : layout.colourCount;
    layout.colourTableBytes = static_cast<std::uint16_t>(entries * 4);
    const std::uint32_t maskRowBytes = (layout.width + 31u) / 32u * 4u;
    layout.maskBytes = maskRowBytes * layout.height;

    // The colour table and the pixels are copied from the file: all of them must be there.
    const std::uint64_t copied = std::uint64_t{layout.colourTableBytes} + layout.imageBytes;
    if (copied > n - kBitmapDataOffset) {
        return std::nullopt;
    }
    const std::uint64_t fileBytes = kIconImageOffset + kInfoHeaderBytes + copied + layout.maskBytes;
    if (fileBytes > kMaxU32) {
        return std::nullopt;
    }
    return layout;
}

}  // namespace pictile
