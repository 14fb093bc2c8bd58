// The list of input files: full paths, kept sorted alphabetically without regard to case.
// The window lists a path as often as it is added (a run then converts it that often); the
// command line lists each path once.
#pragma once

#include <string>
#include <vector>

#include "platform/folder.h"

namespace host {

enum class Duplicates {
    kListOnce,  // adding a listed path again does nothing
    kAllow,     // adding a listed path again lists it once more
};

class FileList {
public:
    explicit FileList(Duplicates duplicates = Duplicates::kListOnce) : duplicates_(duplicates) {}

    // Adds `path` at its sorted place (after paths that sort the same); false when it is
    // already listed and the list keeps each path once.
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

    Duplicates duplicates_;
    std::vector<std::string> paths_;
};

// The list's order: ASCII letters compare without case; ties are broken by the bytes.
bool PathLess(const std::string& a, const std::string& b);

}  // namespace host
