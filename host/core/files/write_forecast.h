// What a write would do, found out without doing it: the run's dry run asks here instead of
// making folders and writing files, so that it tells beforehand what the real run will meet.
// The forecast looks at what stands on disk now: a folder that cannot be made (a file in its
// place, no permission in the folder above), a target that is a folder or read-only, a folder
// that cannot take a new file, a backup name taken by a folder. What only the write itself
// meets (a full disk, a file that another program changes meanwhile) cannot be foreseen.
#pragma once

#include <optional>
#include <string>

#include "host/core/files/create_folders.h"
#include "host/core/files/whole_file.h"

namespace host {

// What CreateFolders(folder) would answer.
std::optional<FolderFailure> ForecastCreateFolders(const std::string& folder);

// What ReplaceFileContent(path, ...) with `extras` would answer, its bytes aside.
// `foldersMade`: the folders on the way to `path` are made before the write.
WriteResult ForecastReplaceFileContent(const std::string& path, const WriteExtras& extras,
                                       bool foldersMade);

}  // namespace host
