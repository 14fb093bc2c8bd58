#include "host/core/files/write_forecast.h"

#include <cerrno>
#include <system_error>

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/wide_text.h"
#else
#include <unistd.h>
#endif

#include "platform/folder.h"
#include "platform/paths.h"

namespace host {
namespace {

// What the system says for the failure `error` (an errno value), in the words the real
// operation would report it with.
std::string ErrorText(int error) {
#ifdef _WIN32
    const unsigned long code = error == EEXIST   ? ERROR_ALREADY_EXISTS
                               : error == ENOENT ? ERROR_PATH_NOT_FOUND
                               : error == EISDIR ? 336  // ERROR_DIRECTORY_NOT_SUPPORTED
                                                 : ERROR_ACCESS_DENIED;
    return platform::win32::SystemErrorText(code);
#else
    return std::generic_category().message(error);
#endif
}

// Whether a new file (or folder) could be made in the existing folder `folder`. Windows
// grants it by access lists that only an attempt tells; there the forecast assumes it can.
bool MayMakeIn(const std::string& folder) {
#ifdef _WIN32
    (void)folder;
    return true;
#else
    return ::access(folder.empty() ? "." : folder.c_str(), W_OK | X_OK) == 0;
#endif
}

bool MayWrite(const std::string& file) {
#ifdef _WIN32
    const auto wide = platform::win32::WidePath(file);
    const DWORD attributes =
        wide ? ::GetFileAttributesW(wide->c_str()) : INVALID_FILE_ATTRIBUTES;
    return attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY) == 0;
#else
    return ::access(file.c_str(), W_OK) == 0;
#endif
}

}  // namespace

std::optional<FolderFailure> ForecastCreateFolders(const std::string& folder) {
    if (folder.empty() || platform::IsFolder(folder)) {
        return std::nullopt;
    }
    const std::string parent = platform::RemoveFileName(folder);
    if (!parent.empty() && parent != folder) {
        if (auto failure = ForecastCreateFolders(parent)) {
            return failure;
        }
    }
    if (platform::PathExists(folder)) {
        return FolderFailure{folder, ErrorText(EEXIST)};  // a file where the folder would go
    }
    // The folder above stands already, or is one this forecast has let be made.
    if (platform::IsFolder(parent) && !MayMakeIn(parent)) {
        return FolderFailure{folder, ErrorText(EACCES)};
    }
    return std::nullopt;
}

WriteResult ForecastReplaceFileContent(const std::string& path, const WriteExtras& extras,
                                       bool foldersMade) {
    WriteResult result;
    const std::string folder = platform::RemoveFileName(path);
    const bool folderStands = folder.empty() || platform::IsFolder(folder);
    int refusal = 0;
    if (platform::IsFolder(path)) {
        refusal = EISDIR;
    } else if (!folderStands && !foldersMade) {
        refusal = ENOENT;
    } else if (platform::PathExists(path) && !MayWrite(path)) {
        refusal = EACCES;
    } else if (folderStands && !MayMakeIn(folder)) {
        refusal = EACCES;  // the result goes to a new file beside the target first
    }
    if (refusal != 0) {
        result.status = WriteStatus::kCannotCreate;
        result.reason = ErrorText(refusal);
        return result;
    }
    if (!extras.backupSuffix.empty() && platform::PathExists(path) &&
        platform::IsFolder(path + extras.backupSuffix)) {
        result.status = WriteStatus::kBackupFailed;
        result.backup = path + extras.backupSuffix;
        result.reason = ErrorText(EISDIR);
    }
    return result;
}

}  // namespace host
