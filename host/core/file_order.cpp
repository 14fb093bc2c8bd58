#include "host/core/file_order.h"

#include <algorithm>
#include <filesystem>
#include <unordered_map>

#include "platform/utf8_path.h"

namespace host {
namespace {

// `path` in lexically normal form; most paths already are, and are taken as they are.
std::string Normal(const std::string& path) {
    const bool plain = path.find("//") == std::string::npos &&
                       path.find("/.") == std::string::npos && path.rfind("./", 0) != 0 &&
                       path != "." && path != "..";
    return plain ? path : platform::Utf8FromPath(platform::PathFromUtf8(path).lexically_normal());
}

}  // namespace

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
