// File-name lower-casing: the ASCII capitals of the listed files' names become small letters,
// for all files or only for those whose extension, or name before it, has no small letter. Folder
// names and file contents are never touched, and an existing file is never replaced: when the
// new name is taken the file keeps its old one.
//
// A name that is valid UTF-8 (the system's own names) has its ASCII capitals changed wherever
// they stand, since no byte of a UTF-8 multi-byte character is ASCII. Any other name is taken
// as Shift JIS: a lead byte (0x81-0x9F, 0xE0-0xFC) and the byte after it form one character
// whose bytes are never changed or tested as letters.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "host/core/files/file_list.h"
#include "host/core/ui/user_interface.h"

namespace host {

enum class LowercaseSelection {
    kAllFiles = 0,
    kUpperExtension = 1,  // only files whose extension (from the last point) has no small letter
    kUpperName = 2,       // only files whose name before the extension has no small letter
};

// The lower-cased form of the file name `name` when it qualifies under `selection` and has a
// capital to change; nothing otherwise.
std::optional<std::string> LowercaseName(std::string_view name, LowercaseSelection selection);

// Renames the file at the full path `path`; the new full path when it was renamed, nothing
// when it does not qualify, has no capitals, or cannot be renamed (missing, name taken, no
// permission). The process's current folder is left alone.
std::optional<std::string> LowercaseFileName(const std::string& path, LowercaseSelection selection);

// The menu command: with an empty list the error box; otherwise the progress bar is reset,
// `askSelection` shows the dialog (nothing when the user cancels), and every renamed file's
// list entry is replaced in place. Returns the number of files renamed.
std::size_t LowercaseListedFiles(
    UserInterface& ui, FileList& files,
    const std::function<std::optional<LowercaseSelection>()>& askSelection);

}  // namespace host
