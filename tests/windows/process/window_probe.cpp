// window_probe: looks at the window of another process for a shell test, as a person would see
// it, and closes it.
//
//   window_probe [--title TITLE] [--program NAME] [--wait SECONDS] COMMAND...
//
// Waits up to SECONDS (default 30) for a top-level window titled TITLE (default "Polyshift")
// that answers messages, of a process started from a program file named NAME when given (other
// programs may show a window of that title meanwhile, such as tests of the window in-process),
// then runs the commands in order, one line of UTF-8 on standard output each:
//   count ID    "count ID N": the items of list box ID
//   await ID    the same, once list box ID holds an item (waits like the window)
//   items ID    "item ID I TEXT" for each item of list box ID
//   checked ID  "checked ID 0|1|2": the state of check box ID
//   text ID     "text ID TEXT": the text of control ID
//   click ID    "clicked ID": clicks button or check box ID
//   close       "closed": asks the window to close and waits for its process to end
// A command that fails prints why on standard error, and the probe ends with status 1.

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr DWORD kAnswerTimeoutMs = 10000;

struct Probe {
    std::wstring title = L"Polyshift";
    std::wstring program;  // empty: any
    HWND window = nullptr;
    DWORD waitMs = 30000;
};

std::string Utf8(const std::wstring& text) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(),
                          size, nullptr, nullptr);
    return result;
}

void Say(const std::wstring& line) {
    const std::string bytes = Utf8(line) + "\n";
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

bool Fail(const std::wstring& why) {
    const std::string bytes = "window_probe: " + Utf8(why) + "\n";
    std::fwrite(bytes.data(), 1, bytes.size(), stderr);
    return false;
}

// A message sent to the other process; false when it does not answer in time.
bool Ask(HWND to, UINT message, WPARAM w, LPARAM l, LRESULT& answer) {
    DWORD_PTR result = 0;
    if (::SendMessageTimeoutW(to, message, w, l, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &result) ==
        0) {
        return false;
    }
    answer = static_cast<LRESULT>(result);
    return true;
}

std::wstring ProgramNameOf(HWND window) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (process == nullptr) {
        return {};
    }
    wchar_t path[MAX_PATH * 2] = {};
    DWORD size = MAX_PATH * 2;
    const bool known = ::QueryFullProcessImageNameW(process, 0, path, &size) != 0;
    ::CloseHandle(process);
    const wchar_t* name = known ? std::wcsrchr(path, L'\\') : nullptr;
    return name != nullptr ? name + 1 : path;
}

BOOL CALLBACK TakeIfWanted(HWND window, LPARAM probeAddress) {
    auto& probe = *reinterpret_cast<Probe*>(probeAddress);
    wchar_t title[256] = {};
    ::GetWindowTextW(window, title, 256);
    if (probe.title != title || !::IsWindowVisible(window) ||
        (!probe.program.empty() &&
         ::lstrcmpiW(ProgramNameOf(window).c_str(), probe.program.c_str()) != 0)) {
        return TRUE;
    }
    probe.window = window;
    return FALSE;
}

bool FindTheWindow(Probe& probe) {
    const DWORD start = ::GetTickCount();
    do {
        probe.window = nullptr;
        ::EnumWindows(TakeIfWanted, reinterpret_cast<LPARAM>(&probe));
        LRESULT ignored = 0;
        // Answering a sent message means the window's thread has reached its message loop.
        if (probe.window != nullptr && Ask(probe.window, WM_NULL, 0, 0, ignored)) {
            return true;
        }
        ::Sleep(100);
    } while (::GetTickCount() - start < probe.waitMs);
    probe.window = nullptr;
    return Fail(L"no window \"" + probe.title + L"\"" +
                (probe.program.empty() ? L"" : L" of " + probe.program) + L" within " +
                std::to_wstring(probe.waitMs / 1000) + L" s");
}

bool Control(const Probe& probe, const wchar_t* idText, HWND& control, int& id) {
    wchar_t* end = nullptr;
    id = static_cast<int>(std::wcstol(idText, &end, 10));
    control = *idText != L'\0' && *end == L'\0' ? ::GetDlgItem(probe.window, id) : nullptr;
    return control != nullptr || Fail(L"no control " + std::wstring(idText));
}

bool Count(HWND list, int id, bool await, DWORD waitMs) {
    const DWORD start = ::GetTickCount();
    LRESULT count = 0;
    for (;;) {
        if (!Ask(list, LB_GETCOUNT, 0, 0, count) || count == LB_ERR) {
            return Fail(L"list " + std::to_wstring(id) + L" does not answer LB_GETCOUNT");
        }
        if (!await || count > 0 || ::GetTickCount() - start >= waitMs) {
            break;
        }
        ::Sleep(100);
    }
    Say(L"count " + std::to_wstring(id) + L" " + std::to_wstring(count));
    return true;
}

bool Items(HWND list, int id) {
    LRESULT count = 0;
    if (!Ask(list, LB_GETCOUNT, 0, 0, count) || count == LB_ERR) {
        return Fail(L"list " + std::to_wstring(id) + L" does not answer LB_GETCOUNT");
    }
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = 0;
        if (!Ask(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0, length) || length == LB_ERR) {
            return Fail(L"list " + std::to_wstring(id) + L" has no text for item " +
                        std::to_wstring(i));
        }
        std::vector<wchar_t> text(static_cast<std::size_t>(length) + 1, L'\0');
        LRESULT copied = 0;
        if (!Ask(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()),
                 copied) ||
            copied == LB_ERR) {
            return Fail(L"list " + std::to_wstring(id) + L" gives no text for item " +
                        std::to_wstring(i));
        }
        Say(L"item " + std::to_wstring(id) + L" " + std::to_wstring(i) + L" " +
            std::wstring(text.data()));
    }
    return true;
}

bool Text(HWND control, int id) {
    // WM_GETTEXT, which GetWindowTextW sends to a window of another process, is carried across.
    LRESULT length = 0;
    if (!Ask(control, WM_GETTEXTLENGTH, 0, 0, length)) {
        return Fail(L"control " + std::to_wstring(id) + L" does not answer");
    }
    std::vector<wchar_t> text(static_cast<std::size_t>(length) + 1, L'\0');
    LRESULT copied = 0;
    if (!Ask(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), copied)) {
        return Fail(L"control " + std::to_wstring(id) + L" gives no text");
    }
    Say(L"text " + std::to_wstring(id) + L" " + std::wstring(text.data()));
    return true;
}

bool Checked(HWND button, int id) {
    LRESULT state = 0;
    if (!Ask(button, BM_GETCHECK, 0, 0, state)) {
        return Fail(L"check box " + std::to_wstring(id) + L" does not answer");
    }
    Say(L"checked " + std::to_wstring(id) + L" " + std::to_wstring(state));
    return true;
}

bool Click(HWND button, int id) {
    LRESULT ignored = 0;
    if (!Ask(button, BM_CLICK, 0, 0, ignored)) {
        return Fail(L"button " + std::to_wstring(id) + L" does not answer a click");
    }
    Say(L"clicked " + std::to_wstring(id));
    return true;
}

bool Close(const Probe& probe) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(probe.window, &processId);
    HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (process == nullptr) {
        return Fail(L"cannot wait for the window's process");
    }
    ::PostMessageW(probe.window, WM_CLOSE, 0, 0);
    const DWORD waited = ::WaitForSingleObject(process, probe.waitMs);
    ::CloseHandle(process);
    if (waited != WAIT_OBJECT_0) {
        return Fail(L"the window's process did not end within " +
                    std::to_wstring(probe.waitMs / 1000) + L" s of WM_CLOSE");
    }
    Say(L"closed");
    return true;
}

// Runs the command at argv[i], moving i past its argument.
bool Run(const Probe& probe, int argc, wchar_t** argv, int& i) {
    const std::wstring command = argv[i];
    if (command == L"close") {
        return Close(probe);
    }
    if (i + 1 >= argc) {
        return Fail(command + L" needs a control id");
    }
    HWND control = nullptr;
    int id = 0;
    if (!Control(probe, argv[++i], control, id)) {
        return false;
    }
    if (command == L"count" || command == L"await") {
        return Count(control, id, command == L"await", probe.waitMs);
    }
    if (command == L"items") {
        return Items(control, id);
    }
    if (command == L"checked") {
        return Checked(control, id);
    }
    if (command == L"text") {
        return Text(control, id);
    }
    if (command == L"click") {
        return Click(control, id);
    }
    return Fail(L"unknown command " + command);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    Probe probe;
    int i = 1;
    for (; i + 1 < argc && argv[i][0] == L'-'; i += 2) {
        if (std::wcscmp(argv[i], L"--title") == 0) {
            probe.title = argv[i + 1];
        } else if (std::wcscmp(argv[i], L"--program") == 0) {
            probe.program = argv[i + 1];
        } else if (std::wcscmp(argv[i], L"--wait") == 0) {
            probe.waitMs = static_cast<DWORD>(std::wcstoul(argv[i + 1], nullptr, 10)) * 1000;
        } else {
            Fail(L"unknown option " + std::wstring(argv[i]));
            return 2;
        }
    }
    if (i >= argc) {
        Fail(L"usage: window_probe [--title TITLE] [--program NAME] [--wait SECONDS] COMMAND...");
        return 2;
    }
    if (!FindTheWindow(probe)) {
        return 1;
    }
    for (; i < argc; ++i) {
        if (!Run(probe, argc, argv, i)) {
            return 1;
        }
    }
    return 0;
}
