// Qt's own texts (the buttons of message boxes and file dialogs) in Japanese, like the rest
// of the window.
#pragma once

namespace gui {

// Loads Qt's Japanese translation into the application; false when it is not installed
// (the buttons then read in English).
bool InstallJapaneseTranslation();

}  // namespace gui
