#include "host/gui/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace gui {

host::WindowPlacement PlacementOf(const QWidget& window) {
    host::WindowPlacement placement;
    const QRect frame = window.frameGeometry();
    placement.left = frame.left();
    placement.top = frame.top();
    placement.right = frame.left() + frame.width();
    placement.bottom = frame.top() + frame.height();
    placement.showCommand = window.isMinimized() ? host::WindowPlacement::kShowMinimized
                                                 : host::WindowPlacement::kShowNormal;
    return placement;
}

void ApplyPlacement(QWidget& window, const host::WindowPlacement& placement) {
    const QPoint topLeft(placement.left, placement.top);
    if (QGuiApplication::screenAt(topLeft) != nullptr) {
        window.move(topLeft);
    }
    if (placement.showCommand == host::WindowPlacement::kShowMinimized) {
        window.setWindowState(window.windowState() | Qt::WindowMinimized);
    }
}

}  // namespace gui
