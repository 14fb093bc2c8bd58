#include "dialog_script.h"

#include <gtest/gtest.h>

#include <chrono>

#include "host/win32/window_text.h"

namespace dialog_test {
namespace {

struct Search {
    std::wstring title;
    HWND found = nullptr;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM searchAddress) {
    auto* search = reinterpret_cast<Search*>(searchAddress);
    if (::IsWindowVisible(window) && win32gui::WindowText(window) == search->title) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForDialog(DWORD thread, const std::wstring& title) {
    using namespace std::chrono_literals;
    const auto end = std::chrono::steady_clock::now() + 30s;
    Search search{title};
    while (std::chrono::steady_clock::now() < end) {
        ::EnumThreadWindows(thread, FindDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            return search.found;
        }
        std::this_thread::sleep_for(20ms);
    }
    return nullptr;
}

}  // namespace

DialogScript::DialogScript(std::string_view title, std::function<void(HWND dialog)> script) {
    const DWORD dialogThread = ::GetCurrentThreadId();
    thread_ = std::thread(
        [this, dialogThread, title = win32gui::Wide(title), script = std::move(script)] {
            HWND dialog = WaitForDialog(dialogThread, title);
            if (dialog == nullptr) {
                return;
            }
            shown_ = true;
            script(dialog);
            if (::IsWindow(dialog)) {
                ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            }
        });
}

DialogScript::~DialogScript() {
    thread_.join();
    EXPECT_TRUE(shown_) << "the dialog did not show";
}

std::wstring TextOf(HWND dialog, int id) {
    return win32gui::ItemText(dialog, id);
}

void Type(HWND dialog, int id, std::string_view text) {
    ::SetDlgItemTextW(dialog, id, win32gui::Wide(text).c_str());
}

void Click(HWND dialog, int id) {
    ::SendMessageW(::GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

bool Checked(HWND dialog, int id) {
    return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

bool PressEscape(HWND dialog, int id) {
    using namespace std::chrono_literals;
    HWND control = ::GetDlgItem(dialog, id);
    ::SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    // Through the dialog's message loop, as a key from the keyboard comes.
    ::PostMessageW(control, WM_KEYDOWN, VK_ESCAPE, 1);
    ::PostMessageW(control, WM_KEYUP, VK_ESCAPE, 0xC0000001);
    const auto end = std::chrono::steady_clock::now() + 10s;
    while (::IsWindow(dialog) && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(20ms);
    }
    return !::IsWindow(dialog);
}

}  // namespace dialog_test
