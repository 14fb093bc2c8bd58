// Keeps the user's input away from a window while a run works on another thread, as if the
// window's thread were busy: clicks, keys, wheel turns, drops and shortcuts aimed at the
// window or any of its controls are swallowed, while painting goes on. Boxes and dialogs
// shown on top of the window (the run's own prompts) take input as usual.
#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

namespace gui {

class InputGuard : public QObject {
public:
    explicit InputGuard(QWidget* window);

    void setActive(bool active);
    bool active() const { return active_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> window_;
    bool active_ = false;
};

}  // namespace gui
