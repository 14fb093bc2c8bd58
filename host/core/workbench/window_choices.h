// The choices only a window offers: the file and folder dialogs behind the main window's
// buttons and menu items. The workbench asks for them; a face without them chooses nothing.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace host {

class WindowChoices {
  public:
    virtual ~WindowChoices() = default;

    // The output folder, starting from `currentFolder`.
    virtual std::optional<std::string> browseForFolder(const std::string& currentFolder) = 0;
    // Files to add to the file list; empty when cancelled.
    virtual std::vector<std::string> chooseFilesToAdd() = 0;
    // A settings-list file to load, or to save to (an existing file already confirmed).
    virtual std::optional<std::string> chooseSettingsListToLoad() = 0;
    virtual std::optional<std::string> chooseSettingsListToSave() = 0;
};

}  // namespace host
