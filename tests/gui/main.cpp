// Runs the window's test classes on Qt's offscreen platform with Qt's Japanese texts.
#include <QApplication>
#include <QTest>
#include <cstring>

#include "host/gui/japanese_translation.h"
#include "window_tests.h"

namespace {

template <typename Test>
int Run(const char* only, int argc, char** argv) {
    Test test;
    if (only != nullptr &&
        std::strcmp(only, test.metaObject()->className() + std::strlen("window_testing::")) != 0) {
        return 0;
    }
    return QTest::qExec(&test, argc, argv);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    gui::InstallJapaneseTranslation();
    // The first argument may name one test class; the rest go to QtTest.
    const char* only = nullptr;
    if (argc > 1 && argv[1][0] != '-') {
        only = argv[1];
        --argc;
        ++argv;
        argv[0] = argv[-1];
    }
    int failed = 0;
    failed += Run<window_testing::LayoutTest>(only, argc, argv);
    failed += Run<window_testing::CommandsTest>(only, argc, argv);
    failed += Run<window_testing::RunTest>(only, argc, argv);
    failed += Run<window_testing::StartupTest>(only, argc, argv);
    failed += Run<window_testing::ToolsTest>(only, argc, argv);
    failed += Run<window_testing::PreviewTest>(only, argc, argv);
    return failed == 0 ? 0 : 1;
}
