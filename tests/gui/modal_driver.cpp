#include "modal_driver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <algorithm>

namespace window_testing {

ModalDriver::ModalDriver() {
    connect(&timer_, &QTimer::timeout, this, &ModalDriver::Poll);
    timer_.start(5);
}

QStringList ModalDriver::boxes() const {
    QStringList lines;
    for (const QString& line : seen) {
        if (line.startsWith(QStringLiteral("box "))) {
            lines << line;
        }
    }
    return lines;
}

bool ModalDriver::waitForSeen(int count, int milliseconds) const {
    return QTest::qWaitFor([&] { return seen.size() >= count; }, milliseconds);
}

void ModalDriver::Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible() || modal->property("answered").toBool()) {
        return;
    }
    modal->setProperty("answered", true);
    // Answered from the event loop rather than from this timer: an answer may open another
    // box (a file dialog's overwrite question), and this timer must be free to see it.
    QPointer<QWidget> target(modal);
    QTimer::singleShot(0, this, [this, target] {
        if (target == nullptr) {
            return;
        }
        if (auto* box = qobject_cast<QMessageBox*>(target)) {
            AnswerBox(box);
        } else if (auto* dialog = qobject_cast<QFileDialog*>(target)) {
            AnswerDialog(dialog);
        }
    });
}

void ModalDriver::AnswerBox(QMessageBox* box) {
    // In the order of the standard buttons (OK, Yes, No, Cancel), whatever order the style
    // lays them out in.
    QList<QAbstractButton*> inOrder = box->buttons();
    std::sort(inOrder.begin(), inOrder.end(), [box](QAbstractButton* a, QAbstractButton* b) {
        return box->standardButton(a) < box->standardButton(b);
    });
    QStringList names;
    for (QAbstractButton* button : inOrder) {
        names << button->text();
    }
    seen << QStringLiteral("box %1 %2: %3 [%4]")
                .arg(static_cast<int>(box->icon()))
                .arg(box->windowTitle(), box->text(), names.join(QLatin1Char('|')));
    if (inspectBox) {
        inspectBox(*box);
    }
    QAbstractButton* chosen = box->defaultButton();
    if (box->buttons().size() > 1 && !buttons.empty()) {
        chosen = box->button(buttons.front());
        buttons.pop_front();
    }
    if (chosen == nullptr) {
        chosen = box->buttons().constFirst();
    }
    chosen->click();
}

void ModalDriver::AnswerDialog(QFileDialog* dialog) {
    QStringList filters;
    if (auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))) {
        for (int i = 0; i < types->count(); ++i) {
            filters << types->itemText(i);
        }
    }
    seen << QStringLiteral("dialog %1 [%2]")
                .arg(dialog->windowTitle(), filters.join(QLatin1Char('|')));
    if (inspectDialog) {
        inspectDialog(*dialog);
    }
    std::optional<QString> choice;
    if (!choices.empty()) {
        choice = choices.front();
        choices.pop_front();
    }
    if (!choice) {
        dialog->reject();
        return;
    }
    // Typed into the dialog's file-name field, as a user would: the field then holds the
    // whole answer whatever the dialog has listed so far.
    const QStringList paths = choice->split(QLatin1Char('\n'));
    QString typed = paths.constFirst();
    if (paths.size() > 1) {
        QStringList quoted;
        for (const QString& path : paths) {
            quoted << QLatin1Char('"') + path + QLatin1Char('"');
        }
        typed = quoted.join(QLatin1Char(' '));
    }
    auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY(field != nullptr);
    field->setText(typed);
    static_cast<QDialog*>(dialog)->accept();  // public as a dialog
}

}  // namespace window_testing
