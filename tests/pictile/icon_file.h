// An icon file read back the way an icon viewer reads it: the directory, the entry of its one
// image, and that image's information header, colour table, pixel rows and mask, located from
// the file's own fields.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace pictile_test {

struct IconFile {
    std::uint16_t reserved = 0;
    std::uint16_t type = 0;
    std::uint16_t imageCount = 0;
    std::uint8_t width = 0;
    std::uint8_t height = 0;
    std::uint8_t colourCount = 0;
    std::uint8_t entryReserved = 0;
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t imageBytes = 0;
    std::uint32_t imageOffset = 0;

    std::string infoHeader;  // the image's 40-byte information header
    std::string colourTable;
    std::string pixels;
    std::string mask;
};

// Reads `bytes` as an icon whose pixel data is `pixelBytes` long (the information header's
// image size). Nothing when the file's own sizes do not add up to its length.
std::optional<IconFile> ReadIcon(const std::string& bytes, std::uint32_t colourTableBytes,
                                 std::uint32_t pixelBytes);

}  // namespace pictile_test
