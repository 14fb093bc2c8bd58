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
    std::string str() const { return path_.string(); }

    // Writes `bytes` to <folder>/<name> (creating parent folders) and returns its path.
    std::string Write(std::string_view name, std::string_view bytes) const;

private:
    std::filesystem::path path_;
};

// The whole content of a file; aborts the test when it cannot be read.
std::string ReadFile(const std::filesystem::path& path);

}  // namespace testing_support
