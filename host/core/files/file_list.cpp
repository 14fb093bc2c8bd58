#include "host/core/files/file_list.h"

#include <algorithm>
#include <string_view>

#include "platform/paths.h"
#include "platform/sjis_bytes.h"

namespace host {
bool PathLess(const std::string& a, const std::string& b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto x = platform::sjis::AsciiLower(static_cast<unsigned char>(a[i]));
        const auto y = platform::sjis::AsciiLower(static_cast<unsigned char>(b[i]));
        if (x != y) {
            return x < y;
        }
    }
    // Equal without regard to case up to the shorter one's end.
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

namespace {

// Windows names files without regard to case: ".GIT" there is the same folder as ".git".
bool SameName(std::string_view name, std::string_view own) {
#ifdef _WIN32
    return name.size() == own.size() &&
           std::equal(name.begin(), name.end(), own.begin(), [](char a, char b) {
               return platform::sjis::AsciiLower(static_cast<unsigned char>(a)) ==
                      platform::sjis::AsciiLower(static_cast<unsigned char>(b));
           });
#else
    return name == own;
#endif
}

}  // namespace

bool IsVersionControlFolder(const std::string& name) {
    for (const std::string_view own : {".git", ".svn", ".hg", ".bzr", "_darcs", "CVS"}) {
        if (SameName(name, own)) {
            return true;
        }
    }
    return false;
}

bool FileList::Add(const std::string& path, const std::string& folder) {
    const auto at = std::upper_bound(paths_.begin(), paths_.end(), path, PathLess);
    if (duplicates_ == Duplicates::kListOnce && at != paths_.begin() && *(at - 1) == path) {
        return false;
    }
    const auto offset = at - paths_.begin();
    paths_.insert(at, path);
    folders_.insert(folders_.begin() + offset, folder);
    return true;
}

std::size_t FileList::AddFolderRecursively(const std::string& folder) {
    std::vector<platform::FolderIdentity> inside;
    return AddFolderBelow(folder, folder, inside);
}

// `inside` holds the folders from the walk's start down to `folder`'s parent: a folder found
// among them again (through a link such as "loop -> ." or "up -> ..") would be walked forever.
std::size_t FileList::AddFolderBelow(const std::string& folder, const std::string& argument,
                                     std::vector<platform::FolderIdentity>& inside) {
    const auto identity = platform::IdentityOf(folder);
    if (!identity || std::find(inside.begin(), inside.end(), *identity) != inside.end()) {
        return 0;
    }
    auto items = platform::ListFolder(folder);
    if (!items) {
        return 0;
    }
    // In list order, almost every path lands at the end of the list: adding a large folder
    // then costs no moving of what is listed already.
    std::sort(items->begin(), items->end(),
              [](const platform::FolderItem& a, const platform::FolderItem& b) {
                  return PathLess(a.name, b.name);
              });
    inside.push_back(*identity);
    std::size_t added = 0;
    for (const auto& item : *items) {
        const std::string path = platform::JoinPath(folder, item.name);
        if (item.isFolder) {
            if (!IsVersionControlFolder(item.name)) {
                added += AddFolderBelow(path, argument, inside);
            }
        } else if (item.isFile && !SameName(item.name, ".git") && Add(path, argument)) {
            ++added;
        }
    }
    inside.pop_back();
    return added;
}

void FileList::Remove(std::size_t index) {
    if (index < paths_.size()) {
        paths_.erase(paths_.begin() + static_cast<std::ptrdiff_t>(index));
        folders_.erase(folders_.begin() + static_cast<std::ptrdiff_t>(index));
    }
}

}  // namespace host
