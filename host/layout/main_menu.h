// The main window's menu bar as data: four menus of items, each with its text ("&" before the
// access key) and command id, and separators between groups of items. Also the item that the
// window adds to its system menu.
#pragma once

#include <span>

#include "host/layout/main_dialog.h"

namespace layout {

namespace command {
inline constexpr int kExit = kIdCancel;
inline constexpr int kAddFiles = 32771;
inline constexpr int kDeleteFiles = 32772;
inline constexpr int kDeleteAllFiles = 32773;
inline constexpr int kAbout = 32774;
inline constexpr int kReadMe = 32775;
inline constexpr int kReloadPlugins = 32776;
inline constexpr int kLoadSettingsList = 32777;
inline constexpr int kSaveSettingsList = 32778;
inline constexpr int kCharacterScan = 32779;
inline constexpr int kLowerCaseNames = 32780;
inline constexpr int kRegexConversion = 32781;
inline constexpr int kConversionPreview = 32782;
inline constexpr int kFileInfo = 32783;
}  // namespace command

struct MenuItem {
    const char* text;  // null for a separator
    int commandId;

    constexpr bool separator() const { return text == nullptr; }
};

struct Menu {
    const char* title;
    std::span<const MenuItem> items;
};

struct MenuBar {
    int resourceId;
    std::span<const Menu> menus;
};

// The About item of the system menu: its text is a string resource of its own.
struct SystemMenuItem {
    int stringId;
    int commandId;
    const char* text;
};
inline constexpr SystemMenuItem kSystemMenuAbout{101, 16, "バージョン情報(&A)..."};

namespace detail {
inline constexpr MenuItem kSeparator{nullptr, 0};

inline constexpr MenuItem kFileMenu[] = {
    {"設定の読み込み(&O)...", command::kLoadSettingsList},
    {"現在の設定を保存(&S)...", command::kSaveSettingsList},
    kSeparator,
    {"終了(&X)", command::kExit},
};
inline constexpr MenuItem kListMenu[] = {
    {"追加(&A)...", command::kAddFiles},
    {"削除(&D)", command::kDeleteFiles},
    kSeparator,
    {"すべて削除(&R)", command::kDeleteAllFiles},
};
inline constexpr MenuItem kToolsMenu[] = {
    {"機種依存文字スキャン(&O)...", command::kCharacterScan},
    kSeparator,
    {"ファイル名を小文字に変換(&L)...", command::kLowerCaseNames},
    {"正規表現による変換(&R)...", command::kRegexConversion},
    kSeparator,
    {"変換結果のプレビュー(&P)...", command::kConversionPreview},
    {"文字コードの判定(&I)...", command::kFileInfo},
};
inline constexpr MenuItem kHelpMenu[] = {
    {"お読みください(&R)", command::kReadMe},
    kSeparator,
    {"プラグインDLLの更新(&R)", command::kReloadPlugins},
    kSeparator,
    {"バージョン情報(&A)...", command::kAbout},
};

inline constexpr Menu kMenus[] = {
    {"ファイル(&F)", kFileMenu},
    {"リスト(&L)", kListMenu},
    {"ツール(&T)", kToolsMenu},
    {"ヘルプ(&H)", kHelpMenu},
};
}  // namespace detail

inline constexpr MenuBar kMainMenu{kMainMenuId, detail::kMenus};

}  // namespace layout
