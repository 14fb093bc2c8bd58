// The core's user interface in the main window: message boxes, file and folder dialogs, the
// status line, the progress bar and the wait cursor. Every call may come from the run's worker
// thread. Calls from there go through one queue that the window's thread empties when a posted
// message tells it to: a report (status, progress, cursor) is queued and the worker goes on at
// once; a question (a box, a dialog) is queued too, carried out on the window's thread, modal
// on the window, while the worker waits for its answer. One queue keeps the order: the reports
// made before a question are shown before it, so the last status of a run is the one shown.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <mutex>

#include "host/core/ui/user_interface.h"
#include "host/core/workbench/window_choices.h"

namespace win32gui {

class WindowFace : public host::UserInterface, public host::WindowChoices {
public:
    // The message the window's procedure passes to DrainQueue().
    static constexpr UINT kQueueMessage = WM_APP + 1;

    // `window` is the main dialog; the calling thread is the window's thread.
    explicit WindowFace(HWND window);

    // On the window's thread, when kQueueMessage arrives: carries out what is queued, in order.
    void DrainQueue();
    // Runs `work` on the window's thread after everything queued before it; later when called
    // from another thread.
    void Queue(std::function<void()> work);
    // While a run lasts the window takes no input; a box or dialog shown on top of it for the
    // run gives the window back its input when it closes, so it is taken away again after.
    void SetRunning(bool running);
    bool waiting() const { return waitDepth_ > 0; }

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
    void Ask(const std::function<void()>& work);
    bool OnWindowThread() const { return ::GetCurrentThreadId() == windowThread_; }

    HWND window_;
    DWORD windowThread_;
    std::mutex mutex_;
    std::deque<std::function<void()>> queue_;
    bool running_ = false;  // the window's thread's view
    int waitDepth_ = 0;     // the window's thread's view
};

}  // namespace win32gui
