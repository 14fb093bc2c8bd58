// The main window's placement as the ini file keeps it (the system's own 44-byte record), and
// back. A saved place that no screen shows any more (a monitor since removed, another
// resolution) is not taken: the window stays where the system put it.
#pragma once

#include <windows.h>

#include "host/core/settings/settings.h"

namespace win32gui {

host::WindowPlacement PlacementOf(HWND window);
void ApplyPlacement(HWND window, const host::WindowPlacement& placement);

}  // namespace win32gui
