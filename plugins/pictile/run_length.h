// Expands the run-length compressed pixels of 8- and 4-bit bitmaps into plain rows. The data
// is checked as it is read: a run, a literal or a move that would leave the image's rows (each
// with its padding to four bytes, which some writers fill with runs as well), a record cut off
// by the end of the data, or data that stops before the last row without its end mark makes
// the whole expansion fail. Pixels that land in a row's padding are dropped.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pictile {

struct RunLengthImage {
    const unsigned char* data = nullptr;  // the compressed records
    std::size_t length = 0;
    std::uint16_t bitCount = 8;  // 8 or 4 bits per pixel
    std::uint32_t width = 0;     // pixels per row
    std::uint32_t rows = 0;
    std::size_t rowBytes = 0;  // of the expanded rows, bottom row first
};

// Expands `image` into `rows`, which must hold image.rows * image.rowBytes zero bytes: pixels
// the data skips keep colour 0. With `rows` null the data is only checked. False when the
// data is malformed.
bool ExpandRunLength(const RunLengthImage& image, unsigned char* rows);

}  // namespace pictile
