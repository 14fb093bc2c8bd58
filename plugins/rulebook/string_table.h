// Applying a string table: every pair replaces each occurrence of its search string.
#pragma once

#include <cstddef>
#include <string>

#include "regex/char_mode.h"
#include "table_file.h"

namespace rulebook {

// The largest text a conversion may give: the plug-in contract counts bytes in 32 bits.
inline constexpr std::size_t kMaxTextSize = 0xFFFFFFFFu;

// Replaces, pair by pair in file order, every occurrence of the search string by its
// replacement. Occurrences are found left to right, do not overlap, begin only at character
// starts of the text in `encoding` (Shift JIS or UTF-8), and inserted text is not searched
// again by the same pair.
// Zero bytes in `text` are ordinary bytes. A pair whose result would exceed `limit` bytes
// stops the table before anything is allocated for that result: its message is shown and
// the result is false (`text` is then unusable for the caller).
bool ApplyStringTable(const Table& table, std::string& text, regex::CharMode encoding,
                      std::size_t limit = kMaxTextSize);

enum class Replaced { kNothing, kChanged, kTooLarge };

// One pair over `text`; leaves `text` alone unless it gives kChanged. `scratch` is working
// space whose capacity is reused from call to call. A result would never be allocated
// larger than `limit` bytes: kTooLarge instead.
Replaced ReplaceAll(std::string& text, const std::string& search, const std::string& replacement,
                    std::string& scratch, regex::CharMode encoding,
                    std::size_t limit = kMaxTextSize);

}  // namespace rulebook
