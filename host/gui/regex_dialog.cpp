#include "host/gui/regex_dialog.h"

#include <optional>
#include <utility>

#include <QLineEdit>
#include <QPushButton>

#include "host/gui/dialog_builder.h"
#include "host/layout/tool_dialogs.h"
#include "platform/text_encoding.h"

namespace gui {

HistoryCombo::HistoryCombo(const host::RegexCommandEntry& entry, QWidget* parent)
    : QComboBox(parent), entry_(entry) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(8);
}

void HistoryCombo::showPopup() {
    if (entry_.history().front().empty()) {
        return;
    }
    const QString typed = currentText();
    clear();
    for (const std::string& command : entry_.DropDownEntries()) {
        addItem(QString::fromStdString(platform::Cp932ToUtf8(command)));
    }
    setEditText(typed);
    QComboBox::showPopup();
}

RegexDialog::RegexDialog(host::RegexCommandEntry& entry, host::UserInterface& ui, QWidget* parent)
    : QDialog(parent), entry_(entry), ui_(ui) {
    BuildDialog(*this, layout::kRegexDialog);
    // The field that knows the history takes the place of the plain one.
    QComboBox* plain = FindControl<QComboBox>(*this, layout::regex_control::kCommand);
    auto* combo = new HistoryCombo(entry_, this);
    combo->setObjectName(plain->objectName());
    combo->setGeometry(plain->geometry());
    delete plain;
    combo->setFocus();
    connect(FindControl<QPushButton>(*this, layout::kIdOk), &QPushButton::clicked, this,
            &RegexDialog::accept);
    connect(FindControl<QPushButton>(*this, layout::kIdCancel), &QPushButton::clicked, this,
            &QDialog::reject);
}

void RegexDialog::accept() {
    const std::string typed =
        FindControl<QComboBox>(*this, layout::regex_control::kCommand)->currentText().toStdString();
    std::optional<std::string> command = entry_.AcceptTyped(ui_, typed);
    if (!command) {
        return;
    }
    command_ = std::move(*command);
    QDialog::accept();
}

void RegexDialog::done(int result) {
    entry_.Close();
    QDialog::done(result);
}

}  // namespace gui
