// Conversion-table files: reading the lines, and the two table kinds built from them.
#pragma once

#include <string>
#include <vector>

#include "platform/utf8_text.h"
#include "regex/char_mode.h"

namespace rulebook {

enum class TableKind { kRegex, kString };

// The lines of one table file. A regular-expression table fills `searchList` with its
// command lines; a string table fills both lists, entry i of each forming one pair.
struct Table {
    std::vector<std::string> searchList;
    std::vector<std::string> replacementList;
    // The file's encoding: UTF-8 (a byte-order mark, or well-formed UTF-8 with a character of
    // three or four bytes), ASCII alone, or Shift JIS (everything else).
    platform::TextKind kind = platform::TextKind::kAscii;
};

// Splits a file's bytes into lines as a text-mode read does: a line feed ends a line, a CR
// directly before it belongs to the line end, a last line without a terminator still counts
// and a lone CR stays in its line.
std::vector<std::string> SplitLines(const std::string& bytes);

// Resolves the escapes of a string-table field: \n \r \t \\ \# and \xHH. A backslash
// before any other character removes both; a field ends at an escape giving the byte 0 and
// at a \x without two hexadecimal digits. Characters of `encoding` are read whole, so a
// backslash that is the second byte of a Shift JIS double-byte character is an ordinary byte.
std::string UnescapeField(const std::string& field,
                          regex::CharMode encoding = regex::CharMode::kShiftJis);

// Appends one line of the given kind to the table, read in the table's encoding; comment lines
// (first byte "#") add nothing.
void AddTableLine(Table& table, const std::string& line, TableKind kind);

// The encoding the table's lines are read in.
regex::CharMode TableEncoding(const Table& table);

// Reads the table at `path`. A missing path gives nothing without a message; a file that
// cannot be opened shows the open error and gives nothing, and so does a table in UTF-16,
// EUC-JP or JIS, with a message naming the encoding. A UTF-8 byte-order mark at the start of
// the file is no part of the first line.
bool LoadTable(const char* path, TableKind kind, Table& table);

}  // namespace rulebook
