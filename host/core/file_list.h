// The list of input files: full paths, kept sorted alphabetically without regard to case,
// each path once.
#pragma once

#include <string>
#include <vector>

#include "platform/folder.h"

namespace host {

class FileList {
public:
    // Adds `path` at its sorted place; false when it is already listed.
    bool Add(const std::string& path);
    // Adds every regular file below `folder` (links to files included), sub-folders included;
    // returns how many were added. Pipes, devices and sockets are left out, and a link back to
    // a folder the walk is already inside is not followed.
    std::size_t AddFolderRecursively(const std::string& folder);
    void Remove(std::size_t index);
    void Clear() { paths_.clear(); }
    // Replaces entry `index` in place, without sorting again.
    void Replace(std::size_t index, const std::string& path) { paths_.at(index) = path; }

    std::size_t size() const { return paths_.size(); }
    bool empty() const { return paths_.empty(); }
    const std::string& operator[](std::size_t index) const { return paths_[index]; }
    const std::vector<std::string>& paths() const { return paths_; }

private:
    std::size_t AddFolderBelow(const std::string& folder,
                               std::vector<platform::FolderIdentity>& inside);

    std::vector<std::string> paths_;
};

// The list's order: ASCII letters compare without case; ties are broken by the bytes.
bool PathLess(const std::string& a, const std::string& b);

}  // namespace host
