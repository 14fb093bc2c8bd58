// Whole-file reads and safe whole-file writes on Windows, through the wide API.
//
// Files of some size are mapped, as elsewhere, unless the caller will write over them while it
// holds their bytes: Windows will not replace or delete a file while a view of it is mapped.
// Such a file, and anything small, is read into memory. A write goes to a temporary file
// beside the target, which MoveFileExW then puts in the target's place in one step; the
// replaced file's attributes (hidden, system, ...) carry over. A read-only target is refused, as the system would refuse
// to open it for writing. A backup of the replaced file is a copy of it (CopyFileW), made
// just before the move.
#include <io.h>
#include <windows.h>

#include <cstring>

#include "host/core/files/read_to_end.h"
#include "host/core/files/temporary_name.h"
#include "host/core/files/whole_file.h"
#include "platform/win32/wide_text.h"

namespace host {
namespace {

using platform::win32::SystemErrorText;

// "An operation is not supported on a directory." (older headers lack the name).
constexpr DWORD kErrorIsFolder = 336;
// Files from this size on are mapped: below it a read costs less than setting up a mapping.
constexpr std::uint64_t kMapFrom = std::uint64_t{256} << 10;
using platform::win32::WidePath;

// Closes a handle on every exit.
class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() { Close(); }
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    bool Close() {
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return handle == INVALID_HANDLE_VALUE || ::CloseHandle(handle);
    }

private:
    HANDLE handle_;
};

bool WriteAll(HANDLE file, const unsigned char* bytes, std::size_t length, DWORD& error) {
    while (length > 0) {
        const DWORD chunk = length < (std::size_t{1} << 30) ? static_cast<DWORD>(length) : 1u << 30;
        DWORD written = 0;
        if (!::WriteFile(file, bytes, chunk, &written, nullptr)) {
            error = ::GetLastError();
            return false;
        }
        bytes += written;
        length -= written;
    }
    return true;
}

// Reads `file` to its end, expecting about `expected` bytes (read_to_end.h).
bool ReadToEnd(HANDLE file, std::uint64_t expected, std::uint64_t maxSize, ByteBuffer& buffer,
               ReadResult& result) {
    return ReadToEnd(expected, maxSize, buffer, result,
                     [&](unsigned char* destination, std::size_t room) -> long long {
                         DWORD got = 0;
                         const DWORD ask = room < (std::size_t{1} << 30)
                                               ? static_cast<DWORD>(room)
                                               : DWORD{1} << 30;
                         if (::ReadFile(file, destination, ask, &got, nullptr)) {
                             return got;
                         }
                         const DWORD error = ::GetLastError();
                         if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) {
                             return 0;  // the writing end of a pipe closed: its end
                         }
                         result.status = ReadStatus::kReadError;
                         result.reason = SystemErrorText(error);
                         return -1;
                     });
}

// True when `path` names the file that `info` describes, or when that cannot be told: by any
// name (in other case, through a link, by another hard link).
bool MayBeSameFile(const BY_HANDLE_FILE_INFORMATION& info, const std::string& path) {
    const auto wide = WidePath(path);
    if (!wide) {
        return false;  // no file can have such a name
    }
    Handle other(::CreateFileW(wide->c_str(), 0,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!other.valid()) {
        const DWORD error = ::GetLastError();
        return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
    }
    BY_HANDLE_FILE_INFORMATION otherInfo{};
    if (!::GetFileInformationByHandle(other.get(), &otherInfo)) {
        return true;
    }
    return otherInfo.dwVolumeSerialNumber == info.dwVolumeSerialNumber &&
           otherInfo.nFileIndexHigh == info.nFileIndexHigh &&
           otherInfo.nFileIndexLow == info.nFileIndexLow;
}

// True when a view of the file open as `file` (named `path`) would stand in the way of
// writing one of `written`.
bool WrittenOver(HANDLE file, const std::string& path, std::span<const std::string> written) {
    if (written.empty()) {
        return false;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(file, &info)) {
        return true;
    }
    for (const std::string& other : written) {
        if (other == path || MayBeSameFile(info, other)) {
            return true;
        }
    }
    return false;
}

// Maps or reads `file`. Only a file opened by name (`path`, else null) is mapped, and only
// when none of `written` is the same file.
ReadResult ReadOpened(HANDLE file, std::uint64_t maxSize, const std::string* path,
                      std::span<const std::string> written) {
    ReadResult result;
    LARGE_INTEGER size{};
    const bool disk = ::GetFileType(file) == FILE_TYPE_DISK;
    if (disk && !::GetFileSizeEx(file, &size)) {
        result.status = ReadStatus::kCannotOpen;
        result.reason = SystemErrorText(::GetLastError());
        return result;
    }
    if (static_cast<std::uint64_t>(size.QuadPart) > maxSize) {
        result.status = ReadStatus::kTooLarge;
        return result;
    }
    if (path != nullptr && disk && static_cast<std::uint64_t>(size.QuadPart) >= kMapFrom &&
        !WrittenOver(file, *path, written)) {
        if (auto mapping =
                GuardedMapping::MapHandle(file, static_cast<std::size_t>(size.QuadPart))) {
            result.bytes = SourceBytes(std::move(*mapping));
            return result;
        }
    }
    ByteBuffer buffer;
    if (ReadToEnd(file, static_cast<std::uint64_t>(size.QuadPart), maxSize, buffer, result)) {
        result.bytes = SourceBytes(std::move(buffer));
    }
    return result;
}

FILETIME AsFileTime(const FileTime& time) {
    FILETIME file{};
    file.dwLowDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(time.ticks) & 0xFFFFFFFFu);
    file.dwHighDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(time.ticks) >> 32);
    return file;
}

// Writes every byte and gives the file the time asked for, if any.
bool WriteAllAndTime(HANDLE file, const unsigned char* bytes, std::size_t length,
                     const std::optional<FileTime>& modified, DWORD& error) {
    if (!WriteAll(file, bytes, length, error)) {
        return false;
    }
    if (modified) {
        const FILETIME time = AsFileTime(*modified);
        if (!::SetFileTime(file, nullptr, nullptr, &time)) {
            error = ::GetLastError();
            return false;
        }
    }
    return true;
}

// Keeps the file at `target` under its name plus `suffix` (an earlier backup replaced), with
// its content, attributes and times.
WriteResult BackUpReplaced(const std::string& target, const std::wstring& wideTarget,
                           const std::string& suffix) {
    WriteResult result;
    if (suffix.empty()) {
        return result;
    }
    const std::string backup = target + suffix;
    const auto wideBackup = WidePath(backup);
    if (!wideBackup) {
        result.reason = SystemErrorText(ERROR_NO_UNICODE_TRANSLATION);
    } else if (!::CopyFileW(wideTarget.c_str(), wideBackup->c_str(), FALSE)) {
        result.reason = SystemErrorText(::GetLastError());
    } else {
        return result;
    }
    result.status = WriteStatus::kBackupFailed;
    result.backup = backup;
    return result;
}

// A new file, written in place and removed again if that fails. False when something is
// there already (`result` untouched); true when the file was written or could not be.
bool WriteNewFile(const std::wstring& path, const unsigned char* bytes, std::size_t length,
                  const std::optional<FileTime>& modified, WriteResult& result) {
    Handle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) {
            return false;
        }
        result.status = WriteStatus::kCannotCreate;
        result.reason = SystemErrorText(error);
        return true;
    }
    DWORD error = ERROR_SUCCESS;
    if (!WriteAllAndTime(file.get(), bytes, length, modified, error) || !file.Close()) {
        error = error != ERROR_SUCCESS ? error : ::GetLastError();
        file.Close();
        ::DeleteFileW(path.c_str());
        result.status = WriteStatus::kWriteError;
        result.reason = SystemErrorText(error);
    }
    return true;
}

// Creates ".polyshift-" and six random characters beside `target`; its path goes to `temp`.
Handle CreateTemporaryBeside(const std::string& target, std::wstring& temp, DWORD& error) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto wide = WidePath(TemporaryNameBeside(target));
        if (!wide) {
            error = ERROR_NO_UNICODE_TRANSLATION;
            return Handle(INVALID_HANDLE_VALUE);
        }
        temp = *wide;
        HANDLE file = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        error = file == INVALID_HANDLE_VALUE ? ::GetLastError() : ERROR_SUCCESS;
        if (file != INVALID_HANDLE_VALUE || error != ERROR_FILE_EXISTS) {
            return Handle(file);
        }
    }
    return Handle(INVALID_HANDLE_VALUE);
}

// The file a symbolic link leads to, as a path; `path` itself for anything else.
std::string ThroughLinks(const std::string& path, const std::wstring& wide) {
    Handle file(::CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE |
                              FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid()) {
        return path;
    }
    std::wstring final(MAX_PATH, L'\0');
    DWORD length = ::GetFinalPathNameByHandleW(file.get(), final.data(),
                                               static_cast<DWORD>(final.size()), 0);
    if (length >= final.size()) {
        final.resize(length + 1);
        length = ::GetFinalPathNameByHandleW(file.get(), final.data(),
                                             static_cast<DWORD>(final.size()), 0);
    }
    if (length == 0 || length >= final.size()) {
        return path;
    }
    final.resize(length);
    return platform::win32::Utf8FromWide(final);
}

WriteResult Refused(WriteStatus status, DWORD error) {
    return WriteResult{status, SystemErrorText(error)};
}

}  // namespace

ReadResult ReadWholeFile(const std::string& path, std::uint64_t maxSize,
                         std::span<const std::string> written) {
    ReadResult result;
    result.status = ReadStatus::kCannotOpen;
    const auto wide = WidePath(path);
    if (!wide) {
        result.reason = SystemErrorText(ERROR_NO_UNICODE_TRANSLATION);
        return result;
    }
    const DWORD attributes = ::GetFileAttributesW(wide->c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        result.reason = SystemErrorText(kErrorIsFolder);
        return result;
    }
    Handle file(::CreateFileW(wide->c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid()) {
        result.reason = SystemErrorText(::GetLastError());
        return result;
    }
    // Only a file on a disk: a device or a pipe opened by name might never end.
    if (::GetFileType(file.get()) != FILE_TYPE_DISK) {
        result.reason = "not a regular file";
        return result;
    }
    return ReadOpened(file.get(), maxSize, &path, written);
}

ReadResult ReadWholeDescriptor(int fd, std::uint64_t maxSize) {
    const auto file = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
    if (file == INVALID_HANDLE_VALUE) {
        ReadResult result;
        result.status = ReadStatus::kCannotOpen;
        result.reason = SystemErrorText(ERROR_INVALID_HANDLE);
        return result;
    }
    // Standard input may be a file the run replaces: it is read, never mapped.
    return ReadOpened(file, maxSize, nullptr, {});
}

std::optional<FileTime> ModificationTimeOf(const std::string& path) {
    const auto wide = WidePath(path);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!wide || !::GetFileAttributesExW(wide->c_str(), GetFileExInfoStandard, &data)) {
        return std::nullopt;
    }
    return FileTime{static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
        data.ftLastWriteTime.dwLowDateTime)};
}

WriteResult ReplaceFileContent(const std::string& path, const unsigned char* bytes,
                               std::size_t length, bool probablyNew, const WriteExtras& extras) {
    WriteResult result;
    const auto wide = WidePath(path);
    if (!wide) {
        return Refused(WriteStatus::kCannotCreate, ERROR_NO_UNICODE_TRANSLATION);
    }
    if (probablyNew && WriteNewFile(*wide, bytes, length, extras.modified, result)) {
        return result;
    }
    DWORD attributes = ::GetFileAttributesW(wide->c_str());
    std::string target = path;
    std::wstring wideTarget = *wide;
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        target = ThroughLinks(path, *wide);
        wideTarget = WidePath(target).value_or(*wide);
        attributes = ::GetFileAttributesW(wideTarget.c_str());
    }
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return Refused(WriteStatus::kCannotCreate, kErrorIsFolder);
    }
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return Refused(WriteStatus::kCannotCreate, ERROR_ACCESS_DENIED);
    }
    if (!exists && WriteNewFile(wideTarget, bytes, length, extras.modified, result)) {
        return result;
    }
    std::wstring temp;
    DWORD error = ERROR_SUCCESS;
    Handle file = CreateTemporaryBeside(target, temp, error);
    if (!file.valid()) {
        return Refused(WriteStatus::kCannotCreate, error);
    }
    bool ok = WriteAllAndTime(file.get(), bytes, length, extras.modified, error);
    if (ok && !file.Close()) {
        error = ::GetLastError();
        ok = false;
    }
    file.Close();
    if (ok && exists) {
        const WriteResult backup = BackUpReplaced(target, wideTarget, extras.backupSuffix);
        if (backup.status != WriteStatus::kOk) {
            ::DeleteFileW(temp.c_str());
            return backup;
        }
    }
    if (ok && !::MoveFileExW(temp.c_str(), wideTarget.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        error = ::GetLastError();
        ok = false;
    }
    if (!ok) {
        ::DeleteFileW(temp.c_str());
        return Refused(WriteStatus::kWriteError, error);
    }
    if (exists && (attributes & ~FILE_ATTRIBUTE_NORMAL) != 0) {
        ::SetFileAttributesW(wideTarget.c_str(), attributes & ~FILE_ATTRIBUTE_REPARSE_POINT);
    }
    return result;
}

WriteResult WriteToDescriptor(int fd, const unsigned char* bytes, std::size_t length) {
    const auto file = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
    DWORD error = ERROR_INVALID_HANDLE;
    if (file == INVALID_HANDLE_VALUE || !WriteAll(file, bytes, length, error)) {
        return Refused(WriteStatus::kWriteError, error);
    }
    return {};
}

}  // namespace host
