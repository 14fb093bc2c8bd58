// The dialogs of the host's tools as data: title, size and font, and every control with its
// id, kind, text and rectangle in dialog units.
#pragma once

#include <span>

namespace gui {

enum class ToolControlKind {
    kGroupBox,
    kCheckBox,
    kRadioButton,  // an automatic radio button; the first of a dialog starts its group
    kPushButton,
    kDefaultPushButton,  // Enter presses it
    kStaticText,         // text shown as it stands, without "&" marking a mnemonic
    kLabel,              // text with "&" marking a mnemonic
    kResultField,        // multi-line, read-only, with a border and a vertical scroll bar
    kCommandCombo,       // editable field with a drop-down list and a vertical scroll bar
    kIcon,               // the program's icon
};

struct ToolControlLayout {
    const char* name;  // the control's id, or a name for one that has none
    ToolControlKind kind;
    const char* text;
    int left, top, width, height;  // dialog units
};

struct ToolDialogLayout {
    const char* title;
    int width, height;  // dialog units
    std::span<const ToolControlLayout> controls;
};

// Ids the dialogs' code refers to.
namespace tool_control {
inline constexpr const char* kOk = "1";
inline constexpr const char* kCancel = "2";
inline constexpr const char* kScanKana = "1011";
inline constexpr const char* kScanSpecial = "1012";
inline constexpr const char* kScanExtended = "1013";
inline constexpr const char* kScanUserArea = "1018";
inline constexpr const char* kScanUnifyBreaks = "1028";
inline constexpr const char* kScanResult = "1030";
inline constexpr const char* kScanButton = "1031";
inline constexpr const char* kAllFiles = "1021";
inline constexpr const char* kUpperExtension = "1022";
inline constexpr const char* kUpperName = "1023";
inline constexpr const char* kCommand = "1024";
inline constexpr const char* kPluginVersions = "1015";
inline constexpr const char* kBuildStamp = "1020";
}  // namespace tool_control

using K = ToolControlKind;
namespace id = tool_control;

inline constexpr ToolControlLayout kScanControls[] = {
    {"targetGroup", K::kGroupBox, "スキャン対象(&T):", 7, 7, 155, 76},
    {id::kScanKana, K::kCheckBox, "半角カナ文字 （0xA0-0xFF）", 19, 21, 98, 10},
    {id::kScanSpecial, K::kCheckBox, "特殊文字 （0x8540-0x889E）", 19, 35, 98, 10},
    {id::kScanExtended, K::kCheckBox, "特殊外字・拡張文字 （0xEB40-0xEFFC）", 19, 49, 133, 10},
    {id::kScanUserArea, K::kCheckBox, "外字エリア （0xF040-0xFFFF）", 19, 63, 104, 10},
    {id::kScanUnifyBreaks, K::kCheckBox, "改行を統一する", 217, 71, 62, 10},
    {"resultLabel", K::kLabel, "スキャン結果(&R):", 7, 89, 50, 8},
    {id::kScanResult, K::kResultField, "", 7, 102, 287, 150},
    {id::kScanButton, K::kPushButton, "スキャン(&S)", 244, 12, 50, 14},
    {id::kCancel, K::kPushButton, "閉じる(&C)", 244, 30, 50, 14},
};
inline constexpr ToolDialogLayout kScanDialog = {"シフトJIS 機種依存文字の探索", 301, 259,
                                                 kScanControls};

inline constexpr ToolControlLayout kLowercaseControls[] = {
    {"targetGroup", K::kGroupBox, "変換対象", 7, 7, 157, 63},
    {id::kAllFiles, K::kRadioButton, "すべてのファイル", 19, 23, 66, 10},
    {id::kUpperExtension, K::kRadioButton, "拡張子がすべて大文字のファイルのみ", 19, 37, 128, 10},
    {id::kUpperName, K::kRadioButton, "名前がすべて大文字のファイルのみ", 19, 51, 121, 10},
    {id::kOk, K::kDefaultPushButton, "OK", 33, 78, 50, 14},
    {id::kCancel, K::kPushButton, "キャンセル", 87, 78, 50, 14},
};
inline constexpr ToolDialogLayout kLowercaseDialog = {"ファイル名を小文字に変換", 171, 99,
                                                      kLowercaseControls};

inline constexpr ToolControlLayout kRegexControls[] = {
    {id::kCommand, K::kCommandCombo, "", 7, 7, 208, 81},
    {"examples", K::kStaticText,
     "正規表現の記述例:\n"
     "\n"
     "連続した半角数字を【】で括る\t\t→  s/(\\d+)/【$1】/gk\n"
     "全角数字を半角数字にする\t\t→  tr/０-９/0-9/k\n"
     "全角ひらがなを全角カタカナにする\t→  tr/ぁ-みむ-ん/ァ-ミム-ン/k",
     7, 31, 208, 42},
    {id::kOk, K::kDefaultPushButton, "OK", 59, 80, 50, 14},
    {id::kCancel, K::kPushButton, "キャンセル", 112, 80, 50, 14},
};
inline constexpr ToolDialogLayout kRegexDialog = {"正規表現による変換", 222, 101, kRegexControls};

inline constexpr ToolControlLayout kAboutControls[] = {
    {"icon", K::kIcon, "", 11, 9, 20, 21},
    {"name", K::kStaticText, "Polyshift", 39, 10, 70, 8},
    {id::kBuildStamp, K::kLabel, "", 39, 20, 99, 8},
    {"version", K::kLabel, "Ver.1.0.0.5", 39, 30, 30, 8},
    {"pluginGroup", K::kGroupBox, "プラグイン情報", 22, 76, 121, 94},
    {id::kPluginVersions, K::kResultField, "", 29, 89, 106, 75},
    {id::kOk, K::kDefaultPushButton, "OK", 64, 177, 36, 14},
};
inline constexpr ToolDialogLayout kAboutBox = {"バージョン情報", 165, 198, kAboutControls};

}  // namespace gui
