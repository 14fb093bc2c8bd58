// Compares a dialog on the screen with its layout data: title, client size, and each control
// in order, with its id, window class, text and rectangle (the layout's dialog units mapped
// by the dialog's own font).
#pragma once

#include <windows.h>

#include "host/layout/layout_model.h"

namespace window_test {

void ExpectMatchesLayout(HWND dialog, const layout::Dialog& layout);

}  // namespace window_test
