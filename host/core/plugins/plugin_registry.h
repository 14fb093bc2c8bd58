// The plug-in registry: finds the libraries in the folder "plugin" beside the program, keeps
// them loaded, lists every function of every plug-in with the entry points a run calls, and
// collects one version line per plug-in. It also holds the regular-expression tool's own
// handle of the rulebook library.
#pragma once

#include <string>
#include <vector>

#include "host/core/plugins/function_entry.h"
#include "host/core/ui/user_interface.h"
#include "platform/library.h"

namespace host {

// File-name suffix of a plug-in library on this platform.
#if defined(_WIN32)
inline constexpr const char* kPluginSuffix = ".dll";
#else
inline constexpr const char* kPluginSuffix = ".so";
#endif

class PluginRegistry {
public:
    // `programFolder` is the folder of the host's executable; plug-ins are in its "plugin".
    PluginRegistry(std::string programFolder, UserInterface& ui);
    PluginRegistry(const PluginRegistry&) = delete;
    PluginRegistry& operator=(const PluginRegistry&) = delete;
    ~PluginRegistry();

    std::string pluginFolder() const;

    void ScanPlugins();
    void FillFunctionList();
    void FreeFunctionEntries();
    void FreePlugins();
    // Renews everything and empties `chain`, whose entries referred to the old records.
    void ReloadPlugins(Chain& chain);
    void LoadRegexPlugin();
    void FreeRegexPlugin();

    const std::vector<platform::LibraryHandle>& pluginHandles() const { return pluginHandles_; }
    // One line per plug-in with a version entry point: "name v.a.b.c.d\r\n".
    const std::string& pluginVersionText() const { return pluginVersionText_; }
    FunctionList& functionList() { return functionList_; }
    const FunctionList& functionList() const { return functionList_; }
    platform::LibraryHandle rulebookHandle() const { return rulebookHandle_; }
    // Whether the regular-expression tool can be used: its rulebook handle is loaded.
    bool regexToolAvailable() const { return rulebookHandle_ != nullptr; }

private:
    std::string programFolder_;
    UserInterface& ui_;
    std::vector<platform::LibraryHandle> pluginHandles_;
    std::vector<std::string> pluginFileNames_;  // parallel to pluginHandles_
    std::string pluginVersionText_;
    FunctionList functionList_;
    platform::LibraryHandle rulebookHandle_ = nullptr;
};

// "v.a.b.c.d" of a version word.
std::string VersionString(uint32_t word);

}  // namespace host
