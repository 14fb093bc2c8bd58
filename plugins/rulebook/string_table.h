// Applying a string table: every pair replaces each occurrence of its search string.
#pragma once

#include <string>

#include "table_file.h"

namespace rulebook {

// Replaces, pair by pair in file order, every occurrence of the search string by its
// replacement. Occurrences are found left to right, do not overlap, begin only at character
// starts of the Shift JIS text, and inserted text is not searched again by the same pair.
// Zero bytes in `text` are ordinary bytes.
void ApplyStringTable(const Table& table, std::string& text);

// One pair over `text`; returns false (and leaves `text` alone) when nothing matched.
// `scratch` is working space whose capacity is reused from call to call.
bool ReplaceAll(std::string& text, const std::string& search, const std::string& replacement,
                std::string& scratch);

}  // namespace rulebook
