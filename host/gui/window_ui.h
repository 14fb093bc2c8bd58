// The core's user interface in the main window: message boxes, file and folder dialogs, the
// status line and the progress bar. Every call may come from the run's worker thread. A
// question (a box, a dialog) is then carried out on the window's thread while the worker
// waits, so that it is modal on the window; a report (status, progress, wait cursor) is queued
// for the window's thread and the worker goes on at once. Queued reports keep their order and
// come before any later question, so the last status of a run is the one shown.
#pragma once

#include <QObject>

#include "host/core/ui/user_interface.h"
#include "host/core/workbench/window_choices.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QWidget;

namespace gui {

class WindowUi : public QObject, public host::UserInterface, public host::WindowChoices {
public:
    // `tableField` shows a table the moment the user picks it, a run's prompt included.
    WindowUi(QWidget* window, QLabel* statusLine, QProgressBar* progressBar,
             QLineEdit* tableField);

    int showMessage(const host::Message& message) override;
    void setStatusText(const host::DisplayText& text) override;
    void setProgressRange(int low, int high) override;
    void setProgressPosition(int position) override;
    void beginWaitCursor() override;
    void endWaitCursor() override;
    void beep() override;
    void note(const host::DisplayText& text) override;
    std::optional<std::string> selectTableFile(const std::string& functionTitle,
                                               const std::string& currentPath) override;
    std::optional<std::string> browseForFolder(const std::string& currentFolder) override;
    std::vector<std::string> chooseFilesToAdd() override;
    std::optional<std::string> chooseSettingsListToLoad() override;
    std::optional<std::string> chooseSettingsListToSave() override;

private:
    // Runs `work` on the window's thread and waits for it.
    template <typename Work>
    void OnWindowThread(Work work);
    // Runs `work` on the window's thread, later when called from another thread.
    template <typename Work>
    void QueueOnWindowThread(Work work);

    QWidget* window_;
    QLabel* statusLine_;
    QProgressBar* progressBar_;
    QLineEdit* tableField_;
    int waitDepth_ = 0;
};

}  // namespace gui
