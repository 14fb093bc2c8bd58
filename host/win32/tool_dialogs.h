// The dialogs of the host's tools and of Help on Windows, each a dialog resource of its own
// shown modally on `owner`. They only show what the core decides and hand back what the user
// chose; the tools' logic (the scan, the renames, the regular-expression run, the history)
// stays in the core.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "host/core/plugins/function_entry.h"
#include "host/core/run/run_options.h"
#include "host/core/tools/file_info_rows.h"
#include "host/core/tools/lowercase_file_name.h"
#include "host/core/ui/user_interface.h"

namespace win32gui {

// "機種依存文字スキャン(&O)...": the scan dialog over `paths` (a copy of the file list).
void ShowCharacterScan(HWND owner, host::UserInterface& ui, const std::vector<std::string>& paths);

// "ファイル名を小文字に変換(&L)...": the selection, or nothing when the user cancels.
std::optional<host::LowercaseSelection> AskLowercaseSelection(HWND owner);

// "正規表現による変換(&R)...": the command dialog with the history kept in `iniPath`; the
// command in Shift JIS, or nothing when the user cancels.
std::optional<std::string> AskRegexCommand(HWND owner, host::UserInterface& ui,
                                           const std::string& iniPath);

// "変換結果のプレビュー(&P)...": what the chain would make of the listed files, from file
// `first` on; nothing is written.
struct PreviewRequest {
    std::vector<std::string> paths;
    host::Chain chain;
    host::RunOptions options;
    std::size_t first = 0;
};
void ShowConversionPreview(HWND owner, const PreviewRequest& request);

// "文字コードの判定(&I)...": the table of every listed file's information.
void ShowFileInfo(HWND owner, const host::FileInfoRows& table);

// "バージョン情報(&A)...": the About box with the plug-ins' versions.
void ShowAboutBox(HWND owner, const std::string& pluginVersionText);

// "お読みください(&R)": the read-me beside `executablePath` in the system's viewer.
void OpenReadme(HWND owner, host::UserInterface& ui, const std::string& executablePath);

}  // namespace win32gui
