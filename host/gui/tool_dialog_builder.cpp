#include "host/gui/tool_dialog_builder.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "host/gui/dialog_units.h"

namespace gui {
namespace {

QWidget* CreateControl(const ToolControlLayout& item, QDialog& dialog) {
    const QString text = QString::fromUtf8(item.text);
    switch (item.kind) {
        case ToolControlKind::kGroupBox:
            return new QGroupBox(text, &dialog);
        case ToolControlKind::kCheckBox:
            return new QCheckBox(text, &dialog);
        case ToolControlKind::kRadioButton:
            return new QRadioButton(text, &dialog);  // siblings form one exclusive group
        case ToolControlKind::kPushButton:
        case ToolControlKind::kDefaultPushButton: {
            auto* button = new QPushButton(text, &dialog);
            button->setAutoDefault(false);
            button->setDefault(item.kind == ToolControlKind::kDefaultPushButton);
            return button;
        }
        case ToolControlKind::kStaticText: {
            auto* label = new QLabel(text, &dialog);
            label->setTextFormat(Qt::PlainText);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            return label;
        }
        case ToolControlKind::kLabel: {
            auto* label = new QLabel(text, &dialog);
            label->setTextFormat(Qt::PlainText);
            return label;
        }
        case ToolControlKind::kResultField: {
            auto* field = new QPlainTextEdit(&dialog);
            field->setReadOnly(true);
            field->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            field->setLineWrapMode(QPlainTextEdit::WidgetWidth);
            return field;
        }
        case ToolControlKind::kCommandCombo: {
            auto* combo = new QComboBox(&dialog);
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
            return combo;
        }
        case ToolControlKind::kIcon: {
            auto* icon = new QLabel(&dialog);
            icon->setAlignment(Qt::AlignCenter);
            return icon;
        }
    }
    return nullptr;
}

}  // namespace

void BuildToolDialog(QDialog& dialog, const ToolDialogLayout& dialogLayout) {
    dialog.setWindowTitle(QString::fromUtf8(dialogLayout.title));
    dialog.setFont(DialogFont());
    dialog.setModal(true);
    const DialogUnits units(dialog.font());
    QLabel* lastLabel = nullptr;
    for (const ToolControlLayout& item : dialogLayout.controls) {
        QWidget* control = CreateControl(item, dialog);
        control->setObjectName(QString::fromLatin1(item.name));
        QRect rect = units.rect(item.left, item.top, item.width, item.height);
        if (item.kind == ToolControlKind::kCommandCombo) {
            // The height includes the drop-down list, which opens below the field.
            auto* combo = static_cast<QComboBox*>(control);
            rect.setHeight(combo->sizeHint().height());
            combo->setMaxVisibleItems(8);
        }
        const bool oneLineText =
            (item.kind == ToolControlKind::kLabel || item.kind == ToolControlKind::kStaticText) &&
            !QString::fromUtf8(item.text).contains('\n');
        if (oneLineText) {
            // This font may draw a line wider than the original one: never cut it off.
            rect.setWidth(std::max(rect.width(), control->sizeHint().width()));
        }
        control->setGeometry(rect);
        // A label's "&" mnemonic moves the focus to the control after it.
        if (lastLabel != nullptr && item.kind != ToolControlKind::kGroupBox) {
            lastLabel->setBuddy(control);
            lastLabel = nullptr;
        }
        if (item.kind == ToolControlKind::kLabel && QString::fromUtf8(item.text).contains('&')) {
            lastLabel = static_cast<QLabel*>(control);
        }
    }
    for (QGroupBox* group : dialog.findChildren<QGroupBox*>()) {
        group->lower();
    }
    dialog.setFixedSize(units.x(dialogLayout.width), units.y(dialogLayout.height));
}

}  // namespace gui
