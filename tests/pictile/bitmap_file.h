// Bitmap files for the tests: headers with chosen fields, a colour table and pixel rows
// filled with a recognisable pattern.
#pragma once

#include <cstdint>
#include <string>

namespace pictile_test {

struct BitmapShape {
    std::int32_t width = 32;
    std::int32_t height = 32;
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 4;
    std::uint32_t colourEntries = 16;  // written to the file
    // Image size field; kRowBytes means the size of the rows the width and bit count give.
    std::uint32_t imageSizeField = kRowBytes;
    std::uint32_t pixelBytes = kRowBytes;  // written to the file
    static constexpr std::uint32_t kRowBytes = 0xFFFFFFFFu;
};

// Bytes of one pixel row, padded to four bytes.
std::uint32_t RowBytes(std::int32_t width, std::uint16_t bitCount);

// The whole file. Resolution, colours-used and colours-important fields are non-zero, as
// in files that painting programs write.
std::string MakeBitmap(const BitmapShape& shape);

// Little-endian fields of a byte string, appended and read.
void Put16(std::string& out, std::uint16_t v);
void Put32(std::string& out, std::uint32_t v);
std::uint16_t U16At(const std::string& bytes, std::size_t offset);
std::uint32_t U32At(const std::string& bytes, std::size_t offset);

}  // namespace pictile_test
