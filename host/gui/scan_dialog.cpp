#include "host/gui/scan_dialog.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include "host/gui/tool_dialog_builder.h"

namespace gui {

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
    BuildToolDialog(*this, kScanDialog);
    for (const char* id : {tool_control::kScanKana, tool_control::kScanSpecial,
                           tool_control::kScanExtended, tool_control::kScanUserArea}) {
        ToolControl<QCheckBox>(*this, id)->setChecked(true);
    }
    ToolControl<QPlainTextEdit>(*this, tool_control::kScanResult)->setFont(ScanResultFont());
    connect(ToolControl<QPushButton>(*this, tool_control::kScanButton), &QPushButton::clicked, this,
            &ScanDialog::Scan);
    connect(ToolControl<QPushButton>(*this, tool_control::kCancel), &QPushButton::clicked, this,
            &QDialog::reject);
}

host::ScanOptions ScanDialog::options() const {
    auto on = [this](const char* id) { return ToolControl<QCheckBox>(*this, id)->isChecked(); };
    host::ScanOptions options;
    options.halfWidthKana = on(tool_control::kScanKana);
    options.specialRows = on(tool_control::kScanSpecial);
    options.extendedArea = on(tool_control::kScanExtended);
    options.userArea = on(tool_control::kScanUserArea);
    options.unifyLineBreaks = on(tool_control::kScanUnifyBreaks);
    return options;
}

void ScanDialog::Scan() {
    const host::ScanReport report = host::ScanFiles(ui_, paths_, options());
    if (!report.ran) {
        return;
    }
    QString text = QString::fromStdString(report.text.utf8());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    ToolControl<QPlainTextEdit>(*this, tool_control::kScanResult)->setPlainText(text);
}

}  // namespace gui
