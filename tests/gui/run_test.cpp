// A whole run through the window: the worker thread's prompts, table dialog and plug-in boxes
// appear modally on the window, the progress bar moves, and the window takes no input
// meanwhile.
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "host/gui/input_guard.h"
#include "host/layout/main_menu.h"
#include "support/temp_folder.h"
#include "window_tests.h"

namespace window_testing {
namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

const QString kConfirm =
    QStringLiteral("box 4 確認: 変換を実行します。よろしいですか？ [はい(&Y)|いいえ(&N)]");

QString Finished(int errors) {
    return QStringLiteral("box 1 処理終了: すべての処理を終了しました。（エラー：%1） [OK]")
        .arg(errors);
}

void Check(WindowFixture& fixture, int row) {
    fixture.control<QListWidget>("1000")->item(row)->setCheckState(Qt::Checked);
}

// Starts a run with the button and waits until it is over.
void RunAndWait(WindowFixture& fixture) {
    QSignalSpy finished(&fixture.window(), &gui::MainWindow::runFinished);
    QTest::mouseClick(fixture.control<QPushButton>("1011"), Qt::LeftButton);
    QVERIFY(finished.wait(20000));
}

}  // namespace

void RunTest::init() {
    // Functions: the rulebook's regular-expression and string tables, Table 0 and 1, Upper 0.
    fixture_ =
        std::make_unique<WindowFixture>(std::initializer_list<const char*>{"tp_table", "tp_upper"},
                                        std::initializer_list<const char*>{"rulebook"});
}

void RunTest::cleanup() {
    fixture_.reset();
}

void RunTest::wholeRunWithProgressAndFinalMessage() {
    WindowFixture& f = *fixture_;
    std::vector<std::string> inputs;
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
        inputs.push_back(f.work.Write(std::string("in/") + name, std::string("text ") + name));
    }
    f.work.Write("out/.keep", "");
    f.Open({f.work.str() + "/in"});
    Check(f, 4);
    f.driver.choices = {Q(f.work.str() + "/out")};
    QTest::mouseClick(f.control<QPushButton>("1005"), Qt::LeftButton);
    auto* progress = f.control<QProgressBar>("1012");
    progress->setValue(2);
    QSignalSpy positions(progress, &QProgressBar::valueChanged);
    f.driver.buttons = {QMessageBox::Yes};
    RunAndWait(f);
    QCOMPARE(f.driver.boxes(), (QStringList{kConfirm, Finished(0)}));
    QList<int> seen;
    for (const QList<QVariant>& change : positions) {
        seen << change.constFirst().toInt();
    }
    QCOMPARE(seen, (QList<int>{0, 1, 2, 3}));
    QCOMPARE(progress->maximum(), 3);
    QCOMPARE(f.control<QLabel>("1017")->text(),
             QStringLiteral("すべての処理を終了しました。（エラー：0）"));
    QCOMPARE(testing_support::ReadFile(f.work.str() + "/out/b.txt"), std::string("TEXT B.TXT"));
}

void RunTest::tableDialogAndPluginBoxesComeFromTheWorker() {
    WindowFixture& f = *fixture_;
    const std::string input = f.work.Write("in/a.txt", "x");
    const std::string table = f.work.Write("tables/t.txt", "");
    f.Open({input});
    host::RunOptions options;
    options.overWrite = true;
    f.window().workbench().SetOptions(options);
    // A function that needs a table while none is set: the table dialog, from the worker.
    Check(f, 2);
    f.driver.buttons = {QMessageBox::Yes};
    f.driver.choices = {Q(table)};
    // The field shows the chosen table at once, not only once the run is over.
    QString fieldAtTheEnd;
    f.driver.inspectBox = [&](QMessageBox& box) {
        if (box.windowTitle() == QStringLiteral("処理終了")) {
            fieldAtTheEnd = f.control<QLineEdit>("1008")->text();
        }
    };
    RunAndWait(f);
    f.driver.inspectBox = nullptr;
    QCOMPARE(f.driver.seen.size(), 3);
    QVERIFY(f.driver.seen[1].startsWith(QStringLiteral("dialog 変換テーブルの選択 ")));
    QCOMPARE(fieldAtTheEnd, Q(table));
    QCOMPARE(f.control<QLineEdit>("1008")->text(), Q(table));
    QCOMPARE(testing_support::ReadFile(input), "x[" + table + "]");

    // The string-table function with a table that is gone shows its own box.
    f.window().refresh();
    f.control<QListWidget>("1000")->item(2)->setCheckState(Qt::Unchecked);
    Check(f, 1);
    QFile::remove(Q(table));
    f.driver.seen.clear();
    f.driver.buttons = {QMessageBox::Yes};
    RunAndWait(f);
    const QStringList boxes = f.driver.boxes();
    QCOMPARE(boxes.size(), 3);
    QVERIFY2(boxes[1].startsWith(
                 QStringLiteral("box 3 エラー: 変換テーブルファイルをオープンできません。")),
             qPrintable(boxes[1]));
    QCOMPARE(boxes[2], Finished(0));
}

void RunTest::windowTakesNoInputDuringARun() {
    WindowFixture& f = *fixture_;
    const std::string input = f.work.Write("in/a.txt", "x");
    f.Open({input});
    auto* files = f.control<QListWidget>("1001");
    bool checkedDuringRun = false;
    // While the confirmation is up the worker waits: the window is running and refuses input.
    f.driver.buttons = {QMessageBox::No};
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (!f.window().running() || checkedDuringRun) {
            return;
        }
        checkedDuringRun = true;
        f.window().runCommand(layout::command::kDeleteAllFiles);
        QTest::keyClick(files, Qt::Key_Delete);
        files->item(0)->setSelected(true);
        DoubleClick(files, 0);
        QVERIFY(!f.window().close());
    });
    probe.start(1);
    RunAndWait(f);
    QVERIFY(checkedDuringRun);
    QCOMPARE(f.items("1001"), QStringList{Q(input)});
    QVERIFY(f.window().isVisible());
    // Afterwards the window takes input again.
    DoubleClick(files, 0);
    QVERIFY(f.items("1001").isEmpty());
}

void RunTest::inputGuardSwallowsTheWindowsInputOnly() {
    QWidget window;
    auto* inside = new QPushButton(QStringLiteral("in"), &window);
    QPushButton outside(QStringLiteral("out"));
    window.show();
    outside.show();
    QSignalSpy insideClicks(inside, &QPushButton::clicked);
    QSignalSpy outsideClicks(&outside, &QPushButton::clicked);
    gui::InputGuard guard(&window);
    guard.setActive(true);
    QTest::mouseClick(inside, Qt::LeftButton);
    QTest::keyClick(inside, Qt::Key_Space);
    QTest::mouseClick(&outside, Qt::LeftButton);
    QCOMPARE(insideClicks.size(), 0);
    QCOMPARE(outsideClicks.size(), 1);
    guard.setActive(false);
    QTest::mouseClick(inside, Qt::LeftButton);
    QCOMPARE(insideClicks.size(), 1);
}

}  // namespace window_testing
