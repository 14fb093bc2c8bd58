#include "host/core/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <random>
#include <system_error>

#include "host/core/read_to_end.h"
#include "platform/paths.h"

namespace host {
namespace {

// Files from this size on are mapped: below it a read costs less than setting up a mapping.
constexpr std::uint64_t kMapFrom = std::uint64_t{256} << 10;

std::string ErrorText(int error) { return std::generic_category().message(error); }

// Closes a descriptor on every exit.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }
    // Closes now and reports whether that worked (a late write error shows up here).
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

mode_t CreationMode() {
    // The mode a newly created file gets under this process's umask.
    static const mode_t mode = [] {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return static_cast<mode_t>(0666 & ~mask);
    }();
    return mode;
}

// Creates a new file named ".polyshift-" and six random characters in the folder of
// `target`, with `mode` (under the umask); its path goes to `temp`. -1 with errno on failure.
int CreateTemporaryBeside(const std::string& target, mode_t mode, std::string& temp) {
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::minstd_rand random(std::random_device{}());
    const std::string folder = platform::RemoveFileName(target);
    const std::string stem = platform::JoinPath(folder.empty() ? "." : folder, ".polyshift-");
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = stem;
        for (int i = 0; i < 6; ++i) {
            temp += kLetters[random() % (sizeof kLetters - 1)];
        }
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

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
                  WriteResult& result) {
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
    if (!WriteAll(fd.get(), bytes, length, error) || !fd.Close()) {
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

ReadResult ReadWholeFile(const std::string& path, std::uint64_t maxSize) {
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

WriteResult ReplaceFileContent(const std::string& path, const unsigned char* bytes,
                               std::size_t length, bool probablyNew) {
    WriteResult result;
    if (probablyNew && WriteNewFile(path, bytes, length, result)) {
        return result;
    }
    // Write through a symbolic link to the file it names, as opening the path would.
    std::string target = path;
    struct stat existing{};
    bool exists = ::lstat(path.c_str(), &existing) == 0;
    if (exists && S_ISLNK(existing.st_mode)) {
        if (char* resolved = ::realpath(path.c_str(), nullptr)) {
            target = resolved;
            std::free(resolved);
        }
        exists = ::stat(target.c_str(), &existing) == 0;
    }
    if (exists && (S_ISDIR(existing.st_mode) || ::access(target.c_str(), W_OK) != 0)) {
        result.status = WriteStatus::kCannotCreate;
        result.reason = ErrorText(S_ISDIR(existing.st_mode) ? EISDIR : EACCES);
        return result;
    }
    // Something that appeared there meanwhile (or a link that leads nowhere) is replaced.
    if (!exists && WriteNewFile(target, bytes, length, result)) {
        return result;
    }
    // A new file gets the usual mode, a replaced one keeps its own; the temporary file is
    // created with it, and changed only where the umask took bits away.
    const mode_t mode = exists ? (existing.st_mode & 07777) : CreationMode();
    std::string temp;
    Descriptor fd(CreateTemporaryBeside(target, mode, temp));
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
    if (ok && !fd.Close()) {
        error = errno;
        ok = false;
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
