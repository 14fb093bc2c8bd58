// The bitmap forms the tests convert, each with the bit count its icon gets.
#pragma once

#include <cstdint>
#include <vector>

#include "bitmap_forms.h"

namespace pictile_test {

struct FormCase {
    const char* name;
    BitmapForm form;
    std::uint16_t iconBitCount;
    // Whether other image readers take the bitmap as the format has it; some take the unused
    // fourth byte of uncompressed 32-bit pixels for alpha, widen narrow channels by shifting
    // alone, round wide ones, or take no alpha bit fields at all.
    bool readersAgree = true;
};

// Larger information headers, gaps before the pixels, colour tables for true colour, top-down
// rows, image size 0, short colour tables, run-length data, 16-bit pixels, bit fields with and
// without alpha, the 12-byte header, and the largest and smallest sizes.
std::vector<FormCase> FormCases();

}  // namespace pictile_test
