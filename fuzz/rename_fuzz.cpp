// XfmRenameFile of every plug-in and every function index (and one past the last) with
// arbitrary output paths: as given, and pushed out to just under the 260-byte path limit by
// a long folder in front. A renaming plug-in must leave a zero-terminated path of at most 260
// bytes; the new-path buffer is a heap block of exactly 260 bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "fuzz_support.h"

namespace {

constexpr std::size_t kMaxPath = 260;

void RenameWithAll(const std::string& path) {
    static const char* const kPlugins[] = {FUZZ_PLUGINS};
    const std::vector<char> outputPath(path.c_str(), path.c_str() + path.size() + 1);
    for (const char* name : kPlugins) {
        const auto& plugin = fuzz_support::Plugin(name);
        const uint32_t count = plugin.getCount();
        for (uint32_t index = 0; index <= count; ++index) {
            const auto newPath = std::make_unique<char[]>(kMaxPath);
            std::memset(newPath.get(), 'x', kMaxPath);
            if (plugin.renameFile(outputPath.data(), newPath.get(), index) != 0 &&
                std::memchr(newPath.get(), '\0', kMaxPath) == nullptr) {
                __builtin_trap();  // not terminated within the buffer
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    // A path is a zero-terminated text of at most 259 bytes.
    std::string name(reinterpret_cast<const char*>(data), size);
    name = name.substr(0, std::min(name.find('\0'), kMaxPath - 1));
    RenameWithAll(name);
    for (std::size_t spare : {0, 1, 3, 4}) {
        if (name.size() + spare + 1 < kMaxPath) {
            const std::string folder(kMaxPath - 2 - spare - name.size(), 'd');
            RenameWithAll(folder + "/" + name);  // 259 - spare bytes long
        }
    }
    return 0;
}
