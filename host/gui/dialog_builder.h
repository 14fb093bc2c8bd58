// Turns a dialog of the layout model into Qt widgets: every control as the widget of its kind,
// set up as its style flags say, named by its id (or by its name where it has none) and placed
// at its rectangle in dialog units of the dialog's font. The main window and every tool dialog
// and box are built this way; their code then finds its controls by id.
#pragma once

#include <QDialog>
#include <QString>

#include "host/layout/layout_model.h"

namespace gui {

// Builds the controls of `dialog` into `parent`, gives `parent` the dialog's font and fixes its
// size to the dialog's.
void BuildControls(QWidget& parent, const layout::Dialog& dialog);

// A dialog window: the title, modal, and the controls.
void BuildDialog(QDialog& window, const layout::Dialog& dialog);

// The object name of a control: its id in decimal, or its name when it has no id.
QString ObjectName(const layout::Control& control);

template <typename Widget>
Widget* FindControl(const QWidget& parent, int id) {
    return parent.findChild<Widget*>(QString::number(id));
}

template <typename Widget>
Widget* FindControl(const QWidget& parent, const char* name) {
    return parent.findChild<Widget*>(QString::fromLatin1(name));
}

}  // namespace gui
