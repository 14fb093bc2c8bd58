// Applying a regular-expression table: its commands one after the other.
#pragma once

#include <string>

#include "table_file.h"

namespace rulebook {

// Runs every command of the table (lines shorter than 2 bytes are skipped) over `text`,
// each on the previous one's result; commands and text are in `encoding`. The first failing
// command shows its error and abandons the table: false, and `text` is then unusable for the
// caller.
bool ApplyRegexTable(const Table& table, std::string& text, regex::CharMode encoding);

}  // namespace rulebook
