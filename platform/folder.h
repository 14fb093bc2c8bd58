// Files and folders as the host sees them: existence, listing, the program's own path.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace platform {

bool PathExists(const std::string& path);
bool IsFolder(const std::string& path);

// Creates one folder; false (with the error text set) on failure.
bool CreateFolder(const std::string& path);

struct FolderItem {
    std::string name;  // bare name, as the folder listing gives it
    bool isFolder = false;  // a folder, or a link to one
    bool isFile = false;    // a regular file, or a link to one (not a pipe, device or socket)
};

// What tells two folders apart whatever path leads to them: device and inode.
struct FolderIdentity {
    unsigned long long device = 0;
    unsigned long long inode = 0;
    bool operator==(const FolderIdentity&) const = default;
};

// The identity of the folder `path` names (through links); nothing when it cannot be read.
std::optional<FolderIdentity> IdentityOf(const std::string& path);

// The entries of `folder` other than "." and "..", in the order the file system returns
// them. Nothing (with the error text set) when the folder cannot be read.
std::optional<std::vector<FolderItem>> ListFolder(const std::string& folder);

// Full path of the running executable.
std::string ExecutablePath();

}  // namespace platform
