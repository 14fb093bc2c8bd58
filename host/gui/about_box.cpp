#include "host/gui/about_box.h"

#include <algorithm>

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "host/core/about_text.h"
#include "host/gui/tool_dialog_builder.h"

namespace gui {

AboutBox::AboutBox(const std::string& pluginVersionText, QWidget* parent) : QDialog(parent) {
    BuildToolDialog(*this, kAboutBox);
    auto* icon = ToolControl<QLabel>(*this, "icon");
    const QIcon windowIcon = parent != nullptr ? parent->windowIcon() : QIcon();
    icon->setPixmap(windowIcon.pixmap(icon->size().boundedTo(QSize(32, 32))));
    auto* stamp = ToolControl<QLabel>(*this, tool_control::kBuildStamp);
    stamp->setText(QString::fromStdString(host::BuildStamp()));
    stamp->resize(std::max(stamp->width(), stamp->sizeHint().width()), stamp->height());
    QString versions = QString::fromStdString(pluginVersionText);
    versions.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (versions.endsWith('\n')) {
        versions.chop(1);
    }
    auto* field = ToolControl<QPlainTextEdit>(*this, tool_control::kPluginVersions);
    field->setLineWrapMode(QPlainTextEdit::NoWrap);
    field->setPlainText(versions);
    connect(ToolControl<QPushButton>(*this, tool_control::kOk), &QPushButton::clicked, this,
            &QDialog::accept);
}

}  // namespace gui
