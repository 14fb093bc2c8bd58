// The character scan's dialog: five check boxes for what to look for, the scan button and the
// read-only report in a fixed-width Japanese font. It reads the listed files and changes none.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "host/core/tools/character_scan.h"
#include "host/core/ui/user_interface.h"

namespace gui {

class ScanDialog : public QDialog {
  public:
    // `paths` are the file list's entries, copied when the dialog opens.
    ScanDialog(std::vector<std::string> paths, host::UserInterface& ui, QWidget* parent);

    // The options as the check boxes stand.
    host::ScanOptions options() const;
    // The scan button.
    void Scan();

  private:
    std::vector<std::string> paths_;
    host::UserInterface& ui_;
};

// The result field's font: fixed-width, with the Japanese characters.
QFont ScanResultFont();

}  // namespace gui
