#include "host/gui/lowercase_dialog.h"

#include <QPushButton>
#include <QRadioButton>

#include "host/gui/tool_dialog_builder.h"

namespace gui {

LowercaseDialog::LowercaseDialog(QWidget* parent) : QDialog(parent) {
    BuildToolDialog(*this, kLowercaseDialog);
    ToolControl<QRadioButton>(*this, tool_control::kAllFiles)->setChecked(true);
    connect(ToolControl<QPushButton>(*this, tool_control::kOk), &QPushButton::clicked, this,
            &QDialog::accept);
    connect(ToolControl<QPushButton>(*this, tool_control::kCancel), &QPushButton::clicked, this,
            &QDialog::reject);
}

host::LowercaseSelection LowercaseDialog::selection() const {
    if (ToolControl<QRadioButton>(*this, tool_control::kUpperExtension)->isChecked()) {
        return host::LowercaseSelection::kUpperExtension;
    }
    if (ToolControl<QRadioButton>(*this, tool_control::kUpperName)->isChecked()) {
        return host::LowercaseSelection::kUpperName;
    }
    return host::LowercaseSelection::kAllFiles;
}

}  // namespace gui
