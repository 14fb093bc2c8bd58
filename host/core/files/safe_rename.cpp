#include "host/core/files/safe_rename.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/system_error.h"

namespace host {
namespace {

bool SameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    return ::lstat(a.c_str(), &first) == 0 && ::lstat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

bool Fail(int error) {
    platform::SetLastSystemErrorFromErrno(error);
    return false;
}

}  // namespace

bool RenameWithoutReplacing(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    const int error = errno;
    if (error == EEXIST && SameFile(from, to)) {
        // One file under two spellings: the rename only changes how its name is written.
        return ::rename(from.c_str(), to.c_str()) == 0 || Fail(errno);
    }
    if (error != EINVAL && error != ENOSYS) {
        return Fail(error);
    }
    // A file system without the no-replace rename: a hard link claims the new name only when
    // it is free; then the old name goes.
    if (::link(from.c_str(), to.c_str()) != 0) {
        return Fail(errno);
    }
    if (::unlink(from.c_str()) != 0) {
        const int unlinkError = errno;
        ::unlink(to.c_str());
        return Fail(unlinkError);
    }
    return true;
}

}  // namespace host
