// Files and folders through the wide Windows API: attributes, folder creation and listing
// (FindFirstFileW, in the order the file system gives), the identity of a folder (volume and
// file index), and the executable's own path.
#include <windows.h>

#include "platform/folder.h"
#include "platform/paths.h"
#include "platform/system_error.h"
#include "platform/win32/wide_text.h"

namespace platform {
namespace {

// The attributes of `path` (through links), or INVALID_FILE_ATTRIBUTES.
DWORD AttributesOf(const std::string& path) {
    const auto wide = win32::WidePath(path);
    return wide ? ::GetFileAttributesW(wide->c_str()) : INVALID_FILE_ATTRIBUTES;
}

}  // namespace

bool PathExists(const std::string& path) { return AttributesOf(path) != INVALID_FILE_ATTRIBUTES; }

bool IsFolder(const std::string& path) {
    const DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool CreateFolder(const std::string& path) {
    const auto wide = win32::WidePath(path);
    if (!wide) {
        return false;
    }
    if (!::CreateDirectoryW(wide->c_str(), nullptr)) {
        win32::SetLastSystemErrorFromLastError();
        return false;
    }
    return true;
}

std::optional<FolderIdentity> IdentityOf(const std::string& path) {
    const auto wide = win32::WidePath(path);
    if (!wide) {
        return std::nullopt;
    }
    // FILE_FLAG_BACKUP_SEMANTICS opens folders as well as files.
    HANDLE handle = ::CreateFileW(wide->c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool read = ::GetFileInformationByHandle(handle, &info) != 0;
    ::CloseHandle(handle);
    if (!read) {
        return std::nullopt;
    }
    return FolderIdentity{
        info.dwVolumeSerialNumber,
        (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

std::optional<std::vector<FolderItem>> ListFolder(const std::string& folder) {
    const auto pattern = win32::WidePath(JoinPath(folder, "*"));
    if (!pattern) {
        return std::nullopt;
    }
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW(pattern->c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        win32::SetLastSystemErrorFromLastError();
        return std::nullopt;
    }
    std::vector<FolderItem> items;
    do {
        const std::wstring_view name = found.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        const bool folderItem = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        items.push_back({win32::Utf8FromWide(name), folderItem,
                         !folderItem && (found.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) == 0});
    } while (::FindNextFileW(search, &found));
    const DWORD error = ::GetLastError();
    ::FindClose(search);
    if (error != ERROR_NO_MORE_FILES) {
        win32::SetLastSystemErrorFromCode(error);
        return std::nullopt;
    }
    return items;
}

std::string ExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(),
                                                  static_cast<DWORD>(path.size()));
        if (length == 0) {
            win32::SetLastSystemErrorFromLastError();
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return win32::Utf8FromWide(path);
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace platform
