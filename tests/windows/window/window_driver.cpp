#include "window_driver.h"

#include <gtest/gtest.h>

#include <future>

#include "host/layout/main_dialog.h"

namespace window_test {
namespace {

template <typename Condition>
bool WaitFor(Condition condition, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

BOOL CALLBACK Collect(HWND window, LPARAM windows) {
    if (::IsWindowVisible(window)) {
        reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    }
    return TRUE;
}

}  // namespace

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

void Press(HWND box, int id) {
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(box, id)));
}

WindowDriver::WindowDriver(win32gui::StartUp startUp) {
    std::promise<DWORD> started;
    thread_ = std::thread([&started, startUp = std::move(startUp)]() mutable {
        started.set_value(::GetCurrentThreadId());
        win32gui::RunMainWindow(::GetModuleHandleW(nullptr), std::move(startUp));
    });
    threadId_ = started.get_future().get();
    threadHandle_ = ::OpenThread(SYNCHRONIZE, FALSE, threadId_);
    const std::wstring title = L"Polyshift";
    WaitFor(
        [&] {
            for (HWND window : ThreadWindows()) {
                if (TextOf(window) == title) {
                    main_ = window;
                }
            }
            return main_ != nullptr;
        },
        30s);
    if (main_ == nullptr) {
        ADD_FAILURE() << "the main window did not show";
    }
}

WindowDriver::~WindowDriver() {
    // Boxes first (a run's question holds the window), then the window itself.
    const auto end = std::chrono::steady_clock::now() + 30s;
    while (thread_.joinable() && ::WaitForSingleObject(threadHandle_, 0) == WAIT_TIMEOUT &&
           std::chrono::steady_clock::now() < end) {
        for (HWND window : ThreadWindows()) {
            if (window != main_) {
                Press(window, IDCANCEL);
                Press(window, IDNO);
            }
        }
        ::PostMessageW(main_, WM_CLOSE, 0, 0);
        std::this_thread::sleep_for(100ms);
    }
    if (thread_.joinable()) {
        thread_.join();
    }
    ::CloseHandle(threadHandle_);
}

std::vector<HWND> WindowDriver::ThreadWindows() const {
    std::vector<HWND> windows;
    ::EnumThreadWindows(threadId_, Collect, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

void WindowDriver::Command(int id, int code) const {
    ::SendMessageW(main_, WM_COMMAND, MAKEWPARAM(id, code),
                   reinterpret_cast<LPARAM>(::GetDlgItem(main_, id)));
}

void WindowDriver::PostCommand(int id, int code) const {
    ::PostMessageW(main_, WM_COMMAND, MAKEWPARAM(id, code),
                   reinterpret_cast<LPARAM>(::GetDlgItem(main_, id)));
}

HWND WindowDriver::WaitForWindow(std::wstring_view title,
                                 std::chrono::milliseconds timeout) const {
    HWND found = nullptr;
    WaitFor(
        [&] {
            for (HWND window : ThreadWindows()) {
                if (window != main_ && (title.empty() || TextOf(window) == title)) {
                    found = window;
                }
            }
            return found != nullptr;
        },
        timeout);
    return found;
}

bool WindowDriver::WaitUntilGone(HWND window, std::chrono::milliseconds timeout) {
    return WaitFor([window] { return !::IsWindow(window); }, timeout);
}

bool WindowDriver::WaitUntilClosed(std::chrono::milliseconds timeout) {
    const auto milliseconds = static_cast<DWORD>(timeout.count());
    return ::WaitForSingleObject(threadHandle_, milliseconds) == WAIT_OBJECT_0;
}

std::vector<std::wstring> WindowDriver::ListItems(int id) const {
    HWND list = Item(id);
    std::vector<std::wstring> items;
    const LRESULT count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring text(
            static_cast<std::size_t>(::SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            ::SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
        items.push_back(text);
    }
    return items;
}

void WindowDriver::ToggleFunction(int item) const {
    HWND list = Item(layout::main_control::kFunctionList);
    ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(item), 0);
    ::SendMessageW(list, WM_KEYDOWN, VK_SPACE, 0);
}

}  // namespace window_test
