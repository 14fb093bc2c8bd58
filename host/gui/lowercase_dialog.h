// The file-name lower-casing dialog: which files to rename, "すべてのファイル" each time it opens.
#pragma once

#include <QDialog>

#include "host/core/tools/lowercase_file_name.h"

namespace gui {

class LowercaseDialog : public QDialog {
  public:
    explicit LowercaseDialog(QWidget* parent);

    // The selection as the radio buttons stand.
    host::LowercaseSelection selection() const;
};

}  // namespace gui
