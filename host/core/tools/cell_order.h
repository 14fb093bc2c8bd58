// The order of a table's rows when the user sorts by a column: cells that are whole numbers
// (sizes, counts) compare by their value, so that 9 comes before 10; other cells compare by
// their bytes, after every number. Rows that compare equal keep their order either way.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace host {

// True when `a` comes before `b`.
bool CellLess(const std::string& a, const std::string& b);

// The rows' indices in the order of their cells in `column` (a row without that column
// counts as an empty cell).
std::vector<std::size_t> SortedRows(const std::vector<std::vector<std::string>>& rows,
                                    std::size_t column, bool ascending);

}  // namespace host
