// Dynamic libraries on Windows: LoadLibraryW on the wide full path, GetProcAddress by the
// contract's decorated name (on Windows that name is the export itself), FreeLibrary. Errors
// carry the system's own text.
#include <windows.h>

#include "platform/library.h"
#include "platform/system_error.h"
#include "platform/win32/wide_text.h"

namespace platform {

LibraryHandle LoadLibraryFile(const std::string& path) {
    // A bare name would go through the system's library search path.
    if (path.find_first_of("/\\") == std::string::npos) {
        win32::SetLastSystemErrorFromCode(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    const auto wide = win32::WidePath(path);
    if (!wide) {
        return nullptr;
    }
    // No "cannot load" box from the system: a library that does not load is reported by the
    // caller, or skipped.
    const UINT previousMode = ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE module = ::LoadLibraryExW(wide->c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    const DWORD error = ::GetLastError();
    ::SetErrorMode(previousMode);
    if (module == nullptr) {
        win32::SetLastSystemErrorFromCode(error);
    }
    return reinterpret_cast<LibraryHandle>(module);
}

std::string PlatformSymbolName(const char* decoratedName) { return decoratedName; }

void* BindEntry(LibraryHandle library, const char* decoratedName) {
    if (library == nullptr || decoratedName == nullptr) {
        win32::SetLastSystemErrorFromCode(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    FARPROC entry = ::GetProcAddress(static_cast<HMODULE>(library), decoratedName);
    if (entry == nullptr) {
        SetLastSystemError(win32::SystemErrorText(::GetLastError()) + ": " + decoratedName);
    }
    return reinterpret_cast<void*>(entry);
}

bool FreeLibraryHandle(LibraryHandle library) {
    if (library == nullptr) {
        return false;
    }
    if (!::FreeLibrary(static_cast<HMODULE>(library))) {
        win32::SetLastSystemErrorFromLastError();
        return false;
    }
    return true;
}

}  // namespace platform
