#include "host/gui/scan_dialog.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include "host/gui/dialog_builder.h"
#include "host/layout/tool_dialogs.h"

namespace gui {
namespace {
namespace id = layout::scan_control;
}  // namespace

QFont ScanResultFont() {
    QFont font;
    font.setFamilies({QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP"),
                      QStringLiteral("monospace")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(14);
    return font;
}

ScanDialog::ScanDialog(std::vector<std::string> paths, host::UserInterface& ui, QWidget* parent)
    : QDialog(parent), paths_(std::move(paths)), ui_(ui) {
    BuildDialog(*this, layout::kScanDialog);
    for (int control : {id::kKanaBox, id::kSpecialBox, id::kExtendedBox, id::kUserAreaBox}) {
        FindControl<QCheckBox>(*this, control)->setChecked(true);
    }
    FindControl<QPlainTextEdit>(*this, id::kResult)->setFont(ScanResultFont());
    connect(FindControl<QPushButton>(*this, id::kScanButton), &QPushButton::clicked, this,
            &ScanDialog::Scan);
    connect(FindControl<QPushButton>(*this, layout::kIdCancel), &QPushButton::clicked, this,
            &QDialog::reject);
}

host::ScanOptions ScanDialog::options() const {
    auto on = [this](int control) { return FindControl<QCheckBox>(*this, control)->isChecked(); };
    host::ScanOptions options;
    options.halfWidthKana = on(id::kKanaBox);
    options.specialRows = on(id::kSpecialBox);
    options.extendedArea = on(id::kExtendedBox);
    options.userArea = on(id::kUserAreaBox);
    options.unifyLineBreaks = on(id::kUnifyBreaksBox);
    return options;
}

void ScanDialog::Scan() {
    const host::ScanReport report = host::ScanFiles(ui_, paths_, options());
    if (!report.ran) {
        return;
    }
    QString text = QString::fromStdString(report.text.utf8());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    FindControl<QPlainTextEdit>(*this, id::kResult)->setPlainText(text);
}

}  // namespace gui
