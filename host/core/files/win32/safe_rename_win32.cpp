// Renaming without replacing on Windows: MoveFileExW without MOVEFILE_REPLACE_EXISTING fails
// when the new name is taken, which is exactly the rule. A name that differs from the old one
// only in case names the same file and is renamed, by way of a free temporary name: some
// systems (Wine among them) answer the direct move with success and keep the old spelling.
#include <windows.h>

#include <string>

#include "host/core/files/safe_rename.h"
#include "platform/system_error.h"
#include "platform/win32/wide_text.h"

namespace host {
namespace {

bool OnlyCaseDiffers(const std::wstring& a, const std::wstring& b) {
    return a != b && ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                            static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

bool MoveByWayOfAFreeName(const std::wstring& from, const std::wstring& to) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::wstring free = from + L".polyshift-case-" + std::to_wstring(attempt);
        if (::MoveFileExW(from.c_str(), free.c_str(), 0)) {
            if (::MoveFileExW(free.c_str(), to.c_str(), 0)) {
                return true;
            }
            const DWORD error = ::GetLastError();
            ::MoveFileExW(free.c_str(), from.c_str(), 0);
            ::SetLastError(error);
            return false;
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) {
            return false;
        }
    }
    return false;
}

}  // namespace

bool RenameWithoutReplacing(const std::string& from, const std::string& to) {
    const auto wideFrom = platform::win32::WidePath(from);
    const auto wideTo = platform::win32::WidePath(to);
    if (!wideFrom || !wideTo) {
        return false;
    }
    const bool moved = OnlyCaseDiffers(*wideFrom, *wideTo)
                           ? MoveByWayOfAFreeName(*wideFrom, *wideTo)
                           : ::MoveFileExW(wideFrom->c_str(), wideTo->c_str(), 0) != 0;
    if (!moved) {
        platform::win32::SetLastSystemErrorFromLastError();
    }
    return moved;
}

}  // namespace host
