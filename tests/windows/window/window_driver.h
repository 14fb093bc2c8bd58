// Drives the program's main window from a test, as a user's clicks and keys would: the window
// runs on a thread of its own (its message loop, its modal boxes), and the test's thread finds
// its controls and boxes and sends them what a click or a key would send.
#pragma once

#include <windows.h>

#include <chrono>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "host/win32/main_window.h"

namespace window_test {

using namespace std::chrono_literals;

class WindowDriver {
public:
    // Starts the window and waits until it shows.
    explicit WindowDriver(win32gui::StartUp startUp);
    WindowDriver(const WindowDriver&) = delete;
    WindowDriver& operator=(const WindowDriver&) = delete;
    // Closes whatever is still open and waits for the window's thread.
    ~WindowDriver();

    HWND main() const { return main_; }
    HWND Item(int id) const { return ::GetDlgItem(main_, id); }

    // A command that opens no dialog, carried out before this returns.
    void Command(int id, int code = 0) const;
    // A command that may open a dialog or box: only posted.
    void PostCommand(int id, int code = 0) const;

    // A top-level window of the window's thread, other than the main window, once one shows
    // (titled `title` when that is not empty); null when none does within `timeout`.
    HWND WaitForWindow(std::wstring_view title = {}, std::chrono::milliseconds timeout = 30s) const;
    // Waits until `window` is gone; false after `timeout`.
    static bool WaitUntilGone(HWND window, std::chrono::milliseconds timeout = 30s);
    // Waits until the window's thread has ended (the window closed); false after `timeout`.
    bool WaitUntilClosed(std::chrono::milliseconds timeout = 30s);

    std::vector<std::wstring> ListItems(int id) const;
    // Toggles the check mark of the function list's item `item` with the space bar.
    void ToggleFunction(int item) const;

private:
    std::vector<HWND> ThreadWindows() const;

    std::thread thread_;
    DWORD threadId_ = 0;
    HANDLE threadHandle_ = nullptr;
    HWND main_ = nullptr;
};

// The text of a window.
std::wstring TextOf(HWND window);
// Presses the button `id` of a box or dialog.
void Press(HWND box, int id);

}  // namespace window_test
