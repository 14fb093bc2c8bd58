// Writes the icon file for a bitmap: icon header, image entry, the bitmap's information header
// adjusted for an icon, the colour table and pixels copied unchanged, and an all-opaque mask.
#pragma once

#include "icon_layout.h"

namespace pictile {

// Writes layout.FileBytes() bytes to `out`. `in` is the bitmap file ReadIconLayout accepted.
void WriteIcon(const IconLayout& layout, const unsigned char* in, unsigned char* out);

}  // namespace pictile
