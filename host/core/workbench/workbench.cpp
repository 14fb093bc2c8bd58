#include "host/core/workbench/workbench.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "host/core/run/conversion_run.h"
#include "host/core/plugins/function_lookup.h"
#include "host/core/ui/host_texts.h"
#include "platform/folder.h"
#include "platform/message_box.h"

namespace host {
namespace {

// The file list as a settings list keeps it: every path (and folder argument) in full, in the
// list's order. The command line may have listed a path relative to the folder the program
// was started in, which means nothing to whoever loads the list later.
FileList WithFullPaths(const FileList& files) {
    FileList full = files;
    const auto absolute = [](const std::string& path) -> std::optional<std::string> {
        std::error_code error;
        const std::filesystem::path made = std::filesystem::absolute(path, error);
        return error ? std::nullopt : std::optional(made.lexically_normal().string());
    };
    for (std::size_t i = 0; i < full.size(); ++i) {
        if (const auto path = absolute(full[i])) {
            full.Replace(i, *path);
        }
        if (const auto folder = full.folderOf(i).empty() ? std::nullopt : absolute(full.folderOf(i))) {
            full.ReplaceFolder(i, *folder);
        }
    }
    return full;
}

}  // namespace

Workbench::Workbench(std::string programFolder, std::string iniPath, UserInterface& ui,
                     WindowChoices& choices)
    : iniPath_(std::move(iniPath)),
      ui_(ui),
      choices_(choices),
      registry_(std::move(programFolder), ui) {}

std::optional<WindowPlacement> Workbench::SavedPlacement() const {
    return RestoreWindowPlacement(ProfileFile::Read(iniPath_));
}

void Workbench::Start(const std::vector<std::string>& commandLinePaths) {
    for (const std::string& path : commandLinePaths) {
        AddExistingPath(path);
    }
    LoadSettings(ProfileFile::Read(iniPath_), options_);
    registry_.LoadRegexPlugin();
    registry_.ScanPlugins();
    registry_.FillFunctionList();
    ui_.setStatusText({});
}

void Workbench::Close(const std::optional<WindowPlacement>& placement) {
    chain_.clear();
    registry_.FreeFunctionEntries();
    registry_.FreePlugins();
    registry_.FreeRegexPlugin();
    // Like the profile functions, an ini file that cannot be written is left as it is.
    ProfileFile profile = ProfileFile::Read(iniPath_);
    SaveSettings(profile, options_);
    if (placement) {
        SaveWindowPlacement(profile, *placement);
    }
    SaveIniFile(profile, iniPath_);
}

void Workbench::LoadSettingsListByDialog() {
    if (const auto path = choices_.chooseSettingsListToLoad()) {
        LoadSettingsListFile(*path, options_, files_, registry_.functionList(), chain_);
    }
}

void Workbench::SaveSettingsListByDialog() {
    const auto path = choices_.chooseSettingsListToSave();
    if (!path) {
        return;
    }
    const SettingsListSave saved = SaveSettingsList(*path, options_, WithFullPaths(files_), chain_);
    if (!saved.ok) {
        const DisplayText text = texts::SettingsListNotSaved(*path, saved.reason);
        ui_.messageBox(MessageKind::kSettingsError, text, texts::kTitleError,
                       platform::kIconStop | platform::kButtonsOk);
        ui_.setStatusText(text);
    }
}

void Workbench::ResetStatus() {
    ui_.setProgressPosition(0);
    ui_.setStatusText({});
}

void Workbench::AddExistingPath(const std::string& path) {
    if (!platform::PathExists(path)) {
        return;
    }
    if (platform::IsFolder(path)) {
        files_.AddFolderRecursively(path);
    } else {
        files_.Add(path);
    }
}

void Workbench::AddFilesByDialog() {
    ResetStatus();
    for (const std::string& path : choices_.chooseFilesToAdd()) {
        files_.Add(path);
    }
}

void Workbench::AddDroppedPaths(const std::vector<std::string>& paths) {
    ResetStatus();
    for (const std::string& path : paths) {
        AddExistingPath(path);
    }
}

void Workbench::DeleteSelectedFiles(const std::vector<std::size_t>& selectedRows) {
    ResetStatus();
    std::vector<std::size_t> rows;
    for (std::size_t row : selectedRows) {
        if (row < files_.size()) {
            rows.push_back(row);
        }
    }
    if (rows.empty()) {
        ui_.messageBox(MessageKind::kCommandError, texts::kNothingSelected, texts::kTitleError,
                       platform::kIconStop | platform::kButtonsOk);
        ui_.setStatusText(texts::kNothingSelected);
        return;
    }
    // From the bottom up, so that the rows still to go keep their places.
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        files_.Remove(*row);
    }
}

void Workbench::DeleteAllFiles() {
    ResetStatus();
    files_.Clear();
}

void Workbench::RemoveFileAt(std::size_t row) {
    ResetStatus();
    files_.Remove(row);
}

void Workbench::SetFunctionChecked(std::size_t item, bool checked) {
    FunctionList& functions = registry_.functionList();
    if (item >= functions.size()) {
        return;
    }
    FunctionListItem& function = functions[item];
    function.checked = checked;
    const auto inChain = std::find_if(chain_.begin(), chain_.end(), [&](const ChainEntry& entry) {
        return TitleStartsWith(entry.title, function.title);
    });
    if (checked && inChain == chain_.end() && function.entry != nullptr) {
        chain_.push_back({function.title, function.entry.get()});
    } else if (!checked && inChain != chain_.end()) {
        chain_.erase(inChain);
    }
}

void Workbench::RemoveChainEntryAt(std::size_t row) {
    ResetStatus();
    if (row >= chain_.size()) {
        return;
    }
    const std::string title = chain_[row].title;
    chain_.erase(chain_.begin() + static_cast<std::ptrdiff_t>(row));
    if (const auto item = FindFunctionByTitle(registry_.functionList(), title)) {
        registry_.functionList()[*item].checked = false;
    }
}

std::optional<std::size_t> Workbench::MoveChainEntryUp(std::optional<std::size_t> selected) {
    if (!selected || *selected == 0 || *selected >= chain_.size()) {
        return selected;
    }
    std::swap(chain_[*selected], chain_[*selected - 1]);
    return *selected - 1;
}

std::optional<std::size_t> Workbench::MoveChainEntryDown(std::optional<std::size_t> selected) {
    if (!selected || *selected + 1 >= chain_.size()) {
        return selected;
    }
    std::swap(chain_[*selected], chain_[*selected + 1]);
    return *selected + 1;
}

void Workbench::ChooseOutputFolder() {
    ResetStatus();
    if (auto folder = choices_.browseForFolder(options_.outputFolder)) {
        options_.outputFolder = std::move(*folder);
    }
}

bool Workbench::ChooseTableFile() {
    ResetStatus();
    auto table = ui_.selectTableFile({}, options_.tablePath);
    if (!table) {
        return false;
    }
    options_.tablePath = std::move(*table);
    return true;
}

void Workbench::RunBatch() {
    ConversionRun run(ui_, files_, chain_, options_);
    if (auto chosen = run.RunBatch().chosenTable) {
        options_.tablePath = std::move(*chosen);
    }
}

void Workbench::ReloadPlugins() {
    registry_.ReloadPlugins(chain_);
}

}  // namespace host
