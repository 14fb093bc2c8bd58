// Renaming a file without ever replacing another one.
#pragma once

#include <string>

namespace host {

// Renames `from` to `to` (full paths). When a different file or folder already has the name
// `to`, nothing changes and the result is false, as for any other failure; the error text is
// left for platform::LastSystemErrorText(). A name that differs only where a case-blind file
// system does not look (the same file under both names) is renamed.
bool RenameWithoutReplacing(const std::string& from, const std::string& to);

}  // namespace host
