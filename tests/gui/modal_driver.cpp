#include "modal_driver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
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
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        AnswerBox(box);
    } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
        AnswerDialog(dialog);
    }
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
    seen << QStringLiteral("dialog %1 [%2]")
                .arg(dialog->windowTitle(), dialog->nameFilters().join(QLatin1Char('|')));
    std::optional<QString> choice;
    if (!choices.empty()) {
        choice = choices.front();
        choices.pop_front();
    }
    if (!choice) {
        dialog->reject();
        return;
    }
    const QStringList paths = choice->split(QLatin1Char('\n'));
    const QFileInfo first(paths.constFirst());
    dialog->setDirectory(first.isDir() ? first.absoluteFilePath() : first.absolutePath());
    if (first.isDir()) {
        dialog->selectFile(first.absoluteFilePath());
    } else {
        QStringList names;
        for (const QString& path : paths) {
            names << QLatin1Char('"') + QFileInfo(path).fileName() + QLatin1Char('"');
        }
        dialog->selectFile(names.size() == 1 ? QFileInfo(paths.constFirst()).fileName()
                                             : names.join(QLatin1Char(' ')));
    }
    static_cast<QDialog*>(dialog)->accept();  // public as a dialog
}

}  // namespace window_testing
