// The regular-expression tool's history: the last eight commands, most recent first, kept in
// the ini file's section "RegExp List" under the keys "regexp1" (the most recent) to
// "regexp8". An empty text marks an empty place.
#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace host {

inline constexpr std::size_t kRegexHistorySize = 8;

// Commands are Shift JIS texts, as the plug-in receives them.
using RegexHistory = std::array<std::string, kRegexHistorySize>;

// Puts `command` at place 1. When it already stands at place p (2 to 7, an exact,
// case-sensitive match), the places before p move down by one; otherwise every entry moves
// down and the eighth is dropped. An empty command changes nothing.
void RememberCommand(RegexHistory& history, const std::string& command);

// Where the history lasts between two uses of the tool.
class RegexHistoryStore {
  public:
    virtual ~RegexHistoryStore() = default;
    // A missing entry reads as empty.
    virtual RegexHistory Load() = 0;
    // Replaces the stored history by the non-empty entries, each under its own key.
    virtual void Save(const RegexHistory& history) = 0;
};

// The history's ini key of place `place` (1 to 8): "regexp<place>".
std::string RegexHistoryKey(std::size_t place);

}  // namespace host
