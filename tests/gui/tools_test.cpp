// The tools' dialogs and the Tools and Help commands: the scan's report, the lower-casing
// selection, the regular-expression command with its history, the About box and the read-me.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

#include "host/core/tools/about_text.h"
#include "host/core/settings/ini_regex_history.h"
#include "host/core/settings/profile_file.h"
#include "host/gui/about_box.h"
#include "host/gui/dialog_builder.h"
#include "host/gui/lowercase_dialog.h"
#include "host/gui/regex_dialog.h"
#include "host/gui/scan_dialog.h"
#include "host/gui/tool_commands.h"
#include "host/layout/main_menu.h"
#include "window_tests.h"

namespace window_testing {
namespace {

namespace fs = std::filesystem;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// Works on the next tool dialog that opens modally (not a message box or file dialog).
void OnNextDialog(std::function<void(QDialog*)> work) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, work] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || qobject_cast<QMessageBox*>(dialog) != nullptr ||
            dialog->metaObject()->className() == QByteArrayLiteral("QFileDialog")) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        work(dialog);
    });
    timer->start(10);
}

void Click(const QDialog& dialog, const char* id) {
    QTest::mouseClick(gui::FindControl<QAbstractButton>(dialog, id), Qt::LeftButton);
}

// Where each line of `label` starts to differ from the same label with the second column of
// every line left out: the left edge of that line's second column as drawn (-1 for a line that
// does not differ), with the right edge of the first part's ink before it.
struct Column {
    int secondStarts = -1;
    int firstEnds = -1;
};
QList<Column> ColumnsAsDrawn(QLabel& label) {
    const QString text = label.text();
    const QImage whole = label.grab().toImage();
    QStringList firstParts;
    for (const QString& line : text.split('\n')) {
        const qsizetype lastTab = line.lastIndexOf('\t');
        firstParts << (lastTab < 0 ? line : line.left(lastTab + 1));
    }
    label.setText(firstParts.join('\n'));
    const QImage first = label.grab().toImage();
    label.setText(text);
    const QColor paper = first.pixelColor(first.width() - 1, 0);
    // Around the middle of each line, where an arrow's shaft runs.
    const QFontMetricsF metrics(label.font());
    QList<Column> columns;
    for (qsizetype line = 0; line < firstParts.size(); ++line) {
        const qreal middle =
            line * metrics.lineSpacing() + metrics.leading() + metrics.height() / 2;
        Column column;
        for (int y = int(middle - metrics.height() / 4); y <= int(middle + metrics.height() / 4);
             ++y) {
            for (int x = 0; x < whole.width(); ++x) {
                if (whole.pixel(x, y) != first.pixel(x, y) &&
                    (column.secondStarts < 0 || x < column.secondStarts)) {
                    column.secondStarts = x;
                }
                if (first.pixelColor(x, y) != paper) {
                    column.firstEnds = std::max(column.firstEnds, x);
                }
            }
        }
        columns << column;
    }
    return columns;
}

}  // namespace

void ToolsTest::init() {
    fixture_ = std::make_unique<WindowFixture>(std::initializer_list<const char*>{},
                                               std::initializer_list<const char*>{"rulebook"});
    fixture_->Open();
    gui::InstallToolCommands(fixture_->window(), fixture_->program.path() + "/polyshift");
    fixture_->driver.seen.clear();
}

void ToolsTest::cleanup() {
    fixture_.reset();
}

void ToolsTest::scanDefaultsReportAndFont() {
    gui::MainWindow& window = fixture_->window();
    const std::string file = fixture_->work.Write("a.txt", "x\r\n\x87\x40\xb1");
    gui::ScanDialog dialog({file}, window.ui(), &window);
    for (const char* id : {"1011", "1012", "1013", "1018"}) {
        QVERIFY(gui::FindControl<QCheckBox>(dialog, id)->isChecked());
    }
    QVERIFY(!gui::FindControl<QCheckBox>(dialog, "1028")->isChecked());
    auto* result = gui::FindControl<QPlainTextEdit>(dialog, "1030");
    QVERIFY(result->isReadOnly());
    // Fixed-width: every ASCII character one column, a Japanese character two.
    const QFontMetricsF metrics(result->font());
    QVERIFY(QStringList({"IPAGothic", "Noto Sans Mono CJK JP"})
                .contains(QFontInfo(result->font()).family()));
    QCOMPARE(metrics.horizontalAdvance('i'), metrics.horizontalAdvance('M'));
    QVERIFY(qAbs(metrics.horizontalAdvance(QStringLiteral("日")) -
                 2 * metrics.horizontalAdvance('M')) < 0.5);
    gui::FindControl<QCheckBox>(dialog, "1011")->setChecked(false);
    Click(dialog, "1031");
    QCOMPARE(result->toPlainText(), Q("*** " + file +
                                      " ***\n   2行目:[ ① ] = 0x8740\n"
                                      "*** スキャン終了 ***\n"));
    QVERIFY(fixture_->driver.seen.isEmpty());
}

void ToolsTest::scanOfAnEmptyListSaysSo() {
    gui::MainWindow& window = fixture_->window();
    gui::ScanDialog dialog({}, window.ui(), &window);
    Click(dialog, "1031");
    QVERIFY(fixture_->driver.waitForSeen(1));
    QVERIFY(fixture_->driver.seen[0].contains("スキャン対象ファイルがリストにありません"));
    QVERIFY(gui::FindControl<QPlainTextEdit>(dialog, "1030")->toPlainText().isEmpty());
}

void ToolsTest::lowercaseCommandRenamesAndKeepsListPlaces() {
    WindowFixture& f = *fixture_;
    const std::string upper = f.work.Write("B.TXT", "b");
    const std::string mixed = f.work.Write("a.TXT", "a");
    f.window().workbench().AddDroppedPaths({upper, mixed});
    f.window().refresh();
    OnNextDialog([](QDialog* dialog) {
        QVERIFY(gui::FindControl<QRadioButton>(*dialog, "1021")->isChecked());
        gui::FindControl<QRadioButton>(*dialog, "1023")->click();
        Click(*dialog, "1");
    });
    f.window().runCommand(layout::command::kLowerCaseNames);
    QCOMPARE(f.items("1001"), (QStringList{Q(mixed), Q(f.work.str() + "/b.txt")}));
    QVERIFY(fs::exists(f.work.path() / "b.txt"));
    QVERIFY(fs::exists(f.work.path() / "a.TXT"));
}

void ToolsTest::regexDropDownOffersTheHistoryAndKeepsTheTypedText() {
    WindowFixture& f = *fixture_;
    host::IniRegexHistoryStore store(f.iniPath());
    host::RegexCommandEntry empty(store);
    gui::RegexDialog first(empty, f.window().ui(), &f.window());
    auto* combo = gui::FindControl<QComboBox>(first, "1024");
    combo->showPopup();
    QCOMPARE(combo->count(), 0);
    first.reject();

    host::RegexHistory history{"s/a/b/", "tr/x/y/"};
    store.Save(history);
    host::RegexCommandEntry entry(store);
    gui::RegexDialog dialog(entry, f.window().ui(), &f.window());
    combo = gui::FindControl<QComboBox>(dialog, "1024");
    combo->setEditText(QStringLiteral("typed"));
    combo->showPopup();
    QCOMPARE(combo->count(), 2);
    QCOMPARE(combo->itemText(1), QStringLiteral("tr/x/y/"));
    QCOMPARE(combo->currentText(), QStringLiteral("typed"));
    combo->hidePopup();
}

void ToolsTest::regexExamplesStandInTwoColumns() {
    WindowFixture& f = *fixture_;
    host::IniRegexHistoryStore store(f.iniPath());
    host::RegexCommandEntry entry(store);
    gui::RegexDialog dialog(entry, f.window().ui(), &f.window());
    auto* examples = gui::FindControl<QLabel>(dialog, "examples");
    const QList<Column> columns = ColumnsAsDrawn(*examples);
    QCOMPARE(columns.size(), 5);
    QCOMPARE(columns[0].secondStarts, -1);  // the heading has no second column
    int leftmost = columns[2].secondStarts;
    int rightmost = leftmost;
    for (int line = 2; line < 5; ++line) {
        const Column& column = columns[line];
        QVERIFY2(column.secondStarts > column.firstEnds, qPrintable(QString::number(line)));
        leftmost = std::min(leftmost, column.secondStarts);
        rightmost = std::max(rightmost, column.secondStarts);
    }
    QVERIFY2(rightmost - leftmost <= 1,
             qPrintable(QStringLiteral("%1 to %2").arg(leftmost).arg(rightmost)));
}

void ToolsTest::regexCommandsTheFilesCannotTakeAreRefusedAndNotRemembered() {
    WindowFixture& f = *fixture_;
    host::IniRegexHistoryStore store(f.iniPath());
    host::RegexCommandEntry entry(store);
    gui::RegexDialog dialog(entry, f.window().ui(), &f.window());
    dialog.show();
    auto* combo = gui::FindControl<QComboBox>(dialog, "1024");
    // A character Shift JIS cannot hold would reach the files as "?".
    combo->setEditText(QString::fromUtf8("s/a/\xF0\x9F\x98\x80/g"));
    Click(dialog, "1");
    QVERIFY(f.driver.waitForSeen(1));
    QVERIFY(f.driver.seen[0].contains(QString::fromUtf8("\xF0\x9F\x98\x80")));
    QVERIFY(dialog.isVisible());
    combo->setEditText(QString(131, QChar(0x3042)));  // 262 bytes in Shift JIS
    Click(dialog, "1");
    QVERIFY(f.driver.waitForSeen(2));
    QVERIFY(f.driver.seen[1].contains("260"));
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), 0);
    combo->setEditText(QString(130, QChar(0x3042)));
    Click(dialog, "1");
    QCOMPARE(dialog.result(), static_cast<int>(QDialog::Accepted));
    std::string expected;
    for (int i = 0; i < 130; ++i) {
        expected += "\x82\xa0";  // "あ"
    }
    QCOMPARE(store.Load()[0], expected);
    QCOMPARE(host::ProfileFile::Read(f.iniPath()).KeyNames("RegExp List"),
             std::vector<std::string>{"regexp1"});
}

void ToolsTest::regexCommandConvertsTheListedFiles() {
    WindowFixture& f = *fixture_;
    const std::string file = f.work.Write("in/a.txt", "price 100");
    fs::create_directories(f.work.path() / "out");
    f.window().workbench().AddDroppedPaths({file});
    host::RunOptions options = f.window().workbench().options();
    options.outputFolder = f.work.str() + "/out";
    options.overWrite = false;
    f.window().workbench().SetOptions(options);
    QVERIFY(f.window().commandAction(layout::command::kRegexConversion)->isEnabled());
    OnNextDialog([](QDialog* dialog) {
        gui::FindControl<QComboBox>(*dialog, "1024")->setEditText(QStringLiteral("s/(\\d+)/[$1]/"));
        Click(*dialog, "1");
    });
    f.window().runCommand(layout::command::kRegexConversion);
    QVERIFY(f.driver.waitForSeen(1));
    QVERIFY(f.driver.seen.last().contains("すべての処理を終了しました。（エラー：0）"));
    QCOMPARE(testing_support::ReadFile(f.work.path() / "out/a.txt"), std::string("price [100]"));
    QCOMPARE(host::IniRegexHistoryStore(f.iniPath()).Load()[0], std::string("s/(\\d+)/[$1]/"));
    QCOMPARE(f.control<QProgressBar>("1012")->value(), 1);
}

void ToolsTest::aboutBoxShowsStampAndPlugins() {
    WindowFixture& f = *fixture_;
    gui::AboutBox none("", &f.window());
    QVERIFY(gui::FindControl<QPlainTextEdit>(none, "1015")->toPlainText().isEmpty());
    QCOMPARE(gui::FindControl<QLabel>(none, "1020")->text(), Q(host::BuildStamp()));
    gui::AboutBox some("a.so v.1.0.0.2\r\nb.so v.1.2.3.4\r\n", &f.window());
    QCOMPARE(gui::FindControl<QPlainTextEdit>(some, "1015")->toPlainText(),
             QStringLiteral("a.so v.1.0.0.2\nb.so v.1.2.3.4"));
    OnNextDialog([](QDialog* dialog) {
        QVERIFY(gui::FindControl<QPlainTextEdit>(*dialog, "1015")
                    ->toPlainText()
                    .startsWith(QStringLiteral("rulebook.so v.")));
        Click(*dialog, "1");
    });
    f.window().runCommand(layout::command::kAbout);
}

void ToolsTest::readMeMissingOrWithoutViewerSaysWhich() {
    WindowFixture& f = *fixture_;
    const std::string readme = f.program.path() + "/polyshift.htm";
    f.window().runCommand(layout::command::kReadMe);
    QVERIFY(f.driver.waitForSeen(1));
    const QString missing = Q("'" + readme + "' が見つかりません。");
    QVERIFY2(f.driver.seen[0].contains(missing), qPrintable(f.driver.seen[0]));
    QCOMPARE(f.control<QLabel>("1017")->text(), missing);
    // The offscreen platform has no viewer for any document.
    std::ofstream(readme) << "<html></html>";
    f.window().runCommand(layout::command::kReadMe);
    QVERIFY(f.driver.waitForSeen(2));
    const QString noViewer = Q("'" + readme + "' を開くプログラムが見つかりません。");
    QVERIFY2(f.driver.seen[1].contains(noViewer), qPrintable(f.driver.seen[1]));
    QCOMPARE(f.control<QLabel>("1017")->text(), noViewer);
}

}  // namespace window_testing
