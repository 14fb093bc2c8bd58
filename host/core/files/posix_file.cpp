#include "host/core/files/posix_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>

#include "host/core/files/temporary_name.h"

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

}  // namespace host::posix
