#include "host/core/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <system_error>

#include "platform/paths.h"

namespace host {
namespace {

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
    if (static_cast<std::uint64_t>(info.st_size) > maxSize) {
        result.status = ReadStatus::kTooLarge;
        return result;
    }
    // Reads up to the size the file had when it was opened; one byte more tells whether it
    // grew meanwhile (or whether it is one of the files that report a size of 0, as under /proc),
    // and then it is read on to its real end.
    std::size_t capacity = static_cast<std::size_t>(info.st_size) + 1;
    ByteBuffer buffer(capacity);
    std::size_t done = 0;
    for (;;) {
        if (done == capacity) {
            if (capacity > maxSize) {
                result.status = ReadStatus::kTooLarge;
                return result;
            }
            const std::size_t grown = capacity * 2 < maxSize + 1 ? capacity * 2 : maxSize + 1;
            ByteBuffer bigger(grown);
            std::memcpy(bigger.data(), buffer.data(), done);
            buffer = std::move(bigger);
            capacity = grown;
        }
        const ssize_t got = ::read(fd.get(), buffer.data() + done, capacity - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            result.status = ReadStatus::kReadError;
            result.reason = ErrorText(errno);
            return result;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    if (done > maxSize) {
        result.status = ReadStatus::kTooLarge;
        return result;
    }
    buffer.shrink(done);
    result.bytes = std::move(buffer);
    return result;
}

WriteResult ReplaceFileContent(const std::string& path, const unsigned char* bytes,
                               std::size_t length) {
    WriteResult result;
    // Write through a symbolic link to the file it names, as opening the path would.
    std::string target = path;
    struct stat linkInfo{};
    if (::lstat(path.c_str(), &linkInfo) == 0 && S_ISLNK(linkInfo.st_mode)) {
        if (char* resolved = ::realpath(path.c_str(), nullptr)) {
            target = resolved;
            std::free(resolved);
        }
    }
    struct stat existing{};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && (S_ISDIR(existing.st_mode) || ::access(target.c_str(), W_OK) != 0)) {
        result.status = WriteStatus::kCannotCreate;
        result.reason = ErrorText(S_ISDIR(existing.st_mode) ? EISDIR : EACCES);
        return result;
    }
    std::string folder = platform::RemoveFileName(target);
    std::string temp = platform::JoinPath(folder.empty() ? "." : folder, ".polyshift-XXXXXX");
    Descriptor fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (fd.get() < 0) {
        result.status = WriteStatus::kCannotCreate;
        result.reason = ErrorText(errno);
        return result;
    }
    int error = 0;
    const mode_t mode = exists ? (existing.st_mode & 07777) : CreationMode();
    bool ok = WriteAll(fd.get(), bytes, length, error);
    if (ok && ::fchmod(fd.get(), mode) != 0) {
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

}  // namespace host
