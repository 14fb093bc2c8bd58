#include "host/core/files/posix_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>

#include "host/core/files/temporary_name.h"
#include "host/core/files/whole_file.h"

namespace host::posix {

std::string ErrorText(int error) { return std::generic_category().message(error); }

Descriptor::~Descriptor() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool Descriptor::Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
}

mode_t CreationMode() {
    static const mode_t mode = [] {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return static_cast<mode_t>(0666 & ~mask);
    }();
    return mode;
}

int CreateTemporaryBeside(const std::string& target, mode_t mode, std::string& temp, int access) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = TemporaryNameBeside(target);
        const int fd = ::open(temp.c_str(), access | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

WriteTarget ResolveWriteTarget(const std::string& path) {
    WriteTarget target;
    target.path = path;
    target.exists = ::lstat(path.c_str(), &target.existing) == 0;
    if (target.exists && S_ISLNK(target.existing.st_mode)) {
        if (char* resolved = ::realpath(path.c_str(), nullptr)) {
            target.path = resolved;
            std::free(resolved);
        }
        target.exists = ::stat(target.path.c_str(), &target.existing) == 0;
    }
    if (target.exists &&
        (S_ISDIR(target.existing.st_mode) || ::access(target.path.c_str(), W_OK) != 0)) {
        target.refusal.status = WriteStatus::kCannotCreate;
        target.refusal.reason = ErrorText(S_ISDIR(target.existing.st_mode) ? EISDIR : EACCES);
    }
    return target;
}

int SetModificationTime(int fd, const FileTime& time) {
    const struct timespec times[2] = {
        {0, UTIME_OMIT},
        {static_cast<time_t>(time.ticks / 1000000000), static_cast<long>(time.ticks % 1000000000)},
    };
    return ::futimens(fd, times) == 0 ? 0 : errno;
}

namespace {

// Copies the file open as `from` into the new file open as `to`; 0, or the error.
int CopyContent(int from, int to) {
    char chunk[1 << 16];
    for (;;) {
        const ssize_t got = ::read(from, chunk, sizeof chunk);
        if (got == 0) {
            return 0;
        }
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(to, chunk + done, static_cast<std::size_t>(got - done));
            if (put < 0 && errno != EINTR) {
                return errno;
            }
            done += put > 0 ? put : 0;
        }
    }
}

// A copy of `target` in a new file beside `backup`, with the target's permissions and
// modification time; its path goes to `temp`.
int CopyForBackup(const std::string& target, const struct stat& existing,
                  const std::string& backup, std::string& temp) {
    const mode_t mode = existing.st_mode & 07777;
    Descriptor to(CreateTemporaryBeside(backup, mode, temp, O_WRONLY));
    if (to.get() < 0) {
        return errno;
    }
    Descriptor from(::open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
    int error = from.get() < 0 ? errno : CopyContent(from.get(), to.get());
    if (error == 0 && ::fchmod(to.get(), mode) != 0) {
        error = errno;
    }
    if (error == 0) {
        const struct timespec times[2] = {existing.st_atim, existing.st_mtim};
        error = ::futimens(to.get(), times) == 0 ? 0 : errno;
    }
    if (!to.Close() && error == 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temp.c_str());
    }
    return error;
}

}  // namespace

int KeepAsBackup(const std::string& target, const struct stat& existing,
                 const std::string& backup) {
    // The second name is made beside the backup and then moved over it: an earlier backup is
    // replaced in one step, and is never lost to a backup that fails half-way.
    std::string temp;
    int error = EEXIST;
    for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
        temp = TemporaryNameBeside(backup);
        error = ::link(target.c_str(), temp.c_str()) == 0 ? 0 : errno;
    }
    if (error != 0) {
        // No second link here (a file system without them, a file of someone else's): a copy.
        if (const int copyError = CopyForBackup(target, existing, backup, temp); copyError != 0) {
            return copyError;
        }
    }
    error = ::rename(temp.c_str(), backup.c_str()) == 0 ? 0 : errno;
    // Also after a rename that did nothing because the backup was a link to the file already.
    ::unlink(temp.c_str());
    return error;
}

WriteResult BackUpReplaced(const WriteTarget& target, const std::string& suffix) {
    WriteResult result;
    if (!target.exists || suffix.empty()) {
        return result;
    }
    const std::string backup = target.path + suffix;
    if (const int error = KeepAsBackup(target.path, target.existing, backup); error != 0) {
        result.status = WriteStatus::kBackupFailed;
        result.reason = ErrorText(error);
        result.backup = backup;
    }
    return result;
}

}  // namespace host::posix
