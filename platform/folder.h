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
    bool isFolder = false;
};

// The entries of `folder` other than "." and "..", in the order the file system returns
// them. Nothing (with the error text set) when the folder cannot be read.
std::optional<std::vector<FolderItem>> ListFolder(const std::string& folder);

// Full path of the running executable.
std::string ExecutablePath();

}  // namespace platform
