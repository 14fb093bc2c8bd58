// Path rules of the system: paths are at most 260 bytes (terminating zero included), parts are
// joined with one separator, the file name is the last component, the extension is the last
// "." of the file name and everything after it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

inline constexpr std::size_t kMaxPath = 260;
#ifdef _WIN32
// Windows writes a backslash between parts and reads a slash as one too.
inline constexpr char kPathSeparator = '\\';
inline constexpr std::string_view kPathSeparators = "\\/";
#else
inline constexpr char kPathSeparator = '/';
inline constexpr std::string_view kPathSeparators = "/";
#endif

// `folder` and `name` joined with one separator; an empty folder gives `name` alone.
std::string JoinPath(std::string_view folder, std::string_view name);

// The last component of `path` (everything after the last separator).
std::string_view FileNameOf(std::string_view path);

// `path` without its last component and the separator before it ("/a/b" -> "/a",
// "/b" -> "/", "b" -> "").
std::string RemoveFileName(std::string_view path);

// Offset of the extension's "." in `path`, or path.size() when the file name has none.
std::size_t FindExtension(std::string_view path);

// `path` with its extension replaced by (or, without one, extended by) `extension`, which
// starts with "."; nothing when the result would not fit kMaxPath bytes with its zero.
std::optional<std::string> ReplaceExtension(std::string_view path, std::string_view extension);

// The same on a zero-terminated buffer of kMaxPath bytes, as the contract's XfmRenameFile
// hands it: false and the buffer unchanged when the result does not fit.
bool RenameExtensionInPlace(char* path, const char* extension);

}  // namespace platform
