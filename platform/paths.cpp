#include "platform/paths.h"

#include <cstring>

namespace platform {

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string joined(folder);
    if (!joined.empty() && kPathSeparators.find(joined.back()) == std::string_view::npos) {
        joined += kPathSeparator;
    }
    joined += name;
    return joined;
}

std::string_view FileNameOf(std::string_view path) {
    const auto slash = path.find_last_of(kPathSeparators);
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string RemoveFileName(std::string_view path) {
    const auto slash = path.find_last_of(kPathSeparators);
    if (slash == std::string_view::npos) {
        return {};
    }
#ifdef _WIN32
    if (slash == 2 && path[1] == ':') {
        return std::string(path.substr(0, 3));  // "C:\a" -> "C:\", the drive's root
    }
#endif
    return std::string(path.substr(0, slash == 0 ? 1 : slash));
}

std::size_t FindExtension(std::string_view path) {
    const auto nameStart = path.size() - FileNameOf(path).size();
    const auto dot = path.rfind('.');
    if (dot == std::string_view::npos || dot < nameStart) {
        return path.size();
    }
    return dot;
}

std::optional<std::string> ReplaceExtension(std::string_view path, std::string_view extension) {
    std::string renamed(path.substr(0, FindExtension(path)));
    renamed += extension;
    if (renamed.size() + 1 > kMaxPath) {
        return std::nullopt;
    }
    return renamed;
}

bool RenameExtensionInPlace(char* path, const char* extension) {
    if (path == nullptr || extension == nullptr) {
        return false;
    }
    const auto renamed = ReplaceExtension(std::string_view(path, strnlen(path, kMaxPath)),
                                          extension);
    if (!renamed) {
        return false;
    }
    std::memcpy(path, renamed->c_str(), renamed->size() + 1);
    return true;
}

}  // namespace platform
