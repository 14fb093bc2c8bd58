// The regular-expression tool's command dialog: an editable field whose drop-down list offers
// the history, the examples, OK and Cancel. The history is read when the dialog opens and
// written back when it closes.
#pragma once

#include <QComboBox>
#include <QDialog>
#include <string>

#include "host/core/tools/regex_command_entry.h"
#include "host/core/ui/user_interface.h"

namespace gui {

// The command field. Opening its list fills it with the history anew (up to the first empty
// entry) and keeps what was typed; with no history the list does not open.
class HistoryCombo : public QComboBox {
  public:
    HistoryCombo(const host::RegexCommandEntry& entry, QWidget* parent);
    void showPopup() override;

  private:
    const host::RegexCommandEntry& entry_;
};

class RegexDialog : public QDialog {
  public:
    RegexDialog(host::RegexCommandEntry& entry, host::UserInterface& ui, QWidget* parent);

    // The accepted command in Shift JIS.
    const std::string& command() const { return command_; }

    // OK: a command over the length limit is refused with a message and the dialog stays
    // open; any other becomes the newest history entry.
    void accept() override;
    void done(int result) override;

  private:
    host::RegexCommandEntry& entry_;
    host::UserInterface& ui_;
    std::string command_;
};

}  // namespace gui
