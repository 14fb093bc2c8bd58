// What the regular-expression tool's command dialog does apart from drawing itself: it reads
// the history when it opens, offers it in the drop-down list, puts an accepted command at
// the top, and writes the history back when it closes, whether it was accepted or not.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "host/core/regex_history.h"

namespace host {

// Longest command the dialog takes, in Shift JIS bytes (a full-width character counts twice).
inline constexpr std::size_t kMaxRegexCommand = 260;

class RegexCommandEntry {
  public:
    // Reads the history from `store`.
    explicit RegexCommandEntry(RegexHistoryStore& store);

    const RegexHistory& history() const { return history_; }

    // The drop-down list: the entries in order up to the first empty one.
    std::vector<std::string> DropDownEntries() const;

    // OK with the typed command (Shift JIS). A command longer than kMaxRegexCommand is refused
    // (false): the dialog stays open and the history is unchanged. Otherwise a non-empty
    // command goes to place 1 and the result is true.
    bool Accept(const std::string& command);

    // The dialog closes (OK or Cancel): the history is written back.
    void Close();

  private:
    RegexHistoryStore& store_;
    RegexHistory history_;
};

}  // namespace host
