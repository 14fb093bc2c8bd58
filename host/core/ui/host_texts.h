// The host's own words, as the user sees them.
#pragma once

#include <cstdint>
#include <string>

#include "host/core/ui/display_text.h"

namespace host::texts {

// Box titles.
inline const DisplayText kTitleError = "エラー";
inline const DisplayText kTitleConfirm = "確認";
inline const DisplayText kTitleFinished = "処理終了";

// Conversion run.
inline const DisplayText kNoSourceFiles = "変換元ファイルがリストにありません。";
inline const DisplayText kConfirmRun = "変換を実行します。よろしいですか？";
inline const DisplayText kCannotOpenSource = "変換元ファイルをオープンできません。";
inline const DisplayText kCannotOpenTarget =
    "変換先のフォルダがないか、\n変換先ファイルをオープンできません。";

// Main window.
inline const DisplayText kNothingSelected = "削除するファイルが選択されていません。";

// `functionTitle` is the plug-in's Shift JIS title; paths are the system's own bytes.
DisplayText StepFailed(const std::string& functionTitle);
DisplayText ConfirmOverwrite(const std::string& path);
DisplayText FileFailed(const std::string& path);
DisplayText AllDone(std::int32_t errors);
DisplayText Cancelled(std::int32_t errors);
// Follows either on the command line, when some files had a step that failed.
DisplayText FilesWithFailedSteps(std::int32_t files);
// A final text with the number of binary files that text functions passed unchanged, when
// there were any (`final` as it is otherwise).
DisplayText WithSkippedBinary(DisplayText final, std::int32_t skipped);
// One line per such file, on the status line or the terminal, never in a box.
DisplayText SkippedBinary(const std::string& path);
DisplayText SourceTooLarge(const std::string& path);
DisplayText CannotReadSource(const std::string& path, const std::string& reason);
DisplayText CannotWriteTarget(const std::string& path, const std::string& reason);
// Runs over whole trees (the command line): a target an earlier source of the run was
// written to; a folder on the way to a target that could not be made; a backup of the file
// a result would replace that could not be made.
DisplayText TargetTaken(const std::string& target, const std::string& earlierSource,
                        const std::string& source);
DisplayText CannotCreateFolder(const std::string& folder, const std::string& reason);
DisplayText CannotBackUp(const std::string& target, const std::string& backup,
                         const std::string& reason);

// A function renamed a result that goes to standard output (a note, not a box).
DisplayText StreamNameNotUsed(const std::string& newName);

// Paths that cannot be handed to plug-ins in their 8-bit text (contract_path.h): a step whose
// table it is, skipped (a box); a result that keeps its name (a note).
DisplayText TableNotCarried(const std::string& functionTitle, const std::string& table);
DisplayText NameNotCarried(const std::string& functionTitle, const std::string& path);

// Settings lists: an explicit save that failed, shown in a box titled kTitleError.
DisplayText SettingsListNotSaved(const std::string& path, const std::string& reason);

}  // namespace host::texts
