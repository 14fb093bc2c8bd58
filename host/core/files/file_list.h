// The list of input files: full paths, kept sorted alphabetically without regard to case.
// The window lists a path as often as it is added (a run then converts it that often); the
// command line lists each path once.
//
// Each path remembers the folder it was found in when a folder was added (its "folder
// argument"), so that a run can keep the tree below that folder; a path added by itself has
// none. A folder walk never enters a version-control folder (.git, .svn, .hg, .bzr, _darcs,
// CVS) and never lists a ".git" file (a worktree's link to its repository): converting what
// they hold only ever damages a repository. A folder added by name is walked all the same.
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
    bool Add(const std::string& path) { return Add(path, std::string()); }
    // The same for a path found below the folder argument `folder` ("" for none).
    bool Add(const std::string& path, const std::string& folder);
    // Adds every regular file below `folder` (links to files included), sub-folders included,
    // each with `folder` as its folder argument; returns how many were added. Pipes, devices
    // and sockets are left out, a link back to a folder the walk is already inside is not
    // followed, and version-control folders are not entered.
    std::size_t AddFolderRecursively(const std::string& folder);
    void Remove(std::size_t index);
    void Clear() {
        paths_.clear();
        folders_.clear();
    }
    // Replaces entry `index` in place, without sorting again; its folder argument stays.
    void Replace(std::size_t index, const std::string& path) { paths_.at(index) = path; }
    // Replaces the folder argument of entry `index`.
    void ReplaceFolder(std::size_t index, const std::string& folder) {
        folders_.at(index) = folder;
    }

    std::size_t size() const { return paths_.size(); }
    bool empty() const { return paths_.empty(); }
    const std::string& operator[](std::size_t index) const { return paths_[index]; }
    const std::vector<std::string>& paths() const { return paths_; }
    // The folder argument entry `index` was found below; "" for a path added by itself.
    const std::string& folderOf(std::size_t index) const { return folders_.at(index); }

private:
    // `argument`: the folder that AddFolderRecursively was given.
    std::size_t AddFolderBelow(const std::string& folder, const std::string& argument,
                               std::vector<platform::FolderIdentity>& inside);

    Duplicates duplicates_;
    std::vector<std::string> paths_;
    std::vector<std::string> folders_;  // beside paths_, one for each
};

// True for the name of a folder a walk does not enter: a version-control system's own.
bool IsVersionControlFolder(const std::string& name);

// The list's order: ASCII letters compare without case; ties are broken by the bytes.
bool PathLess(const std::string& a, const std::string& b);

}  // namespace host
