#include "host/core/files/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <system_error>

#include "host/core/files/posix_file.h"
#include "host/core/files/read_to_end.h"
#include "platform/paths.h"

namespace host {
namespace {

// Files from this size on are mapped: below it a read costs less than setting up a mapping.
constexpr std::uint64_t kMapFrom = std::uint64_t{256} << 10;

using posix::CreateTemporaryBeside;
using posix::CreationMode;
using posix::Descriptor;
using posix::ErrorText;

bool WriteAll(int fd, const unsigned char* bytes, std::size_t length, int& error) {
    while (length > 0) {
        const std::size_t chunk = length < (std::size_t{1} << 30) ? length : (std::size_t{1} << 30);
        const ssize_t written = ::write(fd, bytes, chunk);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = errno;
            return false;
        }
        bytes += written;
        length -= static_cast<std::size_t>(written);
    }
    return true;
}

// Nothing to keep safe for a new file: it is written in place, and removed if that fails.
// False when something is there already (`result` untouched); true when the file was
// written or could not be, as `result` says.
bool WriteNewFile(const std::string& path, const unsigned char* bytes, std::size_t length,
                  const std::optional<FileTime>& modified, WriteResult& result) {
    Descriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (fd.get() < 0) {
        if (errno == EEXIST) {
            return false;
        }
        result.status = WriteStatus::kCannotCreate;
        result.reason = ErrorText(errno);
        return true;
    }
    int error = 0;
    if (!WriteAll(fd.get(), bytes, length, error) ||
        (modified && (error = posix::SetModificationTime(fd.get(), *modified)) != 0) ||
        !fd.Close()) {
        error = error != 0 ? error : errno;
        ::unlink(path.c_str());
        result.status = WriteStatus::kWriteError;
        result.reason = ErrorText(error);
    }
    return true;
}

// Reads `fd` to its end into `buffer`, expecting about `expected` bytes (read_to_end.h).
bool ReadToEnd(int fd, std::uint64_t expected, std::uint64_t maxSize, ByteBuffer& buffer,
               ReadResult& result) {
    return ReadToEnd(expected, maxSize, buffer, result,
                     [&](unsigned char* destination, std::size_t room) -> long long {
                         for (;;) {
                             const ssize_t got = ::read(fd, destination, room);
                             if (got >= 0) {
                                 return got;
                             }
                             if (errno != EINTR) {
                                 result.status = ReadStatus::kReadError;
                                 result.reason = ErrorText(errno);
                                 return -1;
                             }
                         }
                     });
}

}  // namespace

namespace {

// Maps or reads the file open at `fd`, described by `info`. `atStart`: the descriptor was
// just opened, so it stands at the file's start.
ReadResult ReadOpened(int fd, const struct stat& info, std::uint64_t maxSize, bool atStart) {
    ReadResult result;
    if (static_cast<std::uint64_t>(info.st_size) > maxSize) {
        result.status = ReadStatus::kTooLarge;
        return result;
    }
    // A regular file is mapped only from its start: a descriptor of standard input may stand
    // anywhere in it.
    const off_t offset = !S_ISREG(info.st_mode) ? -1 : atStart ? 0 : ::lseek(fd, 0, SEEK_CUR);
    if (offset == 0 && static_cast<std::uint64_t>(info.st_size) >= kMapFrom) {
        if (auto mapping = GuardedMapping::Map(fd, static_cast<std::size_t>(info.st_size))) {
            result.bytes = SourceBytes(std::move(*mapping));
            return result;
        }
    }
    ByteBuffer buffer;
    if (!ReadToEnd(fd, offset > 0 && offset < info.st_size ? info.st_size - offset : info.st_size,
                   maxSize, buffer, result)) {
        return result;
    }
    result.bytes = SourceBytes(std::move(buffer));
    return result;
}

}  // namespace

// A mapped file may be replaced here: what is written does not matter.
ReadResult ReadWholeFile(const std::string& path, std::uint64_t maxSize,
                         std::span<const std::string> /*written*/) {
    ReadResult result;
    // Without O_NONBLOCK, opening a named pipe would wait for a writer, perhaps forever; only
    // a regular file is read at all.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    struct stat info{};
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0) {
        result.status = ReadStatus::kCannotOpen;
        result.reason = ErrorText(errno);
        return result;
    }
    if (!S_ISREG(info.st_mode)) {
        result.status = ReadStatus::kCannotOpen;
        result.reason = S_ISDIR(info.st_mode) ? ErrorText(EISDIR) : "not a regular file";
        return result;
    }
    return ReadOpened(fd.get(), info, maxSize, true);
}

ReadResult ReadWholeDescriptor(int fd, std::uint64_t maxSize) {
    struct stat info{};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        ReadResult result;
        result.status = ReadStatus::kCannotOpen;
        result.reason = ErrorText(S_ISDIR(info.st_mode) ? EISDIR : errno);
        return result;
    }
    return ReadOpened(fd, info, maxSize, false);
}

std::optional<FileTime> ModificationTimeOf(const std::string& path) {
    struct stat info{};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return FileTime{static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 +
                    info.st_mtim.tv_nsec};
}

WriteResult ReplaceFileContent(const std::string& path, const unsigned char* bytes,
                               std::size_t length, bool probablyNew, const WriteExtras& extras) {
    WriteResult result;
    if (probablyNew && WriteNewFile(path, bytes, length, extras.modified, result)) {
        return result;
    }
    // Write through a symbolic link to the file it names, as opening the path would.
    const posix::WriteTarget resolved = posix::ResolveWriteTarget(path);
    if (resolved.refusal.status != WriteStatus::kOk) {
        return resolved.refusal;
    }
    const std::string& target = resolved.path;
    const bool exists = resolved.exists;
    const struct stat& existing = resolved.existing;
    // Something that appeared there meanwhile (or a link that leads nowhere) is replaced.
    if (!exists && WriteNewFile(target, bytes, length, extras.modified, result)) {
        return result;
    }
    // A new file gets the usual mode, a replaced one keeps its own; the temporary file is
    // created with it, and changed only where the umask took bits away.
    const mode_t mode = exists ? (existing.st_mode & 07777) : CreationMode();
    std::string temp;
    Descriptor fd(CreateTemporaryBeside(target, mode, temp, O_WRONLY));
    if (fd.get() < 0) {
        result.status = WriteStatus::kCannotCreate;
        result.reason = ErrorText(errno);
        return result;
    }
    int error = 0;
    bool ok = WriteAll(fd.get(), bytes, length, error);
    if (ok && (mode & ~CreationMode() & 07777) != 0 && ::fchmod(fd.get(), mode) != 0) {
        error = errno;
        ok = false;
    }
    if (ok && extras.modified && (error = posix::SetModificationTime(fd.get(), *extras.modified))) {
        ok = false;
    }
    if (ok && !fd.Close()) {
        error = errno;
        ok = false;
    }
    if (ok) {
        const WriteResult backup = posix::BackUpReplaced(resolved, extras.backupSuffix);
        if (backup.status != WriteStatus::kOk) {
            ::unlink(temp.c_str());
            return backup;
        }
    }
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
        error = errno;
        ok = false;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        result.status = WriteStatus::kWriteError;
        result.reason = ErrorText(error);
    }
    return result;
}

WriteResult WriteToDescriptor(int fd, const unsigned char* bytes, std::size_t length) {
    WriteResult result;
    int error = 0;
    if (!WriteAll(fd, bytes, length, error)) {
        result.status = WriteStatus::kWriteError;
        result.reason = ErrorText(error);
    }
    return result;
}

}  // namespace host
