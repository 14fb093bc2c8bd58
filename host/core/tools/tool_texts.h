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
// The report's line for a UTF-8 or UTF-16 file in which the two fallbacks of unibridge's way to
// Shift JIS would replace something: how many places each, and the first line of each
// (platform/sjis_fallback.h). Empty when neither would replace anything.
DisplayText ScanFallbackCounts(std::uint64_t readable, std::uint64_t firstReadableLine,
                               std::uint64_t lossless, std::uint64_t firstLosslessLine);

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
