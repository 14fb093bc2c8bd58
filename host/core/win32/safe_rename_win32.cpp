// Renaming without replacing on Windows: MoveFileExW without MOVEFILE_REPLACE_EXISTING fails
// when the new name is taken, which is exactly the rule. A name that differs from the old one
// only in case names the same file and is renamed.
#include <windows.h>

#include "host/core/safe_rename.h"
#include "platform/system_error.h"
#include "platform/win32/wide_text.h"

namespace host {

bool RenameWithoutReplacing(const std::string& from, const std::string& to) {
    const auto wideFrom = platform::win32::WidePath(from);
    const auto wideTo = platform::win32::WidePath(to);
    if (!wideFrom || !wideTo) {
        return false;
    }
    if (!::MoveFileExW(wideFrom->c_str(), wideTo->c_str(), 0)) {
        platform::win32::SetLastSystemErrorFromLastError();
        return false;
    }
    return true;
}

}  // namespace host
