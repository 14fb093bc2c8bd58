// Bitmap files in every form the tests convert: information headers of 40 bytes and more and
// the old 12-byte one, short colour tables, gaps before the pixels, image size 0, rows top row
// first, run-length data and bit-field pixels with and without an alpha mask. Pixel values come
// from a fixed pseudo-random sequence with runs in it, so that run-length data holds runs as well
// as literals.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pictile_test {

struct BitmapForm {
    int width = 13;
    int height = 7;
    std::uint32_t headerBytes = 40;  // 12, 40, 52, 56, 108 or 124
    std::uint16_t bitCount = 24;
    // 0 none, 1 8-bit runs, 2 4-bit runs, 3 bit fields, 6 bit fields with alpha; always 0
    // behind a 12-byte header.
    std::uint32_t compression = 0;
    std::uint32_t masks[4] = {};  // red, green, blue, alpha of bit-field pixels
    bool topDown = false;
    std::uint32_t coloursUsed = 0;  // colour-table entries written and declared; 0: all
    std::uint32_t gapBytes = 0;     // between the colour table and the pixels
    bool imageSizeZero = false;
    bool runsIntoPadding = false;  // run-length rows encoded with their padding, as some
                                   // writers do
    std::string runLengthRecords;  // written as they are instead of encoded rows, when set
};

std::string MakeBitmapOfForm(const BitmapForm& form);

// Run-length records for rows of palette indices (bottom row first), each row closed and the
// data ended with its mark.
std::string EncodeRunLength(const std::vector<std::vector<std::uint8_t>>& rows, int bitCount);

}  // namespace pictile_test
