#include "platform/folder.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "platform/system_error.h"

namespace platform {

bool PathExists(const std::string& path) {
    struct stat info{};
    return ::stat(path.c_str(), &info) == 0;
}

bool IsFolder(const std::string& path) {
    struct stat info{};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool CreateFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0777) != 0) {
        SetLastSystemErrorFromErrno(errno);
        return false;
    }
    return true;
}

std::optional<FolderIdentity> IdentityOf(const std::string& path) {
    struct stat info{};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return FolderIdentity{static_cast<unsigned long long>(info.st_dev),
                          static_cast<unsigned long long>(info.st_ino)};
}

std::optional<std::vector<FolderItem>> ListFolder(const std::string& folder) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), &::closedir);
    if (!dir) {
        SetLastSystemErrorFromErrno(errno);
        return std::nullopt;
    }
    std::vector<FolderItem> items;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir.get());
        if (entry == nullptr) {
            if (errno != 0) {
                SetLastSystemErrorFromErrno(errno);
                return std::nullopt;
            }
            break;
        }
        const std::string name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        FolderItem item{name, entry->d_type == DT_DIR, entry->d_type == DT_REG};
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            // What a link leads to; a dangling link is neither.
            struct stat info{};
            if (::stat((folder + "/" + name).c_str(), &info) == 0) {
                item.isFolder = S_ISDIR(info.st_mode);
                item.isFile = S_ISREG(info.st_mode);
            }
        }
        items.push_back(std::move(item));
    }
    return items;
}

std::string ExecutablePath() {
    std::string path(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0) {
        SetLastSystemErrorFromErrno(errno);
        return {};
    }
    path.resize(static_cast<std::size_t>(length));
    return path;
}

}  // namespace platform
