// Builds a tool dialog from its layout: the dialog's title, font and fixed size, and every
// control named by its id and placed by the same dialog-unit rule as the main window.
#pragma once

#include <QDialog>
#include <QString>

#include "host/gui/tool_dialog_layout.h"

namespace gui {

void BuildToolDialog(QDialog& dialog, const ToolDialogLayout& dialogLayout);

// The control of `dialog` with the id `id`.
template <typename Control>
Control* ToolControl(const QDialog& dialog, const char* id) {
    return dialog.findChild<Control*>(QString::fromLatin1(id));
}

}  // namespace gui
