// Every dialog of the program in one list, in the order of their resource ids, for whoever
// writes or checks them all.
#pragma once

#include "host/layout/about_dialog.h"
#include "host/layout/main_dialog.h"
#include "host/layout/tool_dialogs.h"

namespace layout {

inline constexpr const Dialog* kAllDialogs[] = {
    &kAboutDialog,  &kMainDialog,    &kScanDialog,     &kLowercaseDialog,
    &kRegexDialog,  &kPreviewDialog, &kFileInfoDialog,
};

}  // namespace layout
