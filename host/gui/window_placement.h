// The window's placement as the settings keep it: the normal position's frame rectangle and
// whether the window is minimized.
#pragma once

#include "host/core/settings/settings.h"

class QWidget;

namespace gui {

host::WindowPlacement PlacementOf(const QWidget& window);

// Moves the window (its size is fixed) and minimizes it when the placement says so. A position
// that no screen shows any more is left to the window system.
void ApplyPlacement(QWidget& window, const host::WindowPlacement& placement);

}  // namespace gui
