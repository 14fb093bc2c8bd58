// The system's file and folder dialogs behind the main window's buttons and menu items, with
// the titles, default extensions and filters of the layout data. Paths come back in UTF-8.
#pragma once

#include <windows.h>

#include <optional>
#include <span>
#include <string_view>
#include <string>
#include <vector>

#include "host/layout/file_dialogs.h"

namespace win32gui {

// "追加(&A)...": several files; empty when cancelled.
std::vector<std::string> ChooseFilesToAdd(HWND owner);
// "出力先 ...": the system's folder browser rooted at the desktop, starting at `current`.
std::optional<std::string> BrowseForFolder(HWND owner, const std::string& current);
// "テーブル ..." and a run that needs a table, starting from `current`.
std::optional<std::string> SelectTableFile(HWND owner, const std::string& current);

enum class SettingsListUse { kLoad, kSave };
// "設定の読み込み(&O)..." and "現在の設定を保存(&S)..." (the latter confirms replacing a file).
std::optional<std::string> ChooseSettingsList(HWND owner, SettingsListUse use);

// The filter text of a file dialog: label and patterns of each filter, each followed by a
// zero, with one more zero at the end.
std::wstring FilterText(std::span<const layout::FileFilter> filters);

// What a dialog that lets several files be chosen leaves in its buffer, as full paths: one
// full path alone, or the folder followed by the names chosen in it, each ended by a zero,
// with one more zero at the end.
std::vector<std::wstring> ChosenPaths(std::wstring_view buffer);

}  // namespace win32gui
