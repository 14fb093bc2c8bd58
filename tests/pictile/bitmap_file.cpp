#include "bitmap_file.h"

#include <cstdlib>

namespace pictile_test {

void Put16(std::string& out, std::uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

void Put32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out += static_cast<char>((v >> (8 * i)) & 0xFF);
    }
}

std::uint32_t RowBytes(std::int32_t width, std::uint16_t bitCount) {
    const std::uint64_t bits = std::uint64_t(std::abs(std::int64_t{width})) * bitCount;
    return static_cast<std::uint32_t>((bits + 31) / 32 * 4);
}

std::string MakeBitmap(const BitmapShape& shape) {
    const std::uint32_t rows = RowBytes(shape.width, shape.bitCount) *
                               static_cast<std::uint32_t>(std::abs(std::int64_t{shape.height}));
    const std::uint32_t imageSize =
        shape.imageSizeField == BitmapShape::kRowBytes ? rows : shape.imageSizeField;
    const std::uint32_t pixelBytes =
        shape.pixelBytes == BitmapShape::kRowBytes ? rows : shape.pixelBytes;
    const std::uint32_t dataOffset = 54 + shape.colourEntries * 4;

    std::string out;
    Put16(out, 0x4D42);
    Put32(out, dataOffset + pixelBytes);
    Put32(out, 0);
    Put32(out, dataOffset);
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(shape.width));
    Put32(out, static_cast<std::uint32_t>(shape.height));
    Put16(out, shape.planes);
    Put16(out, shape.bitCount);
    Put32(out, 0);  // no compression
    Put32(out, imageSize);
    Put32(out, 2835);  // 72 dots per inch
    Put32(out, 2835);
    Put32(out, shape.colourEntries);
    Put32(out, shape.colourEntries);
    for (std::uint32_t i = 0; i < shape.colourEntries; ++i) {
        // Blue, green, red, zero.
        out += static_cast<char>(i * 7);
        out += static_cast<char>(i * 3);
        out += static_cast<char>(255 - i);
        out += '\0';
    }
    for (std::uint32_t i = 0; i < pixelBytes; ++i) {
        out += static_cast<char>((i * 31 + i / 97) & 0xFF);
    }
    return out;
}

std::uint16_t U16At(const std::string& bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes.at(offset)) |
                                      static_cast<unsigned char>(bytes.at(offset + 1)) << 8);
}

std::uint32_t U32At(const std::string& bytes, std::size_t offset) {
    return std::uint32_t{U16At(bytes, offset)} | std::uint32_t{U16At(bytes, offset + 2)} << 16;
}

}  // namespace pictile_test
