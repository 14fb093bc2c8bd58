#include "host/core/plugins/plugin_registry.h"

#include <algorithm>
#include <cctype>

#include "host/core/ui/system_error_report.h"
#include "platform/folder.h"
#include "platform/paths.h"

namespace host {
namespace {

constexpr const char* kPluginFolderName = "plugin";
constexpr const char* kRulebookName = "rulebook";

bool HasSuffix(const std::string& name, std::string_view suffix) {
    return name.size() > suffix.size() &&
           std::equal(suffix.rbegin(), suffix.rend(), name.rbegin(),
                      [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

}  // namespace

std::string VersionString(uint32_t word) {
    return "v." + std::to_string(XFM_VERSION_A(word)) + "." + std::to_string(XFM_VERSION_B(word)) +
           "." + std::to_string(XFM_VERSION_C(word)) + "." + std::to_string(XFM_VERSION_D(word));
}

PluginRegistry::PluginRegistry(std::string programFolder, UserInterface& ui)
    : programFolder_(std::move(programFolder)), ui_(ui) {}

PluginRegistry::~PluginRegistry() {
    FreeFunctionEntries();
    FreePlugins();
    FreeRegexPlugin();
}

std::string PluginRegistry::pluginFolder() const {
    return platform::JoinPath(programFolder_, kPluginFolderName);
}

void PluginRegistry::ScanPlugins() {
    pluginVersionText_.clear();
    pluginHandles_.clear();
    pluginFileNames_.clear();
    const std::string folder = pluginFolder();
    if (!platform::PathExists(folder)) {
        platform::CreateFolder(folder);
        return;
    }
    const auto items = platform::ListFolder(folder);
    if (!items) {
        ShowSystemError(ui_);
        return;
    }
    // Libraries load in name order, so the function list has the same order on every
    // machine whatever order the file system lists them in.
    std::vector<std::string> names;
    for (const auto& item : *items) {
        if (item.isFile && HasSuffix(item.name, kPluginSuffix)) {
            names.push_back(item.name);
        }
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        // Always by full path: a bare name would let the loader search elsewhere.
        platform::LibraryHandle handle = platform::LoadLibraryFile(platform::JoinPath(folder, name));
        if (handle == nullptr) {
            continue;
        }
        if (auto getVersion = platform::BindEntryAs<XfmGetVersionFn>(handle, kXfmGetVersionName)) {
            pluginVersionText_ += name + " " + VersionString(getVersion()) + "\r\n";
        }
        pluginHandles_.push_back(handle);
        pluginFileNames_.push_back(name);
    }
}

void PluginRegistry::FillFunctionList() {
    functionList_.clear();
    for (std::size_t i = 0; i < pluginHandles_.size(); ++i) {
        platform::LibraryHandle handle = pluginHandles_[i];
        using platform::BindEntryAs;
        if (BindEntryAs<XfmGetVersionFn>(handle, kXfmGetVersionName) == nullptr) {
            ShowSystemError(ui_);
            continue;
        }
        const auto getCount = BindEntryAs<XfmGetCountFn>(handle, kXfmGetCountName);
        const auto getTitle = BindEntryAs<XfmGetTitleFn>(handle, kXfmGetTitleName);
        FunctionEntry entry;
        entry.convert = BindEntryAs<XfmConvertFn>(handle, kXfmConvertName);
        entry.getBufferSize = BindEntryAs<XfmGetBufferSizeFn>(handle, kXfmGetBufferSizeName);
        entry.renameFile = BindEntryAs<XfmRenameFileFn>(handle, kXfmRenameFileName);
        entry.isUseTable = BindEntryAs<XfmIsUseTableFn>(handle, kXfmIsUseTableName);
        // Beyond the contract, and so may be missing.
        entry.isTextFunction = BindEntryAs<XfmIsTextFunctionFn>(handle, kXfmIsTextFunctionName);
        // A library that lacks any required entry point cannot be called safely: report the
        // failed look-up and list none of its functions.
        if (getCount == nullptr || getTitle == nullptr || entry.convert == nullptr ||
            entry.getBufferSize == nullptr || entry.renameFile == nullptr ||
            entry.isUseTable == nullptr) {
            ShowSystemError(ui_);
            continue;
        }
        const uint32_t count = getCount();
        for (uint32_t j = 0; j < count; ++j) {
            const char* title = getTitle(j);
            if (title == nullptr) {
                continue;
            }
            entry.functionIndex = j;
            functionList_.push_back(
                {title, std::make_unique<FunctionEntry>(entry), pluginFileNames_[i], false});
        }
    }
}

void PluginRegistry::FreeFunctionEntries() {
    for (auto& item : functionList_) {
        item.entry.reset();
    }
}

void PluginRegistry::FreePlugins() {
    for (platform::LibraryHandle handle : pluginHandles_) {
        platform::FreeLibraryHandle(handle);
    }
    pluginHandles_.clear();
    pluginFileNames_.clear();
}

void PluginRegistry::ReloadPlugins(Chain& chain) {
    FreeRegexPlugin();
    LoadRegexPlugin();
    FreeFunctionEntries();
    FreePlugins();
    ScanPlugins();
    FillFunctionList();
    chain.clear();
}

void PluginRegistry::LoadRegexPlugin() {
    const std::string path =
        platform::JoinPath(pluginFolder(), std::string(kRulebookName) + kPluginSuffix);
    rulebookHandle_ = platform::LoadLibraryFile(path);
    if (rulebookHandle_ == nullptr) {
        ShowSystemError(ui_);
    }
}

void PluginRegistry::FreeRegexPlugin() {
    if (rulebookHandle_ != nullptr) {
        platform::FreeLibraryHandle(rulebookHandle_);
        rulebookHandle_ = nullptr;
    }
}

}  // namespace host
