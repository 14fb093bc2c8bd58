// Paths as the plug-ins see them. The contract carries a path as 8-bit text: the table's path
// in ConvertRequest and both paths of XfmRenameFile. On Windows that text is code page 932, as
// plug-ins written for the system expect; elsewhere it is the path's own bytes, unchanged.
//
// A Windows path may hold characters code page 932 lacks (an emoji, Hangul, most accented
// Latin letters). Such a path is never handed over mangled, nor is a mangled answer used:
// - a table goes by its short (8.3) name when the system keeps one that the code page holds,
//   and otherwise not at all: the caller skips the step and names the table;
// - a rename is asked of a stand-in, the path with every such character replaced by "?", which
//   no Windows name can hold. The answer is read as an edit of the stand-in: the bytes it kept
//   in front, the bytes it kept at the end, and what it put between. When the edited middle
//   leaves every "?" of the stand-in alone, the same edit is made to the real path ("a😀.bmp"
//   asked as "a?.bmp", answered "a?.ico", becomes "a😀.ico"); otherwise the result keeps its
//   name and the caller says so.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace host {

// `path` (UTF-8) as a plug-in reads a table's path; nothing when it cannot be carried.
std::optional<std::string> ContractTablePath(const std::string& path);

struct CarriedName {
    std::optional<std::string> path;  // the new name, when the function renames
    bool lost = false;                // it renames, but its answer could not be carried back
};

// The name `rename` gives `path` (UTF-8), asked and answered in the contract's text.
// `rename` answers nothing when the function keeps the name.
using ContractRename = std::function<std::optional<std::string>(const std::string& contractPath)>;
CarriedName RenameThroughContract(const std::string& path, const ContractRename& rename);

// The pieces of the Windows form, apart so that every system can test them.
struct StandIn {
    std::string bytes;                // code page 932, "?" for each character it lacks
    std::vector<std::size_t> realAt;  // per byte offset of `bytes` (and its end): the offset
                                      // in the real path, npos inside a character
    std::vector<bool> replaced;       // per byte of `bytes`: a "?" that stands for one
    bool exact() const;               // no character was replaced
};
StandIn MakeStandIn(std::string_view utf8Path);
// The real path edited as `answer` edits `standIn.bytes`; nothing when the edit touches a
// replaced character or does not read as code page 932 text.
std::optional<std::string> CarryBack(const StandIn& standIn, std::string_view utf8Path,
                                     std::string_view answer);

}  // namespace host
