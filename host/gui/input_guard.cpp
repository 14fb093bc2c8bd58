#include "host/gui/input_guard.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace gui {
namespace {

bool IsInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
            return true;
        default:
            return false;
    }
}

}  // namespace

InputGuard::InputGuard(QWidget* window) : QObject(window), window_(window) {}

void InputGuard::setActive(bool active) {
    if (active == active_) {
        return;
    }
    active_ = active;
    if (active) {
        qApp->installEventFilter(this);
    } else {
        qApp->removeEventFilter(this);
    }
}

bool InputGuard::eventFilter(QObject* watched, QEvent* event) {
    if (!active_ || !IsInput(event->type())) {
        return false;
    }
    // A shortcut's target may be an action or a shortcut object: it belongs to the window
    // when one of its parents does.
    for (QObject* object = watched; object != nullptr; object = object->parent()) {
        if (auto* widget = qobject_cast<QWidget*>(object)) {
            return widget->window() == window_;
        }
    }
    return false;
}

}  // namespace gui
