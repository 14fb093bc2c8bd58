#include "host/gui/about_box.h"

#include <algorithm>

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "host/core/tools/about_text.h"
#include "host/gui/dialog_builder.h"
#include "host/layout/about_dialog.h"

namespace gui {

AboutBox::AboutBox(const std::string& pluginVersionText, QWidget* parent) : QDialog(parent) {
    BuildDialog(*this, layout::kAboutDialog);
    auto* icon = FindControl<QLabel>(*this, "icon");
    const QIcon windowIcon = parent != nullptr ? parent->windowIcon() : QIcon();
    icon->setPixmap(windowIcon.pixmap(icon->size().boundedTo(QSize(32, 32))));
    auto* stamp = FindControl<QLabel>(*this, layout::about_control::kBuildStamp);
    stamp->setText(QString::fromStdString(host::BuildStamp()));
    stamp->resize(std::max(stamp->width(), stamp->sizeHint().width()), stamp->height());
    QString versions = QString::fromStdString(pluginVersionText);
    versions.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (versions.endsWith('\n')) {
        versions.chop(1);
    }
    auto* field = FindControl<QPlainTextEdit>(*this, layout::about_control::kPluginVersions);
    field->setLineWrapMode(QPlainTextEdit::NoWrap);
    field->setPlainText(versions);
    connect(FindControl<QPushButton>(*this, layout::kIdOk), &QPushButton::clicked, this,
            &QDialog::accept);
}

}  // namespace gui
