// polyshift.exe: the window of the batch converter. The ini file is named after the
// executable, the paths of the command line (split by the system's rules, in UTF-16) go into
// the file list, and the process ends when the main window closes.
#include <windows.h>

#include <shellapi.h>

#include "host/core/settings/settings.h"
#include "host/win32/main_window.h"
#include "host/win32/window_text.h"
#include "platform/folder.h"
#include "platform/paths.h"

namespace {

std::vector<std::string> CommandLinePaths() {
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> paths;
    for (int i = 1; arguments != nullptr && i < count; ++i) {
        paths.push_back(win32gui::Utf8(arguments[i]));
    }
    ::LocalFree(arguments);
    return paths;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
    win32gui::StartUp startUp;
    startUp.executablePath = platform::ExecutablePath();
    startUp.programFolder = platform::RemoveFileName(startUp.executablePath);
    startUp.iniPath = host::IniFilePath(startUp.executablePath);
    startUp.commandLinePaths = CommandLinePaths();
    return win32gui::RunMainWindow(instance, std::move(startUp));
}
