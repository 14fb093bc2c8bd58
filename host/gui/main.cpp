// polyshift: the window of the batch converter.
#include <QApplication>
#include <string>
#include <vector>

#include "host/core/settings/settings.h"
#include "host/gui/japanese_translation.h"
#include "host/gui/main_window.h"
#include "host/gui/tool_commands.h"
#include "platform/folder.h"
#include "platform/paths.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);  // takes Qt's own options out of argv
    gui::InstallJapaneseTranslation();
    const std::string executable = platform::ExecutablePath();
    const std::string iniPath = host::IniFilePath(executable);
    gui::MainWindow window(platform::RemoveFileName(executable), iniPath);
    gui::InstallToolCommands(window, executable);
    window.Start(std::vector<std::string>(argv + 1, argv + argc));
    window.show();
    return app.exec();
}
