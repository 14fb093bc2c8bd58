// The window's commands and notifications: the file list, the check marks and the chain, the
// option dialogs and a reload, with the boxes and dialogs they show.
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QToolTip>
#include <QUrl>

#include "host/layout/main_menu.h"
#include "platform/message_box.h"
#include "window_tests.h"

namespace window_testing {
namespace {

using layout::command::kAddFiles;
using layout::command::kDeleteAllFiles;
using layout::command::kDeleteFiles;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

void DropOn(QWidget* window, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    const QPoint at = window->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &drop);
}

void Click(WindowFixture& fixture, const char* id) {
    QTest::mouseClick(fixture.control<QPushButton>(id), Qt::LeftButton);
}

void Check(WindowFixture& fixture, int row, bool on) {
    fixture.control<QListWidget>("1000")->item(row)->setCheckState(on ? Qt::Checked
                                                                      : Qt::Unchecked);
}

// The text of the tool tip that hovering over `row` of `list` brings up.
QString ToolTipOver(QListWidget* list, int row) {
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QHelpEvent event(QEvent::ToolTip, at, list->viewport()->mapToGlobal(at));
    QApplication::sendEvent(list->viewport(), &event);
    const QString text = QToolTip::text();
    QToolTip::hideText();
    return text;
}

}  // namespace

void CommandsTest::init() {
    // Functions: Alpha 0, Alpha 1, Beta 0, ALPHA 0. Without the rulebook library the start
    // reports that the regular-expression tool cannot be loaded.
    fixture_ = std::make_unique<WindowFixture>(
        std::initializer_list<const char*>{"tp_alpha", "tp_beta", "tp_shouting"},
        std::initializer_list<const char*>{});
    fixture_->Open();
    QCOMPARE(fixture_->driver.seen.size(), 1);
    fixture_->driver.seen.clear();
}

void CommandsTest::cleanup() {
    fixture_.reset();
}

void CommandsTest::addFilesByDialogListsDuplicatesSorted() {
    WindowFixture& f = *fixture_;
    const std::string b = f.work.Write("b.txt", "b");
    const std::string a = f.work.Write("A.txt", "a");
    f.driver.choices = {Q(b + "\n" + a), Q(b), std::nullopt};
    f.window().runCommand(kAddFiles);
    f.window().runCommand(kAddFiles);
    f.window().runCommand(kAddFiles);
    QCOMPARE(
        f.driver.seen,
        QStringList(3, QStringLiteral("dialog ファイルの選択 [すべてのファイル (*.*)|"
                                      "テキスト ファイル (*.txt)|HTML ファイル (*.htm;*.html)]")));
    QCOMPARE(f.items("1001"), (QStringList{Q(a), Q(b), Q(b)}));
}

void CommandsTest::dropAddsFilesAndFoldersAndSkipsVanishedPaths() {
    WindowFixture& f = *fixture_;
    const std::string file = f.work.Write("z.txt", "z");
    f.work.Write("folder/.hidden", "h");
    f.work.Write("folder/sub/b.txt", "b");
    auto* status = f.control<QLabel>("1017");
    status->setText(QStringLiteral("old"));
    DropOn(&f.window(),
           {QUrl::fromLocalFile(Q(f.work.str() + "/vanished.txt")), QUrl::fromLocalFile(Q(file)),
            QUrl::fromLocalFile(Q(f.work.str() + "/folder"))});
    QCOMPARE(f.items("1001"), (QStringList{Q(f.work.str() + "/folder/.hidden"),
                                           Q(f.work.str() + "/folder/sub/b.txt"), Q(file)}));
    QCOMPARE(status->text(), QString());
    QVERIFY(f.driver.seen.isEmpty());
}

void CommandsTest::deleteWithoutSelectionSaysSoDeleteAllEmptiesTheList() {
    WindowFixture& f = *fixture_;
    f.driver.choices = {
        Q(f.work.Write("a", "") + "\n" + f.work.Write("b", "") + "\n" + f.work.Write("c", ""))};
    f.window().runCommand(kAddFiles);
    f.window().runCommand(kDeleteFiles);
    QCOMPARE(
        f.driver.boxes(),
        QStringList{QStringLiteral("box 3 エラー: 削除するファイルが選択されていません。 [OK]")});
    QCOMPARE(f.control<QLabel>("1017")->text(),
             QStringLiteral("削除するファイルが選択されていません。"));
    auto* list = f.control<QListWidget>("1001");
    list->item(0)->setSelected(true);
    list->item(2)->setSelected(true);
    f.window().runCommand(kDeleteFiles);
    QCOMPARE(f.items("1001"), QStringList{Q(f.work.str() + "/b")});
    QCOMPARE(f.control<QLabel>("1017")->text(), QString());
    f.window().runCommand(kDeleteAllFiles);
    QVERIFY(f.items("1001").isEmpty());
}

void CommandsTest::doubleClickRemovesAFile() {
    WindowFixture& f = *fixture_;
    f.driver.choices = {Q(f.work.Write("a", "") + "\n" + f.work.Write("b", ""))};
    f.window().runCommand(kAddFiles);
    DoubleClick(f.control<QListWidget>("1001"), 1);
    QCOMPARE(f.items("1001"), QStringList{Q(f.work.str() + "/a")});
}

void CommandsTest::checkMarksFillTheChainTitlesDifferingInCaseOnce() {
    WindowFixture& f = *fixture_;
    QCOMPARE(f.items("1000"), (QStringList{"Alpha 0", "Alpha 1", "Beta 0", "ALPHA 0"}));
    Check(f, 2, true);
    Check(f, 0, true);
    Check(f, 3, true);  // "ALPHA 0" finds "Alpha 0" in the chain
    QCOMPARE(f.items("1019"), (QStringList{"Beta 0", "Alpha 0"}));
    Check(f, 2, false);
    QCOMPARE(f.items("1019"), QStringList{"Alpha 0"});
    QCOMPARE(f.checkedItems(), (QStringList{"Alpha 0", "ALPHA 0"}));
}

void CommandsTest::titlesShowWholeAsToolTips() {
    WindowFixture& f = *fixture_;
    Check(f, 2, true);
    Check(f, 1, true);
    const QStringList titles = f.items("1000");
    for (int row = 0; row < titles.size(); ++row) {
        QCOMPARE(ToolTipOver(f.control<QListWidget>("1000"), row), titles[row]);
    }
    QCOMPARE(ToolTipOver(f.control<QListWidget>("1019"), 0), QStringLiteral("Beta 0"));
    QCOMPARE(ToolTipOver(f.control<QListWidget>("1019"), 1), QStringLiteral("Alpha 1"));
}

void CommandsTest::upAndDownStopAtTheEndsOfTheChain() {
    WindowFixture& f = *fixture_;
    Check(f, 0, true);
    Check(f, 1, true);
    Check(f, 2, true);
    auto* chain = f.control<QListWidget>("1019");
    const QStringList start = {"Alpha 0", "Alpha 1", "Beta 0"};
    Click(f, "1009");  // nothing selected
    Click(f, "1010");
    QCOMPARE(f.items("1019"), start);
    chain->setCurrentRow(0);
    Click(f, "1009");
    QCOMPARE(f.items("1019"), start);
    chain->setCurrentRow(2);
    Click(f, "1010");
    QCOMPARE(f.items("1019"), start);
    Click(f, "1009");
    QCOMPARE(f.items("1019"), (QStringList{"Alpha 0", "Beta 0", "Alpha 1"}));
    QCOMPARE(chain->currentRow(), 1);
    Click(f, "1009");
    QCOMPARE(f.items("1019"), (QStringList{"Beta 0", "Alpha 0", "Alpha 1"}));
    QCOMPARE(chain->currentRow(), 0);
    Click(f, "1010");
    QCOMPARE(chain->currentRow(), 1);
    QCOMPARE(f.items("1019"), (QStringList{"Alpha 0", "Beta 0", "Alpha 1"}));
}

void CommandsTest::doubleClickOnTheChainClearsTheCheckMark() {
    WindowFixture& f = *fixture_;
    Check(f, 0, true);
    Check(f, 2, true);
    DoubleClick(f.control<QListWidget>("1019"), 0);
    QCOMPARE(f.items("1019"), QStringList{"Beta 0"});
    QCOMPARE(f.checkedItems(), QStringList{"Beta 0"});
}

void CommandsTest::cancelledDialogsKeepFolderAndTable() {
    WindowFixture& f = *fixture_;
    const std::string table = f.work.Write("t.txt", "a\tb\n");
    f.driver.choices = {Q(table)};
    Click(f, "1006");
    const QString folder = f.control<QLineEdit>("1007")->text();
    f.driver.choices = {std::nullopt, std::nullopt};
    Click(f, "1005");
    Click(f, "1006");
    QCOMPARE(f.control<QLineEdit>("1007")->text(), folder);
    QCOMPARE(f.control<QLineEdit>("1008")->text(), Q(table));
    QCOMPARE(f.driver.seen.size(), 3);
    QVERIFY(f.driver.seen[1].startsWith(QStringLiteral("dialog どのフォルダを選びますか？ ")));
    QCOMPARE(f.driver.seen[2], QStringLiteral("dialog 変換テーブルの選択 [変換テーブルファイル "
                                              "(*.txt;*.tbl;*.dic;*.re)|すべてのファイル (*.*)]"));
}

void CommandsTest::filtersMatchWhatTheirLabelsSay() {
    WindowFixture& f = *fixture_;
    const QStringList names = {"README", "a.txt", "b.HTM", "c.html", "d.tbl",
                               "e.dic",  "f.re",  "g.pzl", "h.text"};
    QStringList matched;  // "<label>: <names it lets through>"
    f.driver.inspectDialog = [&](QFileDialog& dialog) {
        auto* model = dialog.findChild<QFileSystemModel*>();
        QVERIFY(model != nullptr);
        const QStringList filters = dialog.nameFilters();
        const QStringList labels = f.driver.seen.last().section('[', 1).chopped(1).split('|');
        QCOMPARE(labels.size(), filters.size());
        for (qsizetype i = 0; i < filters.size(); ++i) {
            dialog.selectNameFilter(filters[i]);
            QStringList through;
            for (const QString& name : names) {
                if (QDir::match(model->nameFilters(), name)) {
                    through << name;
                }
            }
            matched << labels[i] + ": " + through.join(' ');
        }
    };
    f.window().runCommand(kAddFiles);
    Click(f, "1006");
    f.window().runCommand(layout::command::kLoadSettingsList);
    const QString all = QStringLiteral("すべてのファイル (*.*): ") + names.join(' ');
    QCOMPARE(matched, (QStringList{all, "テキスト ファイル (*.txt): a.txt",
                                   "HTML ファイル (*.htm;*.html): b.HTM c.html",
                                   "変換テーブルファイル (*.txt;*.tbl;*.dic;*.re): a.txt d.tbl "
                                   "e.dic f.re",
                                   all, "設定ファイル (*.pzl): g.pzl", all}));
}

void CommandsTest::chosenFolderAndTableAreShown() {
    WindowFixture& f = *fixture_;
    f.work.Write("out/keep", "");
    const std::string out = f.work.str() + "/out";
    const std::string table = f.work.Write("rules.tbl", "");
    f.driver.choices = {Q(out), Q(table)};
    f.control<QProgressBar>("1012")->setValue(50);
    Click(f, "1005");
    QCOMPARE(f.control<QProgressBar>("1012")->value(), 0);
    Click(f, "1006");
    QCOMPARE(f.control<QLineEdit>("1007")->text(), Q(out));
    QCOMPARE(f.control<QLineEdit>("1008")->text(), Q(table));
    QCOMPARE(f.window().workbench().options().outputFolder, out);
    f.control<QCheckBox>("1013")->click();
    QVERIFY(f.window().workbench().options().overWrite);
    f.control<QCheckBox>("1014")->click();
    QVERIFY(f.window().workbench().options().noOutput);
}

void CommandsTest::reloadEmptiesTheChain() {
    WindowFixture& f = *fixture_;
    Check(f, 1, true);
    f.driver.choices = {Q(f.work.Write("kept", ""))};
    f.window().runCommand(kAddFiles);
    f.window().runCommand(layout::command::kReloadPlugins);
    QVERIFY(f.items("1019").isEmpty());
    QVERIFY(f.checkedItems().isEmpty());
    QCOMPARE(f.items("1000").size(), 4);
    QCOMPARE(f.items("1001").size(), 1);
}

void CommandsTest::messageBoxButtonsReadInJapanese() {
    WindowFixture& f = *fixture_;
    f.driver.buttons = {QMessageBox::Cancel};
    const int answer =
        f.window().ui().messageBox(host::MessageKind::kOverwriteQuestion, "q", "確認",
                                   platform::kIconQuestion | platform::kButtonsYesNoCancel);
    QCOMPARE(answer, int(platform::kAnswerCancel));
    QCOMPARE(f.driver.seen.constFirst(),
             QStringLiteral("box 4 確認: q [はい(&Y)|いいえ(&N)|キャンセル]"));
}

}  // namespace window_testing
