// Plays the user's part in a modal dialog: the dialog runs on the test's thread (inside the
// call that shows it), while a thread of the script's own waits for it to show and then does
// to its controls what clicks and keys would.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <thread>

namespace dialog_test {

class DialogScript {
  public:
    // Starts `script` for the first dialog titled `title` (UTF-8) that the calling thread
    // shows. A dialog that is still open when the script ends is cancelled.
    DialogScript(std::string_view title, std::function<void(HWND dialog)> script);
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;
    // Waits for the script; a failure when the dialog never showed.
    ~DialogScript();

  private:
    std::thread thread_;
    bool shown_ = false;
};

// A control's whole text.
std::wstring TextOf(HWND dialog, int id);
// Types `text` (UTF-8) into the control.
void Type(HWND dialog, int id, std::string_view text);
// Clicks the button `id`; returns once the dialog has handled the click.
void Click(HWND dialog, int id);
bool Checked(HWND dialog, int id);
// Presses Esc in the control `id`; whether the dialog then closed.
bool PressEscape(HWND dialog, int id);

}  // namespace dialog_test
