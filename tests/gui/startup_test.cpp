// Start-up with command-line paths, and closing: Enter leaves the window open, Esc closes it.
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QTest>

#include "host/core/settings/profile_file.h"
#include "host/layout/main_menu.h"

#include "window_tests.h"

namespace window_testing {
namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

void StartupTest::commandLineFolderFileAndMissingPath() {
    WindowFixture f({"tp_alpha"}, {"rulebook"});
    const std::string file = f.work.Write("b.txt", "");
    f.work.Write("dir/c.txt", "");
    f.work.Write("dir/sub/A.txt", "");
    f.Open({f.work.str() + "/missing", f.work.str() + "/dir", file});
    QCOMPARE(f.items("1001"), (QStringList{Q(file), Q(f.work.str() + "/dir/c.txt"),
                                           Q(f.work.str() + "/dir/sub/A.txt")}));
    QVERIFY(f.driver.seen.isEmpty());
    QCOMPARE(f.items("1000").size(), 4);  // the rulebook's two, Alpha 0 and Alpha 1
}

void StartupTest::enterDoesNothingEscapeCloses() {
    WindowFixture f({}, {"rulebook"});
    gui::MainWindow& window = f.Open();
    QTest::keyClick(&window, Qt::Key_Return);
    QTest::keyClick(&window, Qt::Key_Enter);
    QVERIFY(window.isVisible());
    QVERIFY(!QFile::exists(Q(f.iniPath())));
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(!window.isVisible());
    // Closing saved the options and the placement.
    const host::ProfileFile ini = host::ProfileFile::Read(f.iniPath());
    QCOMPARE(ini.KeyNames("Settings").size(), std::size_t{5});
    QVERIFY(ini.Find("Settings", "Window").has_value());
}

void StartupTest::settingsComeBackAtTheNextStart() {
    WindowFixture f({"tp_alpha"}, {"rulebook"});
    {
        host::ProfileFile ini;
        ini.SetString("Settings", "OutputFolder", "/somewhere");
        ini.SetString("Settings", "TablePath", "/t.tbl");
        ini.SetString("Settings", "OverWrite", "1");
        ini.SetString("Settings", "NoOutput", "2");
        QVERIFY(ini.Save(f.iniPath()).status == host::WriteStatus::kOk);
    }
    f.Open();
    QCOMPARE(f.control<QLineEdit>("1007")->text(), QStringLiteral("/somewhere"));
    QCOMPARE(f.control<QLineEdit>("1008")->text(), QStringLiteral("/t.tbl"));
    QVERIFY(f.control<QCheckBox>("1013")->isChecked());
    QVERIFY(!f.control<QCheckBox>("1014")->isChecked());
}

void StartupTest::settingsListLoadedAndSavedFromTheWindow() {
    WindowFixture f({"tp_alpha"}, {"rulebook"});
    const std::string list = f.work.Write(
        "set.pzl",
        "[Settings]\nOutputFolder=/out\nTablePath=\nOverWrite=0\nNoOutput=1\n"
        "[Files]\nCount=2\nfile0=/x/b\nfile1=/x/a\n"
        "[Functions]\nCount=3\nfunction0=alpha 1\nfunction1=Gone\nfunction2=Alpha 0\n");
    gui::MainWindow& window = f.Open({f.work.str()});
    f.driver.choices = {Q(list)};
    window.runCommand(layout::command::kLoadSettingsList);
    QCOMPARE(
        f.driver.seen,
        QStringList{QStringLiteral("dialog 開く [設定ファイル (*.pzl)|すべてのファイル (*.*)]")});
    QCOMPARE(f.items("1001"), (QStringList{"/x/a", "/x/b"}));  // the list sorts them
    QCOMPARE(f.items("1019"), (QStringList{"alpha 1", "Alpha 0"}));
    QCOMPARE(f.checkedItems(), (QStringList{"Alpha 0", "Alpha 1"}));
    QCOMPARE(f.control<QLineEdit>("1007")->text(), QStringLiteral("/out"));
    QVERIFY(f.control<QCheckBox>("1014")->isChecked());

    // Saving over an existing file asks first.
    f.driver.seen.clear();
    f.driver.choices = {Q(list)};
    f.driver.buttons = {QMessageBox::Yes};
    window.runCommand(layout::command::kDeleteAllFiles);
    window.runCommand(layout::command::kSaveSettingsList);
    QCOMPARE(f.driver.seen.size(), 2);
    QVERIFY2(f.driver.seen[1].startsWith(QStringLiteral("box 2 ")), qPrintable(f.driver.seen[1]));
    const host::ProfileFile saved = host::ProfileFile::Read(list);
    QCOMPARE(saved.GetString("Files", "Count"), std::string("0"));
    QCOMPARE(saved.GetString("Functions", "function0"), std::string("alpha 1"));
}

}  // namespace window_testing
