#include "icon_writer.h"

#include <cstring>

#include "little_endian.h"

namespace pictile {
namespace {

constexpr std::uint16_t kIconType = 1;

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

// The image's 40-byte information header: uncompressed, no resolution, every colour of the
// table in use.
unsigned char* WriteInfoHeader(const IconLayout& layout, unsigned char* out) {
    out = WriteU32(out, kInfoHeaderBytes);
    out = WriteU32(out, static_cast<std::uint32_t>(layout.imageWidth));
    out = WriteU32(out, static_cast<std::uint32_t>(layout.doubledHeight));
    out = WriteU16(out, layout.planes);
    out = WriteU16(out, layout.bitCount);
    out = WriteU32(out, kUncompressed);
    out = WriteU32(out, layout.imageSizeField);
    constexpr std::size_t kZeroFields = 16;  // resolutions, colours used, colours important
    std::memset(out, 0, kZeroFields);
    return out + kZeroFields;
}

// The file's entries, three-byte ones widened with a zero byte, then black up to the full
// table.
unsigned char* WriteColourTable(const IconLayout& layout, const unsigned char* in,
                                unsigned char* out) {
    const unsigned char* entry = in + layout.colourTableAt;
    if (layout.colourEntryBytes == 4) {
        std::memcpy(out, entry, layout.colourTableCopied);
    } else {
        for (std::uint32_t at = 0; at < layout.colourTableCopied; at += 4) {
            std::memcpy(out + at, entry, 3);
            out[at + 3] = 0;
            entry += layout.colourEntryBytes;
        }
    }
    std::memset(out + layout.colourTableCopied, 0,
                layout.colourTableBytes - layout.colourTableCopied);
    return out + layout.colourTableBytes;
}

}  // namespace

bool WriteIcon(const IconLayout& layout, const unsigned char* in, unsigned char* out) {
    out = WriteIconHeader(layout, out);
    out = WriteInfoHeader(layout, out);
    out = WriteColourTable(layout, in, out);
    if (!WritePixelRows(layout.pixels, in, layout.rowBytes, out)) {
        return false;
    }
    std::memset(out + layout.imageBytes, 0, layout.maskBytes);
    return true;
}

}  // namespace pictile
