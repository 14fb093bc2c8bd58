// A fresh folder under the system's temporary folder, removed with everything in it.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace testing_support {

class TempFolder {
public:
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();

    const std::filesystem::path& path() const { return path_; }
    // The folder's path as the program's UTF-8 path strings hold it.
    std::string str() const;
    // The path of `relative` (UTF-8, "/" between parts) below the folder, with the system's
    // own separators, as the program's own path joins give it.
    std::string Path(std::string_view relative) const;

    // Writes `bytes` to <folder>/<name> (creating parent folders) and returns its path.
    std::string Write(std::string_view name, std::string_view bytes) const;

private:
    std::filesystem::path path_;
};

// The whole content of a file; aborts the test when it cannot be read. A string is a UTF-8
// path, as the program's.
std::string ReadFile(const std::filesystem::path& path);
std::string ReadFile(const std::string& path);
std::string ReadFile(const char* path);

// `path` with "/" turned into the system's separator (unchanged but on Windows).
std::string NativePath(std::string path);

}  // namespace testing_support
