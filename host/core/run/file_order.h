// Which files of a run must wait for which earlier ones when several are converted at once.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace host {

// For each file, given the paths it may read or write (`paths[i]`), the earlier files it must
// wait for: the last earlier file that touches each of its paths. Waiting for those waits
// for all earlier files that share a path, since each of them waited for the one before.
// Paths are compared after lexical normalisation ("a//b/./c" is "a/b/c").
std::vector<std::vector<std::size_t>> EarlierFilesToWaitFor(
    const std::vector<std::vector<std::string>>& paths);

// The form in which two paths of one file compare equal: lexically normal and, on Windows,
// with one separator and without regard to case.
std::string ComparablePath(const std::string& path);

}  // namespace host
