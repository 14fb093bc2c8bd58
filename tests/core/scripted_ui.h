// A user interface that answers from a script and writes down everything it is shown, in
// order, as readable lines:
//   "box <style> <title>: <text>"   a message box (style as a decimal number)
//   "status <text>"                 the status line
//   "range <low> <high>"            the progress range
//   "pos <position>"                the progress position
//   "table <title>"                 the table-file choice for a function
//   "folder <current>"              the output-folder choice
//   "add-files"                     the choice of files to add
//   "load-list" / "save-list"       the choice of a settings-list file
//   "note <text>"                   a note
//   "beep"
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "host/core/ui/user_interface.h"
#include "host/core/workbench/window_choices.h"

namespace host_testing {

class ScriptedUi : public host::UserInterface, public host::WindowChoices {
public:
    // Answers for boxes with more than an OK button, in order; when none is left a box gets
    // its default button.
    std::deque<int> answers;
    // What the table-file choices return, in order; when none is left they are cancelled.
    std::deque<std::optional<std::string>> tableChoices;

    std::vector<std::string> log;
    int waitDepth = 0;
    int maxWaitDepth = 0;

    // The kind of every box, in the order of the "box" lines.
    std::vector<host::MessageKind> kinds;
    // What the window's own choices return, in order; when none is left they are cancelled.
    std::deque<std::optional<std::string>> folderChoices;
    std::deque<std::vector<std::string>> fileChoices;
    std::deque<std::optional<std::string>> settingsListChoices;

    int showMessage(const host::Message& message) override;
    void setStatusText(const host::DisplayText& text) override;
    void setProgressRange(int low, int high) override;
    void setProgressPosition(int position) override;
    void beginWaitCursor() override;
    void endWaitCursor() override;
    void beep() override;
    void note(const host::DisplayText& text) override;
    std::optional<std::string> selectTableFile(const std::string& functionTitle,
                                               const std::string& currentPath) override;
    std::optional<std::string> browseForFolder(const std::string& currentFolder) override;
    std::vector<std::string> chooseFilesToAdd() override;
    std::optional<std::string> chooseSettingsListToLoad() override;
    std::optional<std::string> chooseSettingsListToSave() override;

    // The log lines that start with `kind` ("box", "pos", ...).
    std::vector<std::string> Only(const std::string& kind) const;
};

}  // namespace host_testing
