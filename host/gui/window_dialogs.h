// The window's file and folder dialogs, with their titles and filters. Paths come back as the
// system's bytes.
#pragma once

#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace gui {

// "ファイルの選択": several files; empty when cancelled.
std::vector<std::string> ChooseFilesToAdd(QWidget* owner);
// "どのフォルダを選びますか？": a folder, starting at `current` (or the desktop).
std::optional<std::string> BrowseForFolder(QWidget* owner, const std::string& current);
// "変換テーブルの選択": a table file, `current` offered first.
std::optional<std::string> SelectTableFile(QWidget* owner, const std::string& current);
// A settings-list file (".pzl") to load, or to save to; saving over a file asks first.
std::optional<std::string> ChooseSettingsList(QWidget* owner, bool forSaving);

}  // namespace gui
