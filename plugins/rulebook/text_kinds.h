// Tables and texts in Shift JIS or UTF-8: which encoding a table runs in over a text, the
// message when the two disagree, and the byte-order mark a UTF-8 text keeps in front.
//
// A table or a text of ASCII alone reads alike in both encodings and goes with either; a
// UTF-8 one on either side makes the run UTF-8. A UTF-8 table never meets a Shift JIS text
// (nor the reverse): its search strings and patterns could only find nothing or cut
// characters apart, so the table fails with a message naming both encodings.
//
// Tables and texts in UTF-16, EUC-JP or JIS are read in neither encoding: matched byte by byte
// as Shift JIS, a search string could find a character that is none of its own or cut one
// apart. Such a text passes unchanged, and such a table converts nothing, with a message that
// names the encoding.
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

// The encoding of a text in UTF-16, EUC-JP or JIS as messages name it ("UTF-16", "EUC-JP",
// "JIS"); null for a text in Shift JIS, UTF-8 or ASCII (`kind` is its class: JIS, being
// seven-bit, is of class ASCII).
const char* ForeignEncoding(std::string_view text, platform::TextKind kind);

// Shows why a table converts nothing over a text in `encoding` (ForeignEncoding's name).
void ShowForeignText(const char* encoding);

// Shows why a table file in `encoding` converts nothing.
void ShowForeignTable(const char* encoding);

// The message XfmRegExp shows for a text in `encoding` (in Shift JIS).
std::string ForeignTextForCommand(const char* encoding);

// A text of `encoding` as message boxes show it (in Shift JIS).
std::string ShownInMessage(std::string_view text, regex::CharMode encoding);

// The length of the UTF-8 byte-order mark at the start of `text` (0 or 3).
std::size_t MarkLength(std::string_view text);

}  // namespace rulebook
