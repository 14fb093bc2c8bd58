// The main window as a dialog: the file list with its group, the options, the chain and the
// function list, the output folder and table fields, the status line, the progress bar and
// the run button.
#pragma once

#include "host/layout/layout_model.h"

namespace layout {

inline constexpr int kMainMenuId = 129;

// Ids the window's code refers to.
namespace main_control {
inline constexpr int kFunctionList = 1000;
inline constexpr int kFileList = 1001;
inline constexpr int kOutputButton = 1005;
inline constexpr int kTableButton = 1006;
inline constexpr int kOutputField = 1007;
inline constexpr int kTableField = 1008;
inline constexpr int kUpButton = 1009;
inline constexpr int kDownButton = 1010;
inline constexpr int kRunButton = 1011;
inline constexpr int kProgressBar = 1012;
inline constexpr int kOverWriteBox = 1013;
inline constexpr int kNoOutputBox = 1014;
inline constexpr int kStatusLine = 1017;
inline constexpr int kChainList = 1019;
}  // namespace main_control

namespace detail {
using K = ControlKind;
namespace id = main_control;

// clang-format off
inline constexpr Control kMainControls[] = {
    {kNoId, K::kEtchedLine, "", {0, 0, 378, 1}, 0, "menuLine"},
    {kNoId, K::kGroupBox, "入力ファイル リスト", {7, 7, 241, 202}, 0, "fileGroup"},
    {id::kFileList, K::kListBox, "", {13, 20, 228, 181},
     kSorted | kExtendedSelection | kVerticalScroll | kHorizontalScroll | kScrollBarsAlways |
         kNotify},
    {kNoId, K::kGroupBox, "処理の選択", {254, 7, 118, 264}, 0, "optionGroup"},
    {id::kOverWriteBox, K::kCheckBox, "常に変換元に上書きする", {260, 21, 88, 10}},
    {id::kNoOutputBox, K::kCheckBox, "無変換のファイルは出力しない", {260, 34, 105, 10}},
    {id::kChainList, K::kListBox, "", {259, 47, 94, 82},
     kVerticalScroll | kHorizontalScroll | kNotify},
    {id::kUpButton, K::kPushButton, "▲", {355, 47, 12, 40}},
    {id::kDownButton, K::kPushButton, "▼", {355, 89, 12, 40}},
    {id::kFunctionList, K::kCheckListBox, "", {259, 132, 108, 134},
     kVerticalScroll | kHorizontalScroll | kNotify},
    {id::kOutputButton, K::kPushButton, "出力先 ...", {7, 216, 37, 14}},
    {id::kOutputField, K::kEdit, "", {45, 217, 202, 12}, kReadOnly | kBorder},
    {id::kTableButton, K::kPushButton, "テーブル ...", {7, 235, 37, 14}},
    {id::kTableField, K::kEdit, "", {45, 236, 202, 12}, kReadOnly | kBorder},
    {id::kStatusLine, K::kText, "", {7, 255, 243, 19}, kWordWrap},
    {id::kProgressBar, K::kProgressBar, "", {7, 276, 299, 14}},
    {id::kRunButton, K::kPushButton, "変換実行", {310, 275, 62, 15}},
};
}  // namespace detail

inline constexpr Dialog kMainDialog{
    102, "Polyshift", 379, 297, kDialogFont, Frame::kMainWindow, kMainMenuId,
    detail::kMainControls};
// clang-format on

}  // namespace layout
