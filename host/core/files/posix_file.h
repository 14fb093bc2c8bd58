// Small pieces of POSIX file handling shared by the whole-file reads and writes and by result
// files: a descriptor closed on every exit, the creation mode, temporary files beside a
// target, and the target a write through a path really reaches.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <string>

#include "host/core/files/whole_file.h"

namespace host::posix {

std::string ErrorText(int error);

// Closes a descriptor on every exit.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(Descriptor&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor();
    int get() const { return fd_; }
    // Closes now and reports whether that worked (a late write error shows up here).
    bool Close();

private:
    int fd_;
};

// The mode a newly created file gets under this process's umask.
mode_t CreationMode();

// Creates a new file named ".polyshift-" and six random characters in the folder of
// `target`, opened with `access` (O_WRONLY or O_RDWR) and created with `mode` (under the
// umask); its path goes to `temp`. -1 with errno on failure.
int CreateTemporaryBeside(const std::string& target, mode_t mode, std::string& temp, int access);

// Where a write to `path` lands: through a symbolic link, the file it names. `exists` and
// `existing` describe what is there. A folder or a file this process may not write is
// refused with kCannotCreate in `refusal`.
struct WriteTarget {
    std::string path;
    bool exists = false;
    struct stat existing{};
    WriteResult refusal;
};
WriteTarget ResolveWriteTarget(const std::string& path);

// Gives the open file `fd` the modification time `time`; 0, or the error.
int SetModificationTime(int fd, const FileTime& time);

// Keeps the file at `target` (described by `existing`) under the name `backup` as well,
// replacing what had that name: a second link to the same file where the file system allows
// it, else a copy with the file's permissions and modification time. 0, or the error; a
// failure leaves no trace.
int KeepAsBackup(const std::string& target, const struct stat& existing,
                 const std::string& backup);

// The backup that `suffix` asks for of the file a write replaces (none when nothing is there
// or the suffix is empty): kOk, or kBackupFailed naming the backup.
WriteResult BackUpReplaced(const WriteTarget& target, const std::string& suffix);

}  // namespace host::posix
