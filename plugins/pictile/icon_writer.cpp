#include "icon_writer.h"

#include <cstring>

#include "little_endian.h"

namespace pictile {
namespace {

constexpr std::uint16_t kIconType = 1;

// Offsets in the information header.
constexpr std::size_t kInfoHeightAt = 8;
constexpr std::size_t kInfoResolutionAt = 24;  // horizontal and vertical resolution, colours
                                               // used and colours important: 16 bytes to the end

unsigned char* WriteIconHeader(const IconLayout& layout, unsigned char* out) {
    out = WriteU16(out, 0);
    out = WriteU16(out, kIconType);
    out = WriteU16(out, 1);  // one image
    *out++ = layout.width;
    *out++ = layout.height;
    *out++ = layout.colourCount;
    *out++ = 0;
    out = WriteU16(out, layout.planes);
    out = WriteU16(out, layout.bitCount);
    out = WriteU32(out, layout.ImageEntryBytes());
    return WriteU32(out, static_cast<std::uint32_t>(kIconImageOffset));
}

unsigned char* WriteInfoHeader(const IconLayout& layout, const unsigned char* in,
                               unsigned char* out) {
    std::memcpy(out, in + kBitmapFileHeaderBytes, kInfoHeaderBytes);
    WriteU32(out + kInfoHeightAt, static_cast<std::uint32_t>(layout.doubledHeight));
    std::memset(out + kInfoResolutionAt, 0, kInfoHeaderBytes - kInfoResolutionAt);
    return out + kInfoHeaderBytes;
}

}  // namespace

void WriteIcon(const IconLayout& layout, const unsigned char* in, unsigned char* out) {
    out = WriteIconHeader(layout, out);
    out = WriteInfoHeader(layout, in, out);
    const std::size_t copied = std::size_t{layout.colourTableBytes} + layout.imageBytes;
    std::memcpy(out, in + kBitmapDataOffset, copied);
    std::memset(out + copied, 0, layout.maskBytes);
}

}  // namespace pictile
