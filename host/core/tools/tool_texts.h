// The words of the host's tools (character scan, file-name lower-casing, regular-expression
// conversion, About box and read-me), as the user sees them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

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

// Conversion preview. The labels above both sides name the form each is in: `form` as
// TextFormName gives it, or PreviewBinaryForm for bytes that are no text.
DisplayText PreviewBeforeLabel(const std::string& form);
DisplayText PreviewAfterLabel(const std::string& form);
std::string PreviewBinaryForm(const std::string& reason);
inline const DisplayText kPreviewWorking = "変換中...";
inline const DisplayText kPreviewNoFiles = "プレビューするファイルがリストにありません。";
// The line under both sides: which file of how many, and what the chain did to it.
DisplayText PreviewFileOf(const std::string& path, std::size_t number, std::size_t count);
DisplayText PreviewChangedLines(std::size_t lines);
inline const DisplayText kPreviewUnchanged = "変更はありません。";
DisplayText PreviewNewName(const std::string& name);
inline const DisplayText kPreviewBinaryPassedOn =
    "バイナリファイルのため、テキストの処理は行いません。";
// Functions whose step failed: their titles (Shift JIS), joined with "、".
DisplayText PreviewFailedSteps(const std::vector<std::string>& titles);
DisplayText PreviewUndecodable(std::size_t places);
// The file cannot be shown: more than memory holds, or it changed while it was read.
DisplayText PreviewTooLarge(const std::string& path);
DisplayText PreviewFileChanged(const std::string& path);

// File information.
inline const DisplayText kInfoNoFiles = "判定するファイルがリストにありません。";
DisplayText InfoFileCount(std::size_t files);

}  // namespace host::texts
