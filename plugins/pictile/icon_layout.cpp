#include "icon_layout.h"

#include <limits>

#include "bitmap_header.h"

namespace pictile {
namespace {

constexpr std::uint64_t kMaxU32 = std::numeric_limits<std::uint32_t>::max();
// A height whose double does not fit the image header's field cannot be described.
constexpr std::uint32_t kMaxRows = std::numeric_limits<std::int32_t>::max() / 2;
// The image entry gives width and height in one byte each, 0 standing for 256: readers take
// them from there, so a larger image cannot be shown right.
constexpr std::int64_t kMaxIconSide = 256;

std::uint8_t ColourCount(std::uint16_t planes, std::uint16_t bitCount) {
    const std::uint32_t bitsPerPixel = std::uint32_t{planes} * bitCount;
    return bitsPerPixel < 8 ? static_cast<std::uint8_t>(1u << bitsPerPixel) : 0;
}

// Bytes of a row of `width` pixels, padded to four bytes.
std::uint64_t RowBytes(std::uint64_t width, std::uint16_t bitCount) {
    return (width * bitCount + 31) / 32 * 4;
}

// Entries of the colour table that icons have always been given: 256 for 8 bits, otherwise
// one per value of planes x bit count below 8 bits.
std::uint32_t ClassicColourEntries(const BitmapHeader& h) {
    return h.bitCount == 8 ? 256 : ColourCount(h.planes, h.bitCount);
}

// Entries the file's colour table holds for pixels of up to 8 bits: the colours-used count
// when it is below the full count, else the full count. Larger pixels need no table.
std::uint32_t StoredColourEntries(const BitmapHeader& h) {
    if (h.bitCount > 8) {
        return 0;
    }
    const std::uint32_t full = 1u << h.bitCount;
    return h.coloursUsed != 0 && h.coloursUsed < full ? h.coloursUsed : full;
}

// The pixel data begins at the file's pixel offset; an offset that points back into the
// colour table (files that leave it 0, for one) is read as the table's end.
std::uint64_t PixelsAt(const BitmapHeader& h, std::uint64_t colourTableEnd) {
    return h.pixelOffset >= colourTableEnd ? h.pixelOffset : colourTableEnd;
}

bool IsClassic(const BitmapHeader& h) {
    if (h.headerBytes != kInfoHeaderBytes || h.compression != kUncompressed || h.height < 0 ||
        h.width < 0) {
        return false;
    }
    const std::uint32_t classicEntries = ClassicColourEntries(h);
    if (h.bitCount <= 8 && h.coloursUsed != 0 && h.coloursUsed < classicEntries) {
        return false;  // a short colour table
    }
    const std::uint64_t classicPixelsAt = h.colourTableAt + classicEntries * 4;
    const std::uint64_t storedTableEnd = h.colourTableAt + StoredColourEntries(h) * 4;
    // The image size covers every row (compared without multiplying: the fields are 32 bits
    // each).
    const std::uint64_t rowBytes = RowBytes(static_cast<std::uint32_t>(h.width), h.bitCount);
    const bool sizeCoversRows =
        rowBytes == 0 || static_cast<std::uint32_t>(h.height) <= h.imageSize / rowBytes;
    return PixelsAt(h, storedTableEnd) <= classicPixelsAt && sizeCoversRows;
}

// The classic form: information header, colour table and image-size bytes of pixels as the
// file has them.
std::optional<IconLayout> ClassicLayout(const BitmapHeader& h, std::size_t n) {
    if (h.height > static_cast<std::int32_t>(kMaxRows)) {
        return std::nullopt;
    }
    IconLayout layout;
    layout.width = static_cast<std::uint8_t>(h.width);
    layout.height = static_cast<std::uint8_t>(h.height);
    layout.colourCount = ColourCount(h.planes, h.bitCount);
    layout.planes = h.planes;
    layout.bitCount = h.bitCount;
    layout.imageWidth = h.width;
    layout.doubledHeight = h.height * 2;
    layout.imageSizeField = h.imageSize;
    layout.colourTableBytes = ClassicColourEntries(h) * 4;
    layout.colourTableCopied = layout.colourTableBytes;
    layout.colourTableAt = h.colourTableAt;
    layout.imageBytes = h.imageSize;
    layout.rowBytes = RowBytes(static_cast<std::uint32_t>(h.width), h.bitCount);
    layout.maskBytes = static_cast<std::uint32_t>(RowBytes(layout.width, 1) * layout.height);

    PixelSource& pixels = layout.pixels;
    pixels.at = h.colourTableAt + layout.colourTableBytes;
    pixels.bytes = h.imageSize;
    pixels.width = static_cast<std::uint32_t>(h.width);
    pixels.rows = static_cast<std::uint32_t>(h.height);
    pixels.bitCount = h.bitCount;
    pixels.iconBitCount = h.bitCount;
    pixels.rowBytes = layout.rowBytes;
    if (pixels.at + pixels.bytes > n) {
        return std::nullopt;
    }
    return layout;
}

// Every other form, rewritten as the classic one.
std::optional<IconLayout> RewrittenLayout(const BitmapHeader& h, const unsigned char* in,
                                          std::size_t n) {
    const std::int64_t height = h.height;
    const std::uint64_t rows = height < 0 ? -height : height;
    if (h.planes != 1 || h.width <= 0 || h.width > kMaxIconSide || rows == 0 ||
        rows > kMaxIconSide) {
        return std::nullopt;
    }
    auto source = PixelSourceFor(h);
    if (!source) {
        return std::nullopt;
    }
    const std::uint16_t iconBitCount = source->iconBitCount;
    const auto width = static_cast<std::uint32_t>(h.width);
    IconLayout layout;
    layout.width = static_cast<std::uint8_t>(width);
    layout.height = static_cast<std::uint8_t>(rows);
    layout.colourCount = ColourCount(1, iconBitCount);
    layout.planes = 1;
    layout.bitCount = iconBitCount;
    layout.imageWidth = h.width;
    layout.doubledHeight = static_cast<std::int32_t>(rows * 2);

    const std::uint32_t iconEntries = iconBitCount <= 8 ? 1u << iconBitCount : 0;
    const std::uint32_t storedEntries = StoredColourEntries(h);
    layout.colourTableBytes = iconEntries * 4;
    layout.colourTableCopied = (storedEntries < iconEntries ? storedEntries : iconEntries) * 4;
    layout.colourTableAt = h.colourTableAt;
    layout.colourEntryBytes = h.colourEntryBytes;
    const std::uint64_t tableEnd =
        h.colourTableAt + std::uint64_t{storedEntries} * h.colourEntryBytes;
    if (tableEnd > n) {
        return std::nullopt;
    }

    // At most 256 x 256 pixels: the sizes are small.
    layout.rowBytes = RowBytes(width, iconBitCount);
    layout.imageBytes = static_cast<std::uint32_t>(layout.rowBytes * rows);
    layout.imageSizeField = layout.imageBytes;
    layout.maskBytes = static_cast<std::uint32_t>(RowBytes(width, 1) * rows);

    source->topDown = h.height < 0;
    source->at = PixelsAt(h, tableEnd);
    source->width = width;
    source->rows = static_cast<std::uint32_t>(rows);
    source->rowBytes = RowBytes(width, h.bitCount);
    if (source->at > n) {
        return std::nullopt;
    }
    if (source->form == PixelForm::kRunLength) {
        // The records run for the image size, or to the end of the file when it is 0.
        source->bytes = h.imageSize != 0 ? h.imageSize : n - source->at;
    } else {
        source->bytes = source->rowBytes * rows;
    }
    if (source->bytes > n - source->at || !PixelRowsReadable(*source, in)) {
        return std::nullopt;
    }
    layout.pixels = *source;
    return layout;
}

}  // namespace

std::uint32_t IconLayout::ImageEntryBytes() const {
    return static_cast<std::uint32_t>(kInfoHeaderBytes) + colourTableBytes + imageBytes + maskBytes;
}

std::uint32_t IconLayout::FileBytes() const {
    return static_cast<std::uint32_t>(kIconImageOffset) + ImageEntryBytes();
}

std::optional<IconLayout> ReadIconLayout(const unsigned char* in, std::size_t n) {
    const auto header = ReadBitmapHeader(in, n);
    if (!header) {
        return std::nullopt;
    }
    const auto layout =
        IsClassic(*header) ? ClassicLayout(*header, n) : RewrittenLayout(*header, in, n);
    if (!layout) {
        return std::nullopt;
    }
    const std::uint64_t fileBytes = kIconImageOffset + std::uint64_t{kInfoHeaderBytes} +
                                    layout->colourTableBytes + std::uint64_t{layout->imageBytes} +
                                    layout->maskBytes;
    if (fileBytes > kMaxU32) {
        return std::nullopt;
    }
    return layout;
}

}  // namespace pictile
