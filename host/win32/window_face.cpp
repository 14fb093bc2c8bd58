#include "host/win32/window_face.h"

#include <commctrl.h>

#include <future>

#include "host/layout/main_dialog.h"
#include "host/win32/file_dialogs.h"
#include "host/win32/window_text.h"

namespace win32gui {
namespace {
namespace id = layout::main_control;
}  // namespace

WindowFace::WindowFace(HWND window) : window_(window), windowThread_(::GetCurrentThreadId()) {}

void WindowFace::Queue(std::function<void()> work) {
    if (OnWindowThread()) {
        work();
        return;
    }
    {
        const std::lock_guard lock(mutex_);
        queue_.push_back(std::move(work));
    }
    ::PostMessageW(window_, kQueueMessage, 0, 0);
}

void WindowFace::DrainQueue() {
    for (;;) {
        std::function<void()> work;
        {
            const std::lock_guard lock(mutex_);
            if (queue_.empty()) {
                return;
            }
            work = std::move(queue_.front());
            queue_.pop_front();
        }
        work();
    }
}

void WindowFace::Ask(const std::function<void()>& work) {
    auto shown = [this, &work] {
        work();
        if (running_) {
            ::EnableWindow(window_, FALSE);
        }
    };
    if (OnWindowThread()) {
        shown();
        return;
    }
    std::promise<void> done;
    Queue([&] {
        shown();
        done.set_value();
    });
    done.get_future().wait();
}

void WindowFace::SetRunning(bool running) {
    running_ = running;
    ::EnableWindow(window_, running ? FALSE : TRUE);
    if (running) {
        beginWaitCursor();
    } else {
        endWaitCursor();
    }
}

int WindowFace::showMessage(const host::Message& message) {
    int answer = 0;
    Ask([&] {
        // Owned by whatever is on top of the window (a tool's dialog), which the box then
        // holds until it is answered.
        answer = ::MessageBoxW(::GetLastActivePopup(window_), WideDisplay(message.text).c_str(),
                               WideDisplay(message.title).c_str(), message.style);
    });
    return answer;
}

// Reports capture what they show by value: the caller does not wait for them.
void WindowFace::setStatusText(const host::DisplayText& text) {
    Queue([this, shown = WideDisplay(text)] { ::SetDlgItemTextW(window_, id::kStatusLine, shown.c_str()); });
}

void WindowFace::note(const host::DisplayText& text) {
    setStatusText(text);
}

void WindowFace::setProgressRange(int low, int high) {
    Queue([this, low, high] {
        ::SendDlgItemMessageW(window_, id::kProgressBar, PBM_SETRANGE32, static_cast<WPARAM>(low),
                              static_cast<LPARAM>(high));
    });
}

void WindowFace::setProgressPosition(int position) {
    Queue([this, position] {
        ::SendDlgItemMessageW(window_, id::kProgressBar, PBM_SETPOS,
                              static_cast<WPARAM>(position), 0);
    });
}

void WindowFace::beginWaitCursor() {
    Queue([this] {
        if (waitDepth_++ == 0) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        }
    });
}

void WindowFace::endWaitCursor() {
    Queue([this] {
        if (waitDepth_ > 0 && --waitDepth_ == 0) {
            POINT point{};
            ::GetCursorPos(&point);
            ::SetCursorPos(point.x, point.y);  // the window under it sets its own cursor again
        }
    });
}

void WindowFace::beep() {
    Queue([] { ::MessageBeep(MB_OK); });
}

std::optional<std::string> WindowFace::selectTableFile(const std::string& /*functionTitle*/,
                                                       const std::string& currentPath) {
    std::optional<std::string> chosen;
    Ask([&] {
        chosen = SelectTableFile(window_, currentPath);
        // Shown at once, also when a run asks: the run goes on with this table.
        if (chosen) {
            SetItemText(window_, id::kTableField, *chosen);
        }
    });
    return chosen;
}

std::optional<std::string> WindowFace::browseForFolder(const std::string& currentFolder) {
    std::optional<std::string> chosen;
    Ask([&] { chosen = BrowseForFolder(window_, currentFolder); });
    return chosen;
}

std::vector<std::string> WindowFace::chooseFilesToAdd() {
    std::vector<std::string> chosen;
    Ask([&] { chosen = ChooseFilesToAdd(window_); });
    return chosen;
}

std::optional<std::string> WindowFace::chooseSettingsListToLoad() {
    std::optional<std::string> chosen;
    Ask([&] { chosen = ChooseSettingsList(window_, SettingsListUse::kLoad); });
    return chosen;
}

std::optional<std::string> WindowFace::chooseSettingsListToSave() {
    std::optional<std::string> chosen;
    Ask([&] { chosen = ChooseSettingsList(window_, SettingsListUse::kSave); });
    return chosen;
}

}  // namespace win32gui
