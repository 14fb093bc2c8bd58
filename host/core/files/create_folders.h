// Folders made on the way to a file: the output folder of a run and the sub-folders that
// keep a source's tree below it, made only for a file that is about to be written.
#pragma once

#include <optional>
#include <string>

namespace host {

// Makes `folder` and every folder above it that is missing. Nothing when they all stand
// afterwards (whoever made them: another file of the same run may make one at the same
// time); otherwise the path that could not be made and the system's reason.
struct FolderFailure {
    std::string folder;
    std::string reason;
};
std::optional<FolderFailure> CreateFolders(const std::string& folder);

}  // namespace host
