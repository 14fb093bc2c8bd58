// A built plug-in loaded from the plug-in folder and bound by the contract's decorated names,
// as the host binds it; plus a one-call way to run a function over bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/library.h"
#include "xfm_plugin.h"

namespace testing_support {

class PluginUnderTest {
  public:
    // Loads POLYSHIFT_PLUGIN_DIR/<name>.so; aborts the test program when that fails.
    explicit PluginUnderTest(const std::string& name);
    explicit PluginUnderTest(const std::string& folder, const std::string& name);
    PluginUnderTest(const PluginUnderTest&) = delete;
    PluginUnderTest& operator=(const PluginUnderTest&) = delete;
    ~PluginUnderTest();

    platform::LibraryHandle handle() const { return handle_; }

    XfmGetVersionFn getVersion = nullptr;
    XfmGetCountFn getCount = nullptr;
    XfmGetTitleFn getTitle = nullptr;
    XfmIsUseTableFn isUseTable = nullptr;
    XfmGetBufferSizeFn getBufferSize = nullptr;
    XfmConvertFn convert = nullptr;
    XfmRenameFileFn renameFile = nullptr;
    XfmRegExpFn regExp = nullptr;  // only where exported
    XfmIsTextFunctionFn isTextFunction = nullptr;  // only where exported

    // Size pass then conversion, as the host runs one step. Nothing when the size is 0 or the
    // conversion fails. `size` receives what XfmGetBufferSize returned.
    std::optional<std::string> Run(uint32_t index, std::string_view input,
                                   const char* tablePath = "", uint32_t* size = nullptr) const;

    // The title of function `index` as UTF-8 (empty when there is none).
    std::string TitleUtf8(uint32_t index) const;

  private:
    void Load(const std::string& path);
    platform::LibraryHandle handle_ = nullptr;
};

// The plug-in <name>, loaded on first use and kept for the whole test or benchmark program.
const PluginUnderTest& SharedPlugin(const std::string& name);

// A test group's accessor for its plug-in, which SharedPlugin loads on first use:
//   inline constexpr testing_support::NamedPlugin Widthfold{"widthfold"};
//   Widthfold().Run(...);
struct NamedPlugin {
    const char* name;
    const PluginUnderTest& operator()() const { return SharedPlugin(name); }
};

}  // namespace testing_support
