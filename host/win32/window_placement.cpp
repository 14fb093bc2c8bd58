#include "host/win32/window_placement.h"

namespace win32gui {

host::WindowPlacement PlacementOf(HWND window) {
    WINDOWPLACEMENT system{};
    system.length = sizeof system;
    host::WindowPlacement placement;
    if (!::GetWindowPlacement(window, &system)) {
        return placement;
    }
    placement.flags = system.flags;
    placement.showCommand = system.showCmd;
    placement.minX = system.ptMinPosition.x;
    placement.minY = system.ptMinPosition.y;
    placement.maxX = system.ptMaxPosition.x;
    placement.maxY = system.ptMaxPosition.y;
    placement.left = system.rcNormalPosition.left;
    placement.top = system.rcNormalPosition.top;
    placement.right = system.rcNormalPosition.right;
    placement.bottom = system.rcNormalPosition.bottom;
    return placement;
}

void ApplyPlacement(HWND window, const host::WindowPlacement& placement) {
    // The frame has a fixed size: only the place is taken from the record.
    RECT now{};
    ::GetWindowRect(window, &now);
    RECT wanted{placement.left, placement.top, placement.left + (now.right - now.left),
                placement.top + (now.bottom - now.top)};
    // The caption must stand on some screen, or nobody could move the window back.
    RECT caption = wanted;
    caption.bottom = caption.top + ::GetSystemMetrics(SM_CYCAPTION);
    if (::MonitorFromRect(&caption, MONITOR_DEFAULTTONULL) == nullptr) {
        return;
    }
    WINDOWPLACEMENT system{};
    system.length = sizeof system;
    system.flags = placement.flags & WPF_RESTORETOMAXIMIZED;
    system.showCmd = placement.showCommand == SW_SHOWMINIMIZED ? SW_SHOWMINIMIZED : SW_SHOWNORMAL;
    system.ptMinPosition = {placement.minX, placement.minY};
    system.ptMaxPosition = {placement.maxX, placement.maxY};
    system.rcNormalPosition = wanted;
    ::SetWindowPlacement(window, &system);
}

}  // namespace win32gui
