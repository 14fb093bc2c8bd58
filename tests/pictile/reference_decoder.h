// A small bitmap and icon reader of the tests' own, written apart from the plug-in: what a
// picture looks like, pixel by pixel, in a bitmap file of any form and in an icon file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pictile_test {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;  // top row first; alpha, red, green, blue from the top

    bool operator==(const Picture&) const = default;
};

// Bitmap files with the 12-byte header or information headers of 40 bytes and more: 1, 4 and
// 8 bits through a colour table, 16, 24 and 32 bits direct, run-length data of 8 and 4 bits,
// bit-field pixels with and without an alpha mask, rows in either order. Pixels without a colour of
// their own (skipped by run-length data) take colour 0 of the table. Nothing for anything else or
// anything out of bounds.
std::optional<Picture> DecodeBitmap(const std::string& file);

// The one image of an icon file: uncompressed, with a 40-byte information header whose height
// counts colour and mask rows. 32-bit pixels carry their own alpha; other pixels are opaque
// where the mask is 0 and transparent (0) where it is 1. Nothing when the directory, the image
// entry and the image do not agree with each other and with the file's length.
std::optional<Picture> DecodeIcon(const std::string& file);

// `value`, `bits` wide, as an 8-bit channel: narrower values repeat their bits downwards,
// wider ones keep their top 8 bits.
std::uint8_t ScaleChannel(std::uint32_t value, int bits);

}  // namespace pictile_test
