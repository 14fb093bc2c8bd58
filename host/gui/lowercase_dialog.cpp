#include "host/gui/lowercase_dialog.h"

#include <QPushButton>
#include <QRadioButton>

#include "host/gui/dialog_builder.h"
#include "host/layout/tool_dialogs.h"

namespace gui {

LowercaseDialog::LowercaseDialog(QWidget* parent) : QDialog(parent) {
    BuildDialog(*this, layout::kLowercaseDialog);
    FindControl<QRadioButton>(*this, layout::lowercase_control::kAllFiles)->setChecked(true);
    connect(FindControl<QPushButton>(*this, layout::kIdOk), &QPushButton::clicked, this,
            &QDialog::accept);
    connect(FindControl<QPushButton>(*this, layout::kIdCancel), &QPushButton::clicked, this,
            &QDialog::reject);
}

host::LowercaseSelection LowercaseDialog::selection() const {
    if (FindControl<QRadioButton>(*this, layout::lowercase_control::kUpperExtension)->isChecked()) {
        return host::LowercaseSelection::kUpperExtension;
    }
    if (FindControl<QRadioButton>(*this, layout::lowercase_control::kUpperName)->isChecked()) {
        return host::LowercaseSelection::kUpperName;
    }
    return host::LowercaseSelection::kAllFiles;
}

}  // namespace gui
