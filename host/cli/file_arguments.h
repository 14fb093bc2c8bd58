// The files a command line names: each path made absolute, a folder standing for every file
// below it.
#pragma once

#include <string>
#include <vector>

#include "host/core/files/file_list.h"

namespace cli {

// `path` made absolute against the current folder (unchanged when that fails).
std::string FullPath(const std::string& path);

// Adds `path` to `files` as a full path; a folder adds every file below it.
void AddPath(host::FileList& files, const std::string& path);
host::FileList CollectFiles(const std::vector<std::string>& paths);

}  // namespace cli
