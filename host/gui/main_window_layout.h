// The main window as data: every control with its id, kind, text and rectangle in dialog
// units, and the menu with its texts and command ids.
#pragma once

#include <span>

namespace gui {

inline constexpr const char* kWindowTitle = "Polyshift";
inline constexpr int kDialogWidth = 379;  // dialog units
inline constexpr int kDialogHeight = 297;
inline constexpr const char* kDialogFontFamily = "ＭＳ Ｐゴシック";
inline constexpr int kDialogFontPoints = 9;

enum class ControlKind {
    kEtchedLine,
    kGroupBox,
    kListBox,       // the file list: several items selectable, both scroll bars always shown
    kChainBox,      // the chain: one item selectable
    kCheckListBox,  // the function list: a check box before each item
    kCheckBox,
    kPushButton,
    kReadOnlyField,
    kStaticText,
    kProgressBar,
};

struct ControlLayout {
    const char* name;  // the control's id, or a name for one that has none
    ControlKind kind;
    const char* text;
    int left, top, width, height;  // dialog units
};

// Control ids the window's code refers to.
namespace control {
inline constexpr const char* kFunctionList = "1000";
inline constexpr const char* kFileList = "1001";
inline constexpr const char* kOutputButton = "1005";
inline constexpr const char* kTableButton = "1006";
inline constexpr const char* kOutputField = "1007";
inline constexpr const char* kTableField = "1008";
inline constexpr const char* kUpButton = "1009";
inline constexpr const char* kDownButton = "1010";
inline constexpr const char* kRunButton = "1011";
inline constexpr const char* kProgressBar = "1012";
inline constexpr const char* kOverWriteBox = "1013";
inline constexpr const char* kNoOutputBox = "1014";
inline constexpr const char* kStatusLine = "1017";
inline constexpr const char* kChainList = "1019";
}  // namespace control

inline constexpr ControlLayout kControls[] = {
    {"menuLine", ControlKind::kEtchedLine, "", 0, 0, 378, 1},
    {"fileGroup", ControlKind::kGroupBox, "入力ファイル リスト", 7, 7, 241, 202},
    {control::kFileList, ControlKind::kListBox, "", 13, 20, 228, 181},
    {"optionGroup", ControlKind::kGroupBox, "処理の選択", 254, 7, 118, 264},
    {control::kOverWriteBox, ControlKind::kCheckBox, "常に変換元に上書きする", 260, 21, 88, 10},
    {control::kNoOutputBox, ControlKind::kCheckBox, "無変換のファイルは出力しない", 260, 34, 105,
     10},
    {control::kChainList, ControlKind::kChainBox, "", 259, 47, 94, 82},
    {control::kUpButton, ControlKind::kPushButton, "▲", 355, 47, 12, 40},
    {control::kDownButton, ControlKind::kPushButton, "▼", 355, 89, 12, 40},
    {control::kFunctionList, ControlKind::kCheckListBox, "", 259, 132, 108, 134},
    {control::kOutputButton, ControlKind::kPushButton, "出力先 ...", 7, 216, 37, 14},
    {control::kOutputField, ControlKind::kReadOnlyField, "", 45, 217, 202, 12},
    {control::kTableButton, ControlKind::kPushButton, "テーブル ...", 7, 235, 37, 14},
    {control::kTableField, ControlKind::kReadOnlyField, "", 45, 236, 202, 12},
    {control::kStatusLine, ControlKind::kStaticText, "", 7, 255, 243, 19},
    {control::kProgressBar, ControlKind::kProgressBar, "", 7, 276, 299, 14},
    {control::kRunButton, ControlKind::kPushButton, "変換実行", 310, 275, 62, 15},
};

// Menu command ids.
namespace command {
inline constexpr int kExit = 2;
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
}  // namespace command

struct MenuItemLayout {
    const char* text;  // null for a separator
    int commandId;
};

struct MenuLayout {
    const char* title;
    std::span<const MenuItemLayout> items;
};

inline constexpr MenuItemLayout kSeparator{nullptr, 0};

inline constexpr MenuItemLayout kFileMenu[] = {
    {"設定の読み込み(&O)...", command::kLoadSettingsList},
    {"現在の設定を保存(&S)...", command::kSaveSettingsList},
    kSeparator,
    {"終了(&X)", command::kExit},
};
inline constexpr MenuItemLayout kListMenu[] = {
    {"追加(&A)...", command::kAddFiles},
    {"削除(&D)", command::kDeleteFiles},
    kSeparator,
    {"すべて削除(&R)", command::kDeleteAllFiles},
};
inline constexpr MenuItemLayout kToolsMenu[] = {
    {"機種依存文字スキャン(&O)...", command::kCharacterScan},
    kSeparator,
    {"ファイル名を小文字に変換(&L)...", command::kLowerCaseNames},
    {"正規表現による変換(&R)...", command::kRegexConversion},
};
inline constexpr MenuItemLayout kHelpMenu[] = {
    {"お読みください(&R)", command::kReadMe},
    kSeparator,
    {"プラグインDLLの更新(&R)", command::kReloadPlugins},
    kSeparator,
    {"バージョン情報(&A)...", command::kAbout},
};

inline constexpr MenuLayout kMenus[] = {
    {"ファイル(&F)", kFileMenu},
    {"リスト(&L)", kListMenu},
    {"ツール(&T)", kToolsMenu},
    {"ヘルプ(&H)", kHelpMenu},
};

}  // namespace gui
