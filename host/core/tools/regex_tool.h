// The regular-expression conversion tool: one typed command (a substitution such as
// "s/(\d+)/【$1】/gk" or a translation such as "tr/０-９/0-9/k") applied by the rulebook
// library's XfmRegExp to every listed file, each result written to the output folder or over
// its source with the run's own options and safe replacement.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "host/core/run/run_options.h"
#include "host/core/ui/user_interface.h"
#include "platform/library.h"
#include "xfm_plugin.h"

namespace host {

// Oldest rulebook version whose XfmRegExp the tool can use.
inline constexpr std::uint32_t kOldestRegexRulebook = XFM_VERSION(1, 0, 0, 2);

// One file: the whole source (0x00 bytes and what follows them included) through
// `regExp` with `command` (Shift JIS), then written to `destination` unless `noOutput` is set
// and nothing changed. An existing destination is replaced only after a Yes (or with
// `overWrite`), and never destroyed by a failed write. False when the file failed; every
// failure has been reported except the plug-in's own.
//
// A binary source (host/core/files/text_content.h) is not given to `regExp` unless
// `options.convertBinary` is set: it passes unchanged, as a run passes it through a text
// function, and is not written over itself. `skippedBinary`, when given, says whether it was.
bool ConvertFileByRegex(UserInterface& ui, const std::string& source,
                        const std::string& destination, const std::string& command,
                        XfmRegExpFn regExp, const RunOptions& options,
                        bool* skippedBinary = nullptr);

struct RegexToolResult {
    bool ran = false;         // false when it ended before the loop over the files
    std::int32_t errors = 0;  // files that failed
    std::int32_t skippedBinary = 0;  // binary files passed on unchanged
};

// The menu command over `files` in list order. `askCommand` shows the command dialog and
// returns the typed command (Shift JIS), nothing when the user cancels; an empty command ends
// the tool too. Does nothing when `rulebook` is null.
RegexToolResult RunRegexTool(UserInterface& ui, platform::LibraryHandle rulebook,
                             const std::vector<std::string>& files, const RunOptions& options,
                             const std::function<std::optional<std::string>()>& askCommand);

}  // namespace host
