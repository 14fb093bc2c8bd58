// std::filesystem paths to and from the program's UTF-8 path strings. On Windows a path made
// from a narrow string would be read in the system's code page, and one turned back into a
// narrow string written in it, losing what the code page lacks; the UTF-8 forms keep every
// name. Elsewhere the bytes are the name and pass unchanged.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

inline std::filesystem::path PathFromUtf8(std::string_view utf8) {
#ifdef _WIN32
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
#else
    return std::filesystem::path(utf8);
#endif
}

inline std::string Utf8FromPath(const std::filesystem::path& path) {
#ifdef _WIN32
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
#else
    return path.string();
#endif
}

}  // namespace platform
