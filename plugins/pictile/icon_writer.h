// Writes the icon file for a bitmap: icon header, image entry, the image's information header,
// colour table, pixel rows and an all-opaque mask.
#pragma once

#include "icon_layout.h"

namespace pictile {

// Writes layout.FileBytes() bytes to `out`. `in` is the bitmap file ReadIconLayout accepted.
// False when its pixel data turns out malformed; `out` then holds no icon.
bool WriteIcon(const IconLayout& layout, const unsigned char* in, unsigned char* out);

}  // namespace pictile
