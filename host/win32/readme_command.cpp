// The read-me command: the document beside the program, opened by the system's viewer.
#include <windows.h>

#include <shellapi.h>

#include "host/core/tools/about_text.h"
#include "host/win32/tool_dialogs.h"
#include "host/win32/window_text.h"

namespace win32gui {

void OpenReadme(HWND owner, host::UserInterface& ui, const std::string& executablePath) {
    host::OpenReadme(ui, executablePath, [owner](const std::string& path) {
        HINSTANCE result =
            ::ShellExecuteW(owner, L"open", Wide(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        // Values above 32 mean the document was handed to its viewer.
        return reinterpret_cast<INT_PTR>(result) > 32;
    });
}

}  // namespace win32gui
