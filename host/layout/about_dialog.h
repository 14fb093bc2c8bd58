// The About box: the program's icon, name, build stamp and version, and the versions of the
// loaded plug-ins.
#pragma once

#include "host/layout/layout_model.h"

namespace layout {

namespace about_control {
inline constexpr int kPluginVersions = 1015;
inline constexpr int kBuildStamp = 1020;  // its text is replaced when the box opens
}  // namespace about_control

// clang-format off
namespace detail {
using K = ControlKind;

inline constexpr Control kAboutControls[] = {
    {kNoId, K::kIcon, "", {11, 9, 20, 21}, 0, "icon"},
    {kNoId, K::kText, "Polyshift", {39, 10, 70, 8}, kNoPrefix, "name"},
    {about_control::kBuildStamp, K::kText, "", {39, 20, 99, 8}},
    {kNoId, K::kText, "Ver.1.0.0.5", {39, 30, 30, 8}, 0, "version"},
    {kNoId, K::kGroupBox, "プラグイン情報", {22, 76, 121, 94}, 0, "pluginGroup"},
    {about_control::kPluginVersions, K::kEdit, "", {29, 89, 106, 75},
     kMultiLine | kReadOnly | kVerticalScroll},
    {kIdOk, K::kPushButton, "OK", {64, 177, 36, 14}, kDefaultButton},
};
}  // namespace detail

inline constexpr Dialog kAboutDialog{
    100, "バージョン情報", 165, 198, kDialogFont, Frame::kModal, kNoMenu,
    detail::kAboutControls};
// clang-format on

}  // namespace layout
