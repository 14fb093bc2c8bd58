// The Tools and Help menu commands of the main window: character scan, file-name
// lower-casing, regular-expression conversion, the conversion preview, the file information,
// the read-me and the About box.
#pragma once

#include <string>

namespace gui {

class MainWindow;

// Sets the window's handlers of those commands. `executablePath` names the program, whose
// read-me is beside it under the program's own name with the extension ".htm".
void InstallToolCommands(MainWindow& window, const std::string& executablePath);

}  // namespace gui
