// The main window's working set and every command on it, without any toolkit: the file list,
// the function list with its check marks, the chain, the options of a run and the plug-ins.
// A window shows what is here and turns the user's clicks into these calls; every box, status
// text and progress step goes through the UserInterface, every file dialog through the
// window's choices.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "host/core/files/file_list.h"
#include "host/core/plugins/function_entry.h"
#include "host/core/plugins/plugin_registry.h"
#include "host/core/run/run_options.h"
#include "host/core/settings/settings.h"
#include "host/core/ui/user_interface.h"
#include "host/core/workbench/window_choices.h"

namespace host {

class Workbench {
public:
    // `programFolder` holds the program and its folder "plugin"; `iniPath` is the ini file
    // that keeps the options from one start to the next.
    Workbench(std::string programFolder, std::string iniPath, UserInterface& ui,
              WindowChoices& choices);
    Workbench(const Workbench&) = delete;
    Workbench& operator=(const Workbench&) = delete;

    // The window's placement as the ini file keeps it, when it keeps one.
    std::optional<WindowPlacement> SavedPlacement() const;
    // Start-up once the window stands: the paths of the command line (a missing one skipped
    // without a word), the options of the ini file, the rulebook handle of the
    // regular-expression tool, the plug-ins.
    void Start(const std::vector<std::string>& commandLinePaths);
    // Closing: the function entries, the plug-ins and the rulebook handle are released, then
    // the options and the window's placement saved in the ini file.
    void Close(const std::optional<WindowPlacement>& placement);

    // File list.
    void AddFilesByDialog();
    // Dropped files and folders: a folder adds every file below it, a vanished path nothing.
    void AddDroppedPaths(const std::vector<std::string>& paths);
    void DeleteSelectedFiles(const std::vector<std::size_t>& selectedRows);
    void DeleteAllFiles();
    // A double-click on the file list.
    void RemoveFileAt(std::size_t row);

    // Function list and chain.
    void SetFunctionChecked(std::size_t item, bool checked);
    // A double-click on the chain.
    void RemoveChainEntryAt(std::size_t row);
    // "▲" and "▼": the selection afterwards (unchanged when nothing moves).
    std::optional<std::size_t> MoveChainEntryUp(std::optional<std::size_t> selected);
    std::optional<std::size_t> MoveChainEntryDown(std::optional<std::size_t> selected);

    // Options.
    void ChooseOutputFolder();
    // True when a table file was chosen.
    bool ChooseTableFile();
    void SetOverWrite(bool on) { options_.overWrite = on; }
    void SetNoOutput(bool on) { options_.noOutput = on; }
    void SetOptions(const RunOptions& options) { options_ = options; }

    // Settings lists: options, file list and chain from a file, or into one.
    void LoadSettingsListByDialog();
    void SaveSettingsListByDialog();

    // The conversion run over the file list through the chain, on the calling thread. A table
    // the user picks during the run is kept in the options.
    void RunBatch();
    // The plug-ins loaded anew: no function is checked and the chain is empty afterwards.
    void ReloadPlugins();

    const FileList& files() const { return files_; }
    FileList& files() { return files_; }
    const FunctionList& functions() const { return registry_.functionList(); }
    const Chain& chain() const { return chain_; }
    const RunOptions& options() const { return options_; }
    PluginRegistry& registry() { return registry_; }
    const PluginRegistry& registry() const { return registry_; }
    UserInterface& ui() { return ui_; }
    const std::string& iniPath() const { return iniPath_; }

private:
    // Most commands start with the progress bar at 0 and an empty status line.
    void ResetStatus();
    // A path of the command line or of a drop: a folder adds every file below it, a missing
    // path is skipped.
    void AddExistingPath(const std::string& path);

    std::string iniPath_;
    UserInterface& ui_;
    WindowChoices& choices_;
    PluginRegistry registry_;
    FileList files_{Duplicates::kAllow};
    Chain chain_;
    RunOptions options_;
};

}  // namespace host
