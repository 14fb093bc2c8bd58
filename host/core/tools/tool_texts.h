// The words of the host's tools (character scan, file-name lower-casing, regular-expression
// conversion, About box and read-me), as the user sees them.
#pragma once

#include <cstdint>
#include <string>

#include "host/core/ui/display_text.h"

namespace host::texts {

// Character scan. The report's own lines are Shift JIS and made in character_scan.cpp.
inline const DisplayText kNothingToScan = "スキャン対象ファイルがリストにありません";
// The report's line for a binary file, which is not scanned; `reason` as ClassifyContent
// gives it (host/core/files/text_content.h).
DisplayText ScanSkippedBinary(const std::string& reason);

// Regular-expression conversion.
inline const DisplayText kOldRulebook =
    "RULEBOOK.DLL "
    "のバージョンが取得出来ないか、\r\nバージョンが古いため、この機能が使用できません。";
inline const DisplayText kCommandTooLong =
    "正規表現は 260 文字（半角換算）以内で入力してください。";
// A typed command holds `character` (UTF-8), which Shift JIS cannot hold: the command would
// reach the files changed.
DisplayText CommandCharacterOutsideCp932(const std::string& character);

// Read-me: the document is not there, or no program on this system opens it.
DisplayText ReadmeMissing(const std::string& path);
DisplayText ReadmeWithoutViewer(const std::string& path);

}  // namespace host::texts
