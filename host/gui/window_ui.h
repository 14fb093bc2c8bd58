// The core's user interface in the main window: message boxes, file and folder dialogs, the
// status line and the progress bar. Every call may come from the run's worker thread; it is
// then carried out on the window's thread while the worker waits, so that every box and
// dialog is modal on the window.
#pragma once

#include <QObject>
#include <QPointer>

#include "host/core/user_interface.h"

class QAction;
class QLabel;
class QProgressBar;
class QWidget;

namespace gui {

class WindowUi : public QObject, public host::UserInterface {
public:
    WindowUi(QWidget* window, QLabel* statusLine, QProgressBar* progressBar);

    // The Tools menu item that follows the rulebook library.
    void setRegexToolAction(QAction* action) { regexToolAction_ = action; }

    int showMessage(const host::Message& message) override;
    void setStatusText(const host::DisplayText& text) override;
    void setProgressRange(int low, int high) override;
    void setProgressPosition(int position) override;
    void beginWaitCursor() override;
    void endWaitCursor() override;
    void beep() override;
    std::optional<std::string> selectTableFile(const std::string& functionTitle,
                                               const std::string& currentPath) override;
    std::optional<std::string> browseForFolder(const std::string& currentFolder) override;
    std::vector<std::string> chooseFilesToAdd() override;
    std::optional<std::string> chooseSettingsListToLoad() override;
    std::optional<std::string> chooseSettingsListToSave() override;
    void setRegexToolEnabled(bool enabled) override;

private:
    // Runs `work` on the window's thread and waits for it.
    template <typename Work>
    void OnWindowThread(Work work);

    QWidget* window_;
    QLabel* statusLine_;
    QProgressBar* progressBar_;
    QPointer<QAction> regexToolAction_;
    int waitDepth_ = 0;
};

}  // namespace gui
