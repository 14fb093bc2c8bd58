// The dialogs of the host's tools: the character scan, the file-name lower-casing, the
// regular-expression command, the conversion preview and the file information.
#pragma once

#include "host/layout/layout_model.h"

namespace layout {

// Ids the dialogs' code refers to, besides kIdOk and kIdCancel.
namespace scan_control {
inline constexpr int kKanaBox = 1011;
inline constexpr int kSpecialBox = 1012;
inline constexpr int kExtendedBox = 1013;
inline constexpr int kUserAreaBox = 1018;
inline constexpr int kUnifyBreaksBox = 1028;
inline constexpr int kResult = 1030;
inline constexpr int kScanButton = 1031;
}  // namespace scan_control

namespace lowercase_control {
inline constexpr int kAllFiles = 1021;
inline constexpr int kUpperExtension = 1022;
inline constexpr int kUpperName = 1023;
}  // namespace lowercase_control

namespace regex_control {
inline constexpr int kCommand = 1024;
}  // namespace regex_control

namespace preview_control {
inline constexpr int kBeforeLabel = 1040;
inline constexpr int kAfterLabel = 1041;
inline constexpr int kView = 1042;
inline constexpr int kSummary = 1043;
inline constexpr int kNextChange = 1044;
inline constexpr int kNextFile = 1045;
}  // namespace preview_control

namespace info_control {
inline constexpr int kTable = 1050;
inline constexpr int kSummary = 1051;
}  // namespace info_control

// clang-format off
namespace detail {
using K = ControlKind;

inline constexpr Control kScanControls[] = {
    {kNoId, K::kGroupBox, "スキャン対象(&T):", {7, 7, 155, 76}, 0, "targetGroup"},
    {scan_control::kKanaBox, K::kCheckBox, "半角カナ文字 （0xA0-0xFF）", {19, 21, 98, 10}},
    {scan_control::kSpecialBox, K::kCheckBox, "特殊文字 （0x8540-0x889E）", {19, 35, 98, 10}},
    {scan_control::kExtendedBox, K::kCheckBox, "特殊外字・拡張文字 （0xEB40-0xEFFC）",
     {19, 49, 133, 10}},
    {scan_control::kUserAreaBox, K::kCheckBox, "外字エリア （0xF040-0xFFFF）",
     {19, 63, 104, 10}},
    {scan_control::kUnifyBreaksBox, K::kCheckBox, "改行を統一する", {217, 71, 62, 10}},
    {kNoId, K::kText, "スキャン結果(&R):", {7, 89, 50, 8}, 0, "resultLabel"},
    {scan_control::kResult, K::kEdit, "", {7, 102, 287, 150},
     kMultiLine | kReadOnly | kBorder | kVerticalScroll},
    {scan_control::kScanButton, K::kPushButton, "スキャン(&S)", {244, 12, 50, 14}},
    {kIdCancel, K::kPushButton, "閉じる(&C)", {244, 30, 50, 14}},
};

inline constexpr Control kLowercaseControls[] = {
    {kNoId, K::kGroupBox, "変換対象", {7, 7, 157, 63}, 0, "targetGroup"},
    {lowercase_control::kAllFiles, K::kRadioButton, "すべてのファイル", {19, 23, 66, 10},
     kGroupStart},
    {lowercase_control::kUpperExtension, K::kRadioButton, "拡張子がすべて大文字のファイルのみ",
     {19, 37, 128, 10}},
    {lowercase_control::kUpperName, K::kRadioButton, "名前がすべて大文字のファイルのみ",
     {19, 51, 121, 10}},
    {kIdOk, K::kPushButton, "OK", {33, 78, 50, 14}, kDefaultButton},
    {kIdCancel, K::kPushButton, "キャンセル", {87, 78, 50, 14}},
};

inline constexpr Control kRegexControls[] = {
    {regex_control::kCommand, K::kComboBox, "", {7, 7, 208, 81}, kEditable | kVerticalScroll},
    {kNoId, K::kText,
     "正規表現の記述例:\n"
     "\n"
     "連続した半角数字を【】で括る\t\t→  s/(\\d+)/【$1】/gk\n"
     "全角数字を半角数字にする\t\t→  tr/０-９/0-9/k\n"
     "全角ひらがなを全角カタカナにする\t→  tr/ぁ-みむ-ん/ァ-ミム-ン/k",
     {7, 31, 208, 42}, 0, "examples"},
    {kIdOk, K::kPushButton, "OK", {59, 80, 50, 14}, kDefaultButton},
    {kIdCancel, K::kPushButton, "キャンセル", {112, 80, 50, 14}},
};

inline constexpr Control kPreviewControls[] = {
    {preview_control::kBeforeLabel, K::kText, "", {7, 7, 250, 8}, kNoPrefix},
    {preview_control::kAfterLabel, K::kText, "", {263, 7, 250, 8}, kNoPrefix},
    {preview_control::kView, K::kCompareView, "", {7, 18, 506, 258},
     kVerticalScroll | kHorizontalScroll | kBorder},
    {preview_control::kSummary, K::kText, "", {7, 281, 338, 18}, kNoPrefix | kWordWrap},
    {preview_control::kNextChange, K::kPushButton, "次の変更行(&N)", {349, 282, 52, 14}},
    {preview_control::kNextFile, K::kPushButton, "次のファイル(&F)", {405, 282, 54, 14}},
    {kIdCancel, K::kPushButton, "閉じる(&C)", {463, 282, 50, 14}},
};

inline constexpr Control kFileInfoControls[] = {
    {info_control::kTable, K::kTable, "", {7, 7, 506, 250}, kVerticalScroll | kHorizontalScroll},
    {info_control::kSummary, K::kText, "", {7, 264, 400, 8}, kNoPrefix},
    {kIdCancel, K::kPushButton, "閉じる(&C)", {463, 261, 50, 14}},
};
}  // namespace detail

inline constexpr Dialog kScanDialog{
    130, "シフトJIS 機種依存文字の探索", 301, 259, kDialogFont, Frame::kModal, kNoMenu,
    detail::kScanControls};
inline constexpr Dialog kLowercaseDialog{
    131, "ファイル名を小文字に変換", 171, 99, kDialogFont, Frame::kModal, kNoMenu,
    detail::kLowercaseControls};
inline constexpr Dialog kRegexDialog{
    132, "正規表現による変換", 222, 101, kDialogFont, Frame::kModal, kNoMenu,
    detail::kRegexControls};
inline constexpr Dialog kPreviewDialog{
    133, "変換結果のプレビュー", 520, 303, kDialogFont, Frame::kModal, kNoMenu,
    detail::kPreviewControls};
inline constexpr Dialog kFileInfoDialog{
    134, "文字コードの判定", 520, 282, kDialogFont, Frame::kModal, kNoMenu,
    detail::kFileInfoControls};
// clang-format on

}  // namespace layout
