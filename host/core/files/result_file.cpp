#include "host/core/files/result_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>

#include "host/core/files/posix_file.h"

namespace host {

std::unique_ptr<ResultFile> ResultFile::Create(const std::string& target, std::size_t room) {
    if (room == 0) {
        return nullptr;
    }
    std::string temp;
    const int fd = posix::CreateTemporaryBeside(target, 0600, temp, O_RDWR);
    if (fd < 0) {
        return nullptr;
    }
    // fallocate proper, not its emulation: writing zeros first would cost what mapping saves.
    void* bytes = MAP_FAILED;
    if (::fallocate(fd, 0, 0, static_cast<off_t>(room)) == 0) {
        bytes = ::mmap(nullptr, room, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    }
    if (bytes == MAP_FAILED) {
        ::close(fd);
        ::unlink(temp.c_str());
        return nullptr;
    }
    return std::unique_ptr<ResultFile>(
        new ResultFile(fd, std::move(temp), static_cast<unsigned char*>(bytes), room));
}

ResultFile::ResultFile(int fd, std::string temp, unsigned char* bytes, std::size_t room)
    : fd_(fd), temp_(std::move(temp)), bytes_(bytes), room_(room) {}

ResultFile::~ResultFile() {
    Unmap();
    if (fd_ >= 0) {
        ::close(fd_);
    }
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
    }
}

void ResultFile::Unmap() {
    if (bytes_ != nullptr) {
        ::munmap(bytes_, room_);
        bytes_ = nullptr;
    }
}

WriteResult ResultFile::Commit(const std::string& path, std::size_t length,
                               const WriteExtras& extras) {
    const posix::WriteTarget target = posix::ResolveWriteTarget(path);
    if (target.refusal.status != WriteStatus::kOk) {
        return target.refusal;
    }
    // A new file gets the usual mode, a replaced one keeps its own.
    const mode_t mode = target.exists ? (target.existing.st_mode & 07777) : posix::CreationMode();
    int error = 0;
    if (::ftruncate(fd_, static_cast<off_t>(length)) != 0 || ::fchmod(fd_, mode) != 0) {
        error = errno;
    }
    if (error == 0 && extras.modified) {
        error = posix::SetModificationTime(fd_, *extras.modified);
    }
    if (error == 0) {
        const WriteResult backup = posix::BackUpReplaced(target, extras.backupSuffix);
        if (backup.status != WriteStatus::kOk) {
            return backup;  // the temporary file goes with this result
        }
    }
    if (error == 0 && ::rename(temp_.c_str(), target.path.c_str()) != 0) {
        error = errno;
    }
    if (error == EXDEV) {
        // A name in another file system (a function renamed the result there): written anew.
        return ReplaceFileContent(target.path, bytes_, length, false, extras);
    }
    if (error == 0) {
        temp_.clear();
    }
    Unmap();
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    WriteResult result;
    if (error != 0) {
        result.status = WriteStatus::kWriteError;
        result.reason = posix::ErrorText(error);
    }
    return result;
}

std::span<unsigned char> ResultFileRoom::RoomFor(std::size_t size) {
    if (size > inputSize_ + inputSize_ / 2) {
        return {};
    }
    file_ = ResultFile::Create(target_, size);
    return file_ ? std::span<unsigned char>(file_->data(), size) : std::span<unsigned char>();
}

}  // namespace host
