#include "host/core/files/create_folders.h"

#include "platform/folder.h"
#include "platform/paths.h"
#include "platform/system_error.h"

namespace host {

std::optional<FolderFailure> CreateFolders(const std::string& folder) {
    if (folder.empty() || platform::IsFolder(folder)) {
        return std::nullopt;
    }
    const std::string parent = platform::RemoveFileName(folder);
    if (!parent.empty() && parent != folder) {
        if (auto failure = CreateFolders(parent)) {
            return failure;
        }
    }
    if (platform::CreateFolder(folder) || platform::IsFolder(folder)) {
        return std::nullopt;
    }
    return FolderFailure{folder, platform::LastSystemErrorText()};
}

}  // namespace host
