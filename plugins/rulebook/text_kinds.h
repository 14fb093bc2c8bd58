// Tables and texts in Shift JIS or UTF-8: which encoding a table runs in over a text, the
// message when the two disagree, and the byte-order mark a UTF-8 text keeps in front.
//
// A table or a text of ASCII alone reads alike in both encodings and goes with either; a
// UTF-8 one on either side makes the run UTF-8. A UTF-8 table never meets a Shift JIS text
// (nor the reverse): its search strings and patterns could only find nothing or cut
// characters apart, so the table fails with a message naming both encodings.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/utf8_text.h"
#include "regex/char_mode.h"

namespace rulebook {

// The encoding a table of class `table` runs in over a text of class `text`, or nothing when
// one is UTF-8 and the other Shift JIS.
std::optional<regex::CharMode> RunEncoding(platform::TextKind table, platform::TextKind text);

// Shows the message for a table and a text that disagree (RunEncoding gave nothing).
void ShowEncodingMismatch(platform::TextKind table, platform::TextKind text);

// A text of `encoding` as message boxes show it (in Shift JIS).
std::string ShownInMessage(std::string_view text, regex::CharMode encoding);

// The length of the UTF-8 byte-order mark at the start of `text` (0 or 3).
std::size_t MarkLength(std::string_view text);

}  // namespace rulebook
