// "変換結果のプレビュー" as a user drives it: the Tools item opens the preview on the selected
// file (the first when none is), both sides named by their form, the changed lines tinted
// and stepped through, the next file, a long file painted a screen at a time, and nothing
// written.
#include <QApplication>
#include <QHeaderView>
#include <QTableWidget>
#include <QFontInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>

#include "host/gui/compare_view.h"
#include "host/gui/file_info_dialog.h"
#include "host/gui/dialog_builder.h"
#include "host/gui/preview_dialog.h"
#include "host/gui/tool_commands.h"
#include "host/layout/main_menu.h"
#include "host/layout/tool_dialogs.h"
#include "support/temp_folder.h"
#include "window_tests.h"

namespace window_testing {
namespace {

namespace fs = std::filesystem;

// "日本\r\nｶﾅ\r\n" in Shift JIS.
const char kSjisText[] = "\x93\xFA\x96\x7B\r\n\xB6\xC5\r\n";

// Works on the preview once it opens, then closes it as the close button does.
void OnPreview(std::function<void(gui::PreviewDialog&)> work) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, work] {
        auto* dialog = dynamic_cast<gui::PreviewDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        work(*dialog);  // a failed check returns early: the dialog closes all the same
        QTest::mouseClick(gui::FindControl<QPushButton>(*dialog, layout::kIdCancel),
                          Qt::LeftButton);
    });
    timer->start(10);
}

QString Label(const QDialog& dialog, int id) {
    return gui::FindControl<QLabel>(dialog, id)->text();
}

void Click(const QDialog& dialog, int id) {
    QTest::mouseClick(gui::FindControl<QPushButton>(dialog, id), Qt::LeftButton);
}

// Waits until the dialog shows a result for file `number` (1-based).
bool WaitForFile(const gui::PreviewDialog& dialog, int number) {
    const QString mark = QStringLiteral("（%1/").arg(number);
    return QTest::qWaitFor([&] {
        return !dialog.preview().busy() &&
               Label(dialog, layout::preview_control::kSummary).contains(mark) &&
               !Label(dialog, layout::preview_control::kSummary).contains("変換中");
    }, 20000);
}

std::map<std::string, std::string> Files(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        files[entry.path().string()] = testing_support::ReadFile(entry.path().string());
    }
    return files;
}

void Tick(WindowFixture& fixture, const QString& title) {
    QListWidget* functions = fixture.control<QListWidget>("1000");
    for (int row = 0; row < functions->count(); ++row) {
        if (functions->item(row)->text() == title) {
            functions->item(row)->setCheckState(Qt::Checked);
        }
    }
}

}  // namespace

void PreviewTest::init() {
    fixture_ = std::make_unique<WindowFixture>(std::initializer_list<const char*>{},
                                               std::initializer_list<const char*>{"rulebook", "unibridge", "eolfix"});
}

void PreviewTest::cleanup() {
    fixture_.reset();
}

void PreviewTest::showsBothSidesStepsThroughChangesAndFilesWritingNothing() {
    namespace id = layout::preview_control;
    const std::string first = fixture_->work.Write("a.txt", kSjisText);
    fixture_->work.Write("b.txt", "same\r\n");
    gui::MainWindow& window = fixture_->Open({fixture_->work.str()});
    gui::InstallToolCommands(window, fixture_->program.path() + "/polyshift");
    Tick(*fixture_, QStringLiteral("UTF-8に変換（自動判別）"));
    Tick(*fixture_, QStringLiteral("改行をLF(UNIX)に変換"));
    const auto before = Files(fixture_->work.str());

    bool checked = false;
    OnPreview([&](gui::PreviewDialog& dialog) {
        QVERIFY(WaitForFile(dialog, 1));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("変換結果のプレビュー"));
        QCOMPARE(Label(dialog, id::kBeforeLabel), QStringLiteral("変換前: Shift JIS"));
        QCOMPARE(Label(dialog, id::kAfterLabel), QStringLiteral("変換後: UTF-8"));
        QCOMPARE(Label(dialog, id::kSummary),
                 QString::fromStdString(first) + QStringLiteral("（1/2）  変更された行: 2"));
        gui::CompareView& view = dialog.view();
        const host::PreviewResult& result = *view.result();
        QCOMPARE(host::CellOf(result, 0, host::PreviewSide::kAfter).text, std::string("日本"));
        QCOMPARE(host::CellOf(result, 1, host::PreviewSide::kBefore).text, std::string("ｶﾅ"));
        QVERIFY(host::CellOf(result, 1, host::PreviewSide::kAfter).lineBreak ==
                host::LineBreak::kLf);
        // A Japanese fixed-pitch face: a kanji two columns, a letter one.
        const QFontMetricsF metrics(view.font());
        QVERIFY(QStringList({"IPAGothic", "Noto Sans Mono CJK JP"})
                    .contains(QFontInfo(view.font()).family()));
        QCOMPARE(metrics.horizontalAdvance('i'), metrics.horizontalAdvance('M'));
        QVERIFY(qAbs(metrics.horizontalAdvance(QStringLiteral("日")) -
                     2 * metrics.horizontalAdvance('M')) < 0.5);

        // The next changed line, round again after the last.
        QVERIFY(!view.currentRow());
        Click(dialog, id::kNextChange);
        QCOMPARE(view.currentRow(), std::optional<std::size_t>(0));
        Click(dialog, id::kNextChange);
        QCOMPARE(view.currentRow(), std::optional<std::size_t>(1));
        Click(dialog, id::kNextChange);
        QCOMPARE(view.currentRow(), std::optional<std::size_t>(0));

        // The next file: its line break changes, its text does not.
        Click(dialog, id::kNextFile);
        QVERIFY(WaitForFile(dialog, 2));
        QCOMPARE(Label(dialog, id::kBeforeLabel), QStringLiteral("変換前: ASCII"));
        QVERIFY(Label(dialog, id::kSummary).endsWith(QStringLiteral("（2/2）  変更された行: 1")));
        QVERIFY(!view.currentRow());
        Click(dialog, id::kNextFile);
        QVERIFY(WaitForFile(dialog, 1));
        checked = true;
    });
    window.runCommand(layout::command::kConversionPreview);
    QVERIFY(checked);
    QCOMPARE(Files(fixture_->work.str()), before);
    QVERIFY(fixture_->driver.seen.isEmpty());
}

void PreviewTest::opensOnTheSelectedFileAndPaintsOnlyWhatFits() {
    std::string lines;
    for (int i = 0; i < 200000; ++i) lines += "line " + std::to_string(i) + "\r\n";
    fixture_->work.Write("a.txt", "a\r\n");
    fixture_->work.Write("long.txt", lines);
    gui::MainWindow& window = fixture_->Open({fixture_->work.str()});
    gui::InstallToolCommands(window, fixture_->program.path() + "/polyshift");
    Tick(*fixture_, QStringLiteral("改行をLF(UNIX)に変換"));
    fixture_->control<QListWidget>("1001")->item(1)->setSelected(true);

    bool checked = false;
    OnPreview([&](gui::PreviewDialog& dialog) {
        QVERIFY(WaitForFile(dialog, 2));
        gui::CompareView& view = dialog.view();
        QCOMPARE(view.result()->rows.size(), std::size_t(200000));
        QCOMPARE(view.result()->changedRows.size(), std::size_t(200000));
        view.repaint();
        QVERIFY(view.paintedRows() > 10);
        QVERIFY(view.paintedRows() <= view.visibleRows() + 1);
        // The keys move both sides; End shows the last rows.
        view.setFocus();
        QTest::keyClick(&view, Qt::Key_End);
        QCOMPARE(view.topRow() + view.visibleRows(), std::size_t(200000));
        QTest::keyClick(&view, Qt::Key_PageUp);
        QCOMPARE(view.topRow() + 2 * view.visibleRows(), std::size_t(200000));
        checked = true;
    });
    window.runCommand(layout::command::kConversionPreview);
    QVERIFY(checked);
}

void PreviewTest::anEmptyListOpensNoPreview() {
    gui::MainWindow& window = fixture_->Open();
    gui::InstallToolCommands(window, fixture_->program.path() + "/polyshift");
    window.runCommand(layout::command::kConversionPreview);
    QVERIFY(fixture_->driver.waitForSeen(1));
    QCOMPARE(fixture_->driver.seen[0],
             QStringLiteral("box 3 エラー: プレビューするファイルがリストにありません。 [OK]"));
}

void PreviewTest::fileInfoTableHasARowAFileAndSortsByAnyColumn() {
    fixture_->work.Write("big.txt", std::string(10, 'x'));
    fixture_->work.Write("euc.txt", "\xC6\xFC\xCB\xDC\xB8\xEC\n");
    fixture_->work.Write("small.txt", std::string(9, 'y'));
    gui::MainWindow& window = fixture_->Open({fixture_->work.str()});
    gui::InstallToolCommands(window, fixture_->program.path() + "/polyshift");
    QVERIFY(window.commandAction(layout::command::kFileInfo)->isEnabled());

    bool checked = false;
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [&, timer] {
        auto* dialog = dynamic_cast<gui::FileInfoDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        // Closed however the checks end.
        const std::unique_ptr<QDialog, void (*)(QDialog*)> closing(
            dialog, [](QDialog* open) { open->reject(); });
        QCOMPARE(dialog->windowTitle(), QStringLiteral("文字コードの判定"));
        QTableWidget& table = dialog->table();
        QCOMPARE(table.columnCount(), 12);
        QCOMPARE(table.horizontalHeaderItem(1)->text(), QStringLiteral("文字コード"));
        QCOMPARE(table.rowCount(), 3);
        const auto column = [&table](int c) {
            QStringList cells;
            for (int row = 0; row < table.rowCount(); ++row) cells << table.item(row, c)->text();
            return cells;
        };
        // In list order until a header is clicked; sizes sort by value, a second click
        // turns the order round.
        QCOMPARE(column(1), (QStringList{"ASCII", "EUC-JP", "ASCII"}));
        QHeaderView* header = table.horizontalHeader();
        const auto clickHeader = [&table, header](int section) {
            table.scrollTo(table.model()->index(0, section));
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->sectionViewportPosition(section) +
                                         header->sectionSize(section) / 2,
                                     header->height() / 2));
        };
        clickHeader(11);
        QCOMPARE(column(11), (QStringList{"7", "9", "10"}));
        clickHeader(11);
        QCOMPARE(column(11), (QStringList{"10", "9", "7"}));
        clickHeader(1);
        QCOMPARE(column(1).first(), QStringLiteral("ASCII"));
        QCOMPARE(gui::FindControl<QLabel>(*dialog, layout::info_control::kSummary)->text(),
                 QStringLiteral("ファイル数: 3"));
        checked = true;
    });
    timer->start(10);
    window.runCommand(layout::command::kFileInfo);
    QVERIFY(checked);
}

}  // namespace window_testing
