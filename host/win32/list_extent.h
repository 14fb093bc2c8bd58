// How far a list box scrolls sideways: every item's text measured in the list's font, plus the
// font's average character width, the widest of them plus `extra` (the check box of a check
// list); `extra` alone for an empty list.
#pragma once

#include <windows.h>

namespace win32gui {

void RefreshHorizontalExtent(HWND list, int extra);

}  // namespace win32gui
