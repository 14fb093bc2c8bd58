#include "icon_file.h"

#include "bitmap_file.h"

namespace pictile_test {

std::optional<IconFile> ReadIcon(const std::string& bytes, std::uint32_t colourTableBytes,
                                 std::uint32_t pixelBytes) {
    if (bytes.size() < 22) {
        return std::nullopt;
    }
    IconFile icon;
    icon.reserved = U16At(bytes, 0);
    icon.type = U16At(bytes, 2);
    icon.imageCount = U16At(bytes, 4);
    icon.width = static_cast<std::uint8_t>(bytes[6]);
    icon.height = static_cast<std::uint8_t>(bytes[7]);
    icon.colourCount = static_cast<std::uint8_t>(bytes[8]);
    icon.entryReserved = static_cast<std::uint8_t>(bytes[9]);
    icon.planes = U16At(bytes, 10);
    icon.bitCount = U16At(bytes, 12);
    icon.imageBytes = U32At(bytes, 14);
    icon.imageOffset = U32At(bytes, 18);
    if (std::uint64_t{icon.imageOffset} + icon.imageBytes != bytes.size() ||
        icon.imageBytes < 40 + std::uint64_t{colourTableBytes} + pixelBytes) {
        return std::nullopt;
    }
    std::size_t at = icon.imageOffset;
    icon.infoHeader = bytes.substr(at, 40);
    at += 40;
    icon.colourTable = bytes.substr(at, colourTableBytes);
    at += colourTableBytes;
    icon.pixels = bytes.substr(at, pixelBytes);
    at += pixelBytes;
    icon.mask = bytes.substr(at);
    return icon;
}

}  // namespace pictile_test
