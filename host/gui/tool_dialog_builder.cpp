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

QWidget* CreateControl(const ToolControlSpec& spec, QDialog& dialog) {
    const QString text = QString::fromUtf8(spec.text);
    switch (spec.kind) {
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
            button->setDefault(spec.kind == ToolControlKind::kDefaultPushButton);
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

void BuildToolDialog(QDialog& dialog, const ToolDialogSpec& spec) {
    dialog.setWindowTitle(QString::fromUtf8(spec.title));
    dialog.setFont(DialogFont());
    dialog.setModal(true);
    const DialogUnits units(dialog.font());
    QLabel* lastLabel = nullptr;
    for (const ToolControlSpec& spec : spec.controls) {
        QWidget* control = CreateControl(spec, dialog);
        control->setObjectName(QString::fromLatin1(spec.name));
        QRect rect = units.rect(spec.left, spec.top, spec.width, spec.height);
        if (spec.kind == ToolControlKind::kCommandCombo) {
            // The height includes the drop-down list, which opens below the field.
            auto* combo = static_cast<QComboBox*>(control);
            rect.setHeight(combo->sizeHint().height());
            combo->setMaxVisibleItems(8);
        }
        const bool oneLineText =
            (spec.kind == ToolControlKind::kLabel || spec.kind == ToolControlKind::kStaticText) &&
            !QString::fromUtf8(spec.text).contains('\n');
        if (oneLineText) {
            // This font may draw a line wider than the original one: never cut it off.
            rect.setWidth(std::max(rect.width(), control->sizeHint().width()));
        }
        control->setGeometry(rect);
        // A label's "&" mnemonic moves the focus to the control after it.
        if (lastLabel != nullptr && spec.kind != ToolControlKind::kGroupBox) {
            lastLabel->setBuddy(control);
            lastLabel = nullptr;
        }
        if (spec.kind == ToolControlKind::kLabel && QString::fromUtf8(spec.text).contains('&')) {
            lastLabel = static_cast<QLabel*>(control);
        }
    }
    for (QGroupBox* group : dialog.findChildren<QGroupBox*>()) {
        group->lower();
    }
    dialog.setFixedSize(units.x(spec.width), units.y(spec.height));
}

}  // namespace gui
