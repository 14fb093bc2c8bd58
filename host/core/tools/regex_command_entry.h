// What the regular-expression tool's command dialog does apart from drawing itself: it reads
// the history when it opens, offers it in the drop-down list, puts an accepted command at
// the top, and writes the history back when it closes, whether it was accepted or not.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "host/core/settings/regex_history.h"
#include "host/core/ui/user_interface.h"

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

    // OK with the text as the user typed it (UTF-8). A character code page 932 cannot hold,
    // and a command longer than kMaxRegexCommand in Shift JIS, are each refused with an error
    // box: the result is nothing, the dialog stays open and the history is unchanged.
    // Otherwise the command goes through Accept and comes back in Shift JIS.
    std::optional<std::string> AcceptTyped(Questions& ui, const std::string& typedUtf8);

    // The dialog closes (OK or Cancel): the history is written back.
    void Close();

  private:
    RegexHistoryStore& store_;
    RegexHistory history_;
};

}  // namespace host
