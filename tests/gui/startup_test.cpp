// Start-up with command-line paths, and closing: Enter leaves the window open, Esc closes it.
#include <QTest>

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
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(!window.isVisible());
}

}  // namespace window_testing
