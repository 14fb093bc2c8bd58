// "文字コードの判定": the file information of every listed file as the rows of a table, for
// the windows to show under FileInfoHeaders() and sort by any column (cell_order.h). Files
// are only read.
#pragma once

#include <string>
#include <vector>

#include "host/core/ui/display_text.h"
#include "host/core/ui/user_interface.h"

namespace host {

struct FileInfoRows {
    std::vector<std::string> headers;
    std::vector<std::vector<std::string>> rows;  // one a file, in list order
    bool shown = false;                          // false for an empty list
};

// Describes every file of `paths` under the wait cursor. An empty list shows no table: the
// user is told so (a box and the status line).
FileInfoRows DescribeListedFiles(UserInterface& ui, const std::vector<std::string>& paths);

// The line under the table: how many files it holds.
DisplayText FileInfoSummary(const FileInfoRows& table);

}  // namespace host
