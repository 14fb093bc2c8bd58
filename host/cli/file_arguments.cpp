#include "host/cli/file_arguments.h"

#include <filesystem>

#include "platform/folder.h"
#include "platform/utf8_path.h"

namespace cli {

std::string FullPath(const std::string& path) {
    std::error_code error;
    const auto absolute = std::filesystem::absolute(platform::PathFromUtf8(path), error);
    return error ? path : platform::Utf8FromPath(absolute.lexically_normal());
}

void AddPath(host::FileList& files, const std::string& path) {
    const std::string full = FullPath(path);
    if (platform::IsFolder(full)) {
        files.AddFolderRecursively(full);
    } else {
        files.Add(full);
    }
}

host::FileList CollectFiles(const std::vector<std::string>& paths) {
    host::FileList files;
    for (const std::string& path : paths) {
        AddPath(files, path);
    }
    return files;
}

}  // namespace cli
