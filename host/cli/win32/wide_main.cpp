// polyshift-cli's start on Windows. The command line arrives as UTF-16 (wmain), so paths in any
// script reach the program whatever the system's code page; it is handed on as UTF-8, the
// program's own form of text. Standard streams carry bytes unchanged (no CR added before LF,
// none removed), and messages are UTF-8: a console is switched to the UTF-8 code page for the
// program's lifetime, and output redirected to a file or pipe is UTF-8 as it stands.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/win32/wide_text.h"

int PolyshiftCliMain(int argc, char** argv);

namespace {

UINT originalOutputCodePage = 0;

void RestoreConsole() {
    std::fflush(stdout);
    std::fflush(stderr);
    ::SetConsoleOutputCP(originalOutputCodePage);
}

bool IsConsole(DWORD which) {
    DWORD mode = 0;
    return ::GetConsoleMode(::GetStdHandle(which), &mode) != 0;
}

}  // namespace

extern "C" int wmain(int argc, wchar_t** argv) {
    ::_setmode(::_fileno(stdin), _O_BINARY);
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
    if (IsConsole(STD_OUTPUT_HANDLE) || IsConsole(STD_ERROR_HANDLE)) {
        originalOutputCodePage = ::GetConsoleOutputCP();
        if (originalOutputCodePage != CP_UTF8 && ::SetConsoleOutputCP(CP_UTF8)) {
            std::atexit(RestoreConsole);
        }
    }
    std::vector<std::string> arguments;
    arguments.reserve(static_cast<std::size_t>(argc));
    for (int i = 0; i < argc; ++i) {
        arguments.push_back(platform::win32::Utf8FromWide(argv[i]));
    }
    std::vector<char*> pointers;
    for (std::string& argument : arguments) {
        pointers.push_back(argument.data());
    }
    pointers.push_back(nullptr);
    return PolyshiftCliMain(argc, pointers.data());
}
