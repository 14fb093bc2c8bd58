// Answers the window's modal boxes and dialogs from a script while a test waits, and writes
// down what each one showed:
//   "box <icon> <title>: <text> [<button>|<button>...]"   a message box (icon as Qt numbers it)
//   "dialog <title> [<filter>|<filter>...]"                a file or folder dialog, with the
//                                                          filters as the user reads them
// A box takes the next scripted button when it has a choice (its default button when the
// script is used up); a dialog takes the next scripted choice (cancelled when none is left).
#pragma once

#include <QMessageBox>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>
#include <optional>

class QFileDialog;

namespace window_testing {

class ModalDriver : public QObject {
public:
    ModalDriver();

    std::deque<QMessageBox::StandardButton> buttons;
    // A file or folder to choose; several files are given separated by "\n".
    std::deque<std::optional<QString>> choices;
    QStringList seen;
    // Looks at every file dialog before it is answered.
    std::function<void(QFileDialog&)> inspectDialog;
    // Looks at every box before it is answered, while it is still open.
    std::function<void(QMessageBox&)> inspectBox;

    // The "box" lines only.
    QStringList boxes() const;
    // Waits until `count` boxes and dialogs were handled; false after `milliseconds`.
    bool waitForSeen(int count, int milliseconds = 10000) const;

private:
    void Poll();
    void AnswerBox(QMessageBox* box);
    void AnswerDialog(QFileDialog* dialog);

    QTimer timer_;
};

}  // namespace window_testing
