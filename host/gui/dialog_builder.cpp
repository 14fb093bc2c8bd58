#include "host/gui/dialog_builder.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QHeaderView>
#include <QRadioButton>
#include <QTableWidget>

#include "host/gui/column_label.h"
#include "host/gui/compare_view.h"
#include "host/gui/dialog_units.h"

namespace gui {
namespace {

using layout::Control;
using layout::ControlKind;

bool Has(const Control& control, layout::Style style) {
    return (control.styles & style) != 0;
}

QWidget* CreateListBox(const Control& control, QWidget* parent) {
    // The file list keeps its own order, so the list shows items as they are given.
    auto* list = new QListWidget(parent);
    list->setSelectionMode(Has(control, layout::kExtendedSelection)
                               ? QAbstractItemView::ExtendedSelection
                               : QAbstractItemView::SingleSelection);
    if (Has(control, layout::kScrollBarsAlways)) {
        if (Has(control, layout::kHorizontalScroll)) {
            list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        }
        if (Has(control, layout::kVerticalScroll)) {
            list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        }
    }
    return list;
}

QWidget* CreateEdit(const Control& control, QWidget* parent) {
    if (Has(control, layout::kMultiLine)) {
        auto* field = new QPlainTextEdit(parent);
        field->setReadOnly(Has(control, layout::kReadOnly));
        if (Has(control, layout::kVerticalScroll)) {
            field->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        }
        field->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        return field;
    }
    auto* field = new QLineEdit(parent);
    field->setReadOnly(Has(control, layout::kReadOnly));
    field->setAcceptDrops(false);  // files dropped on it go to the window
    return field;
}

QWidget* CreateText(const Control& control, QWidget* parent) {
    const QString text = QString::fromUtf8(control.text);
    auto* label = text.contains('\t') ? new ColumnLabel(text, parent) : new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(Has(control, layout::kWordWrap));
    return label;
}

QWidget* CreateControl(const Control& control, QWidget* parent) {
    const QString text = QString::fromUtf8(control.text);
    switch (control.kind) {
        case ControlKind::kEtchedLine: {
            auto* line = new QFrame(parent);
            line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
            return line;
        }
        case ControlKind::kGroupBox:
            return new QGroupBox(text, parent);
        case ControlKind::kText:
            return CreateText(control, parent);
        case ControlKind::kIcon: {
            auto* icon = new QLabel(parent);
            icon->setAlignment(Qt::AlignCenter);
            return icon;
        }
        case ControlKind::kCheckBox:
            return new QCheckBox(text, parent);
        case ControlKind::kRadioButton:
            // Radio buttons with one parent form one exclusive group, which is all a dialog
            // has; the group's first button needs nothing more.
            return new QRadioButton(text, parent);
        case ControlKind::kPushButton: {
            auto* button = new QPushButton(text, parent);
            button->setAutoDefault(false);
            button->setDefault(Has(control, layout::kDefaultButton));
            return button;
        }
        case ControlKind::kListBox:
            return CreateListBox(control, parent);
        case ControlKind::kCheckListBox: {
            // The window makes each item checkable as it adds it.
            auto* list = new QListWidget(parent);
            list->setSelectionMode(QAbstractItemView::SingleSelection);
            return list;
        }
        case ControlKind::kEdit:
            return CreateEdit(control, parent);
        case ControlKind::kComboBox: {
            auto* combo = new QComboBox(parent);
            combo->setEditable(Has(control, layout::kEditable));
            combo->setInsertPolicy(QComboBox::NoInsert);
            return combo;
        }
        case ControlKind::kProgressBar: {
            auto* bar = new QProgressBar(parent);
            bar->setTextVisible(false);
            bar->setRange(0, 100);
            bar->setValue(0);
            return bar;
        }
        case ControlKind::kCompareView:
            return new CompareView(parent);
        case ControlKind::kTable: {
            // Read-only rows, chosen whole; the owner fills the columns and turns sorting on.
            auto* table = new QTableWidget(parent);
            table->setEditTriggers(QAbstractItemView::NoEditTriggers);
            table->setSelectionBehavior(QAbstractItemView::SelectRows);
            table->setSelectionMode(QAbstractItemView::SingleSelection);
            table->verticalHeader()->setVisible(false);
            return table;
        }
    }
    return nullptr;
}

// The rectangle in pixels; a few kinds fit it to what Qt draws.
QRect Geometry(const Control& control, QWidget& widget, const DialogUnits& units) {
    QRect rect =
        units.rect(control.rect.left, control.rect.top, control.rect.width, control.rect.height);
    if (control.kind == ControlKind::kComboBox) {
        // The rectangle's height includes the drop-down list, which Qt opens by itself.
        auto& combo = static_cast<QComboBox&>(widget);
        rect.setHeight(combo.sizeHint().height());
        const int listHeight = control.rect.height - layout::kComboFieldHeight;
        combo.setMaxVisibleItems(std::max(1, listHeight / layout::kListLineHeight));
    }
    const bool oneLineText = control.kind == ControlKind::kText &&
                             !Has(control, layout::kWordWrap) &&
                             !QString::fromUtf8(control.text).contains('\n');
    const bool choice =
        control.kind == ControlKind::kCheckBox || control.kind == ControlKind::kRadioButton;
    if (oneLineText || choice) {
        // This font may draw a line wider than the original one: never cut it off (a check
        // box's or radio button's hint holds its indicator too).
        rect.setWidth(std::max(rect.width(), widget.sizeHint().width()));
    }
    return rect;
}

bool MarksAccessKey(const Control& control) {
    return control.kind == ControlKind::kText && !Has(control, layout::kNoPrefix) &&
           QString::fromUtf8(control.text).contains('&');
}

}  // namespace

QString ObjectName(const Control& control) {
    return control.id == layout::kNoId ? QString::fromLatin1(control.name)
                                       : QString::number(control.id);
}

void BuildControls(QWidget& parent, const layout::Dialog& dialog) {
    parent.setFont(DialogFont(dialog.font));
    const DialogUnits units(parent.font());
    QLabel* lastLabel = nullptr;
    for (const Control& control : dialog.controls) {
        QWidget* widget = CreateControl(control, &parent);
        widget->setObjectName(ObjectName(control));
        widget->setGeometry(Geometry(control, *widget, units));
        // A text's access key moves the focus to the control after it.
        if (lastLabel != nullptr && control.kind != ControlKind::kGroupBox) {
            lastLabel->setBuddy(widget);
            lastLabel = nullptr;
        }
        if (MarksAccessKey(control)) {
            lastLabel = static_cast<QLabel*>(widget);
        }
    }
    // Group boxes stay behind the controls they frame.
    for (QGroupBox* group : parent.findChildren<QGroupBox*>()) {
        group->lower();
    }
    parent.setFixedSize(units.x(dialog.width), units.y(dialog.height));
}

void BuildDialog(QDialog& window, const layout::Dialog& dialog) {
    window.setWindowTitle(QString::fromUtf8(dialog.title));
    window.setModal(true);
    BuildControls(window, dialog);
}

}  // namespace gui
