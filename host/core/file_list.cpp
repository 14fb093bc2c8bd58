#include "host/core/file_list.h"

#include <algorithm>

#include "platform/paths.h"
#include "platform/sjis_bytes.h"

namespace host {
namespace {

bool FoldedLess(char x, char y) {
    return platform::sjis::AsciiLower(static_cast<unsigned char>(x)) <
           platform::sjis::AsciiLower(static_cast<unsigned char>(y));
}

}  // namespace

bool PathLess(const std::string& a, const std::string& b) {
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), FoldedLess)) {
        return true;
    }
    const bool reverse =
        std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), FoldedLess);
    return !reverse && a < b;
}

bool FileList::Add(const std::string& path) {
    const auto at = std::lower_bound(paths_.begin(), paths_.end(), path, PathLess);
    if (at != paths_.end() && *at == path) {
        return false;
    }
    paths_.insert(at, path);
    return true;
}

std::size_t FileList::AddFolderRecursively(const std::string& folder) {
    std::vector<platform::FolderIdentity> inside;
    return AddFolderBelow(folder, inside);
}

// `inside` holds the folders from the walk's start down to `folder`'s parent: a folder found
// among them again (through a link such as "loop -> ." or "up -> ..") would be walked forever.
std::size_t FileList::AddFolderBelow(const std::string& folder,
                                     std::vector<platform::FolderIdentity>& inside) {
    const auto identity = platform::IdentityOf(folder);
    if (!identity || std::find(inside.begin(), inside.end(), *identity) != inside.end()) {
        return 0;
    }
    const auto items = platform::ListFolder(folder);
    if (!items) {
        return 0;
    }
    inside.push_back(*identity);
    std::size_t added = 0;
    for (const auto& item : *items) {
        const std::string path = platform::JoinPath(folder, item.name);
        if (item.isFolder) {
            added += AddFolderBelow(path, inside);
        } else if (item.isFile && Add(path)) {
            ++added;
        }
    }
    inside.pop_back();
    return added;
}

void FileList::Remove(std::size_t index) {
    if (index < paths_.size()) {
        paths_.erase(paths_.begin() + static_cast<std::ptrdiff_t>(index));
    }
}

}  // namespace host
