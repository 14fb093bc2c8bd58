// The window as it is drawn: title, font, size, every control by id with its kind, text and
// rectangle in dialog units, and the menu with its texts, separators and command ids.
#include <QAction>
#include <QCheckBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "host/gui/main_window_layout.h"
#include "window_fixture.h"
#include "window_tests.h"

namespace window_testing {
namespace {

struct Expected {
    const char* id;
    const char* className;
    const char* text;
    int left, top, width, height;
};

const Expected kExpected[] = {
    {"fileGroup", "QGroupBox", "入力ファイル リスト", 7, 7, 241, 202},
    {"1001", "QListWidget", "", 13, 20, 228, 181},
    {"optionGroup", "QGroupBox", "処理の選択", 254, 7, 118, 264},
    {"1013", "QCheckBox", "常に変換元に上書きする", 260, 21, 88, 10},
    {"1014", "QCheckBox", "無変換のファイルは出力しない", 260, 34, 105, 10},
    {"1019", "QListWidget", "", 259, 47, 94, 82},
    {"1009", "QPushButton", "▲", 355, 47, 12, 40},
    {"1010", "QPushButton", "▼", 355, 89, 12, 40},
    {"1000", "QListWidget", "", 259, 132, 108, 134},
    {"1005", "QPushButton", "出力先 ...", 7, 216, 37, 14},
    {"1007", "QLineEdit", "", 45, 217, 202, 12},
    {"1006", "QPushButton", "テーブル ...", 7, 235, 37, 14},
    {"1008", "QLineEdit", "", 45, 236, 202, 12},
    {"1017", "QLabel", "", 7, 255, 243, 19},
    {"1012", "QProgressBar", "", 7, 276, 299, 14},
    {"1011", "QPushButton", "変換実行", 310, 275, 62, 15},
    {"menuLine", "QFrame", "", 0, 0, 378, 1},
};

// Pixels of `units` dialog units for a base unit of `base` pixels per `divisor` units.
double Pixels(int units, double base, int divisor) {
    return units * base / divisor;
}

}  // namespace

void LayoutTest::init() {
    fixture_ = std::make_unique<WindowFixture>(std::initializer_list<const char*>{},
                                               std::initializer_list<const char*>{"rulebook"});
}

void LayoutTest::cleanup() {
    fixture_.reset();
}

void LayoutTest::titleFontAndFixedSize() {
    gui::MainWindow& window = fixture_->Open();
    QCOMPARE(window.windowTitle(), QStringLiteral("Polyshift"));
    const QFont font = window.centralWidget()->font();
    QCOMPARE(font.family(), QStringLiteral("ＭＳ Ｐゴシック"));
    QCOMPARE(font.pointSize(), 9);
    // The family is not on this system: it is drawn with its first substitute.
    QCOMPARE(QFontInfo(font).family(), QStringLiteral("IPAPGothic"));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QVERIFY(!window.windowIcon().isNull());
}

void LayoutTest::everyControlByIdWithTextAndRectangle() {
    gui::MainWindow& window = fixture_->Open();
    QWidget* client = window.centralWidget();
    const QFontMetrics metrics(client->font());
    const double averageWidth = metrics.horizontalAdvance(QStringLiteral(
                                    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                                52.0;
    const double height = metrics.height();
    QVERIFY(qAbs(client->width() - Pixels(379, averageWidth, 4)) <= 1.0);
    QVERIFY(qAbs(client->height() - Pixels(297, height, 8)) <= 1.0);
    for (const Expected& expected : kExpected) {
        auto* control = client->findChild<QWidget*>(QString::fromLatin1(expected.id));
        QVERIFY2(control != nullptr, expected.id);
        QVERIFY2(control->inherits(expected.className), expected.id);
        QCOMPARE(TextOf(control), QString::fromUtf8(expected.text));
        const QRect rect = control->geometry();
        const double want[] = {
            Pixels(expected.left, averageWidth, 4), Pixels(expected.top, height, 8),
            Pixels(expected.width, averageWidth, 4), Pixels(expected.height, height, 8)};
        const int got[] = {rect.left(), rect.top(), rect.width(), rect.height()};
        for (int i = 0; i < 4; ++i) {
            QVERIFY2(qAbs(got[i] - want[i]) <= 1.0,
                     qPrintable(QStringLiteral("%1: %2 is %3, not %4")
                                    .arg(QLatin1String(expected.id))
                                    .arg(i)
                                    .arg(got[i])
                                    .arg(want[i])));
        }
    }
    auto* files = fixture_->control<QListWidget>("1001");
    QCOMPARE(files->selectionMode(), QAbstractItemView::ExtendedSelection);
    QCOMPARE(files->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(files->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(fixture_->control<QListWidget>("1019")->selectionMode(),
             QAbstractItemView::SingleSelection);
    QVERIFY(fixture_->control<QLineEdit>("1007")->isReadOnly());
    QVERIFY(fixture_->control<QLineEdit>("1008")->isReadOnly());
}

void LayoutTest::menuTextsOrderSeparatorsAndIds() {
    gui::MainWindow& window = fixture_->Open();
    QStringList lines;
    for (QAction* menuAction : window.menuBar()->actions()) {
        lines << menuAction->text();
        for (QAction* action : menuAction->menu()->actions()) {
            lines << (action->isSeparator() ? QStringLiteral("  -")
                                            : QStringLiteral("  %1 %2")
                                                  .arg(action->text())
                                                  .arg(action->data().toInt()));
        }
    }
    const QStringList expected = {"ファイル(&F)",
                                  "  設定の読み込み(&O)... 32777",
                                  "  現在の設定を保存(&S)... 32778",
                                  "  -",
                                  "  終了(&X) 2",
                                  "リスト(&L)",
                                  "  追加(&A)... 32771",
                                  "  削除(&D) 32772",
                                  "  -",
                                  "  すべて削除(&R) 32773",
                                  "ツール(&T)",
                                  "  機種依存文字スキャン(&O)... 32779",
                                  "  -",
                                  "  ファイル名を小文字に変換(&L)... 32780",
                                  "  正規表現による変換(&R)... 32781",
                                  "ヘルプ(&H)",
                                  "  お読みください(&R) 32775",
                                  "  -",
                                  "  プラグインDLLの更新(&R) 32776",
                                  "  -",
                                  "  バージョン情報(&A)... 32774"};
    QCOMPARE(lines, expected);
}

void LayoutTest::regexToolFollowsTheRulebookLibrary() {
    // Without the rulebook library the start reports it and leaves the item off.
    QFile::remove(QString::fromStdString(fixture_->program.pluginFolder() + "/rulebook.so"));
    gui::MainWindow& window = fixture_->Open();
    QAction* regexTool = window.commandAction(gui::command::kRegexConversion);
    QCOMPARE(fixture_->driver.seen.size(), 1);
    QVERIFY(fixture_->driver.seen.constFirst().startsWith(QStringLiteral("box 3 エラー: ")));
    QVERIFY(!regexTool->isEnabled());
    // Back in its place, a reload loads it and turns the item on.
    fixture_->program.AddRealPlugin("rulebook");
    window.runCommand(gui::command::kReloadPlugins);
    QVERIFY(regexTool->isEnabled());
    QCOMPARE(fixture_->driver.seen.size(), 1);
}

void LayoutTest::toolCommandsWaitForTheirHandlers() {
    gui::MainWindow& window = fixture_->Open();
    QAction* scan = window.commandAction(gui::command::kCharacterScan);
    QVERIFY(!scan->isEnabled());
    int calls = 0;
    window.setCommandHandler(gui::command::kCharacterScan, [&] { ++calls; });
    QVERIFY(scan->isEnabled());
    scan->trigger();
    QCOMPARE(calls, 1);
}

}  // namespace window_testing
