#include "support/temp_folder.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include "platform/paths.h"
#include "platform/utf8_path.h"

namespace testing_support {

#ifdef _WIN32
// The C runtime has no mkdtemp: a random name is tried until a new folder is made.
TempFolder::TempFolder() {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::minstd_rand random(std::random_device{}());
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = "polyshift-";
        for (int i = 0; i < 8; ++i) {
            name += kLetters[random() % (sizeof kLetters - 1)];
        }
        const auto candidate = std::filesystem::temp_directory_path() / name;
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("no temporary folder could be made");
}
#else
TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "polyshift-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    path_ = pattern;
}
#endif

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::string TempFolder::str() const { return platform::Utf8FromPath(path_); }

std::string TempFolder::Path(std::string_view relative) const {
    return NativePath(platform::JoinPath(str(), relative));
}

std::string TempFolder::Write(std::string_view name, std::string_view bytes) const {
    const auto file = path_ / platform::PathFromUtf8(name);
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + platform::Utf8FromPath(file));
    }
    return NativePath(platform::Utf8FromPath(file));
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + platform::Utf8FromPath(path));
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ReadFile(const std::string& path) { return ReadFile(platform::PathFromUtf8(path)); }

std::string ReadFile(const char* path) { return ReadFile(std::string(path)); }

std::string NativePath(std::string path) {
    for (char& c : path) {
        c = c == '/' ? platform::kPathSeparator : c;
    }
    return path;
}

}  // namespace testing_support
