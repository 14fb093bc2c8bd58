#include "host/core/run/file_order.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <algorithm>
#include <filesystem>
#include <unordered_map>

#include "platform/utf8_path.h"
#ifdef _WIN32
#include "platform/win32/wide_text.h"
#endif

namespace host {
namespace {

#ifdef _WIN32
// Windows reads "/" as "\" and names files without regard to case: "C:\out\A.txt" and
// "c:/out/./a.TXT" are one file, and so one key.
std::string Normal(const std::string& path) {
    const auto wide = platform::win32::WideFromUtf8(path);
    if (!wide) {
        return path;
    }
    std::wstring normal = std::filesystem::path(*wide).lexically_normal().wstring();
    std::replace(normal.begin(), normal.end(), L'/', L'\\');
    std::wstring upper(normal.size(), L'\0');
    const int length = ::LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, normal.data(),
                                      static_cast<int>(normal.size()), upper.data(),
                                      static_cast<int>(upper.size()));
    return platform::win32::Utf8FromWide(length > 0 ? upper.substr(0, length) : normal);
}
#else
// `path` in lexically normal form; most paths already are, and are taken as they are.
std::string Normal(const std::string& path) {
    const bool plain = path.find("//") == std::string::npos &&
                       path.find("/.") == std::string::npos && path.rfind("./", 0) != 0 &&
                       path != "." && path != "..";
    return plain ? path : platform::Utf8FromPath(platform::PathFromUtf8(path).lexically_normal());
}
#endif

}  // namespace

std::string ComparablePath(const std::string& path) { return Normal(path); }

std::vector<std::vector<std::size_t>> EarlierFilesToWaitFor(
    const std::vector<std::vector<std::string>>& paths) {
    std::vector<std::vector<std::size_t>> waits(paths.size());
    std::unordered_map<std::string, std::size_t> lastUser;
    for (std::size_t file = 0; file < paths.size(); ++file) {
        std::vector<std::size_t>& earlier = waits[file];
        for (const std::string& path : paths[file]) {
            const std::string key = Normal(path);
            const auto [at, inserted] = lastUser.try_emplace(key, file);
            if (!inserted && at->second != file) {
                earlier.push_back(at->second);
                at->second = file;
            }
        }
        std::sort(earlier.begin(), earlier.end());
        earlier.erase(std::unique(earlier.begin(), earlier.end()), earlier.end());
    }
    return waits;
}

}  // namespace host
