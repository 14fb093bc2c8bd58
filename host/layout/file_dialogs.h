// The main window's file dialogs: title, default extension and filters. A filter is the label
// the user reads and its patterns in the Windows notation, separated by ";" ("*.htm;*.html"),
// where "*.*" stands for every name, one without an extension too. Each window turns them into
// its own dialog's terms.
#pragma once

#include <span>

namespace layout {

struct FileFilter {
    const char* label;     // UTF-8
    const char* patterns;  // "*.txt;*.tbl"
};

struct FileDialog {
    const char* title;             // UTF-8; nullptr leaves the toolkit's own title
    const char* defaultExtension;  // without the point; nullptr for none
    std::span<const FileFilter> filters;
};

namespace detail {
inline constexpr FileFilter kAllFilesFilter{"すべてのファイル (*.*)", "*.*"};

inline constexpr FileFilter kAddFilesFilters[] = {
    kAllFilesFilter,
    {"テキスト ファイル (*.txt)", "*.txt"},
    {"HTML ファイル (*.htm;*.html)", "*.htm;*.html"},
};
inline constexpr FileFilter kTableFilters[] = {
    {"変換テーブルファイル (*.txt;*.tbl;*.dic;*.re)", "*.txt;*.tbl;*.dic;*.re"},
    kAllFilesFilter,
};
inline constexpr FileFilter kSettingsListFilters[] = {
    {"設定ファイル (*.pzl)", "*.pzl"},
    kAllFilesFilter,
};
}  // namespace detail

// "出力先 ...": the folder browser's title.
inline constexpr const char* kFolderBrowserTitle = "どのフォルダを選びますか？";

// "追加(&A)...": several files.
inline constexpr FileDialog kAddFilesDialog{"ファイルの選択", nullptr, detail::kAddFilesFilters};
// "テーブル ..." and a run that needs a table.
inline constexpr FileDialog kTableDialog{"変換テーブルの選択", "txt", detail::kTableFilters};
// "設定の読み込み(&O)..." and "現在の設定を保存(&S)...".
inline constexpr FileDialog kSettingsListDialog{nullptr, "pzl", detail::kSettingsListFilters};

}  // namespace layout
