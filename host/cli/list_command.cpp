#include <string_view>

#include "host/cli/commands.h"
#include "host/cli/terminal_ui.h"
#include "host/core/plugins/plugin_registry.h"
#include "platform/folder.h"
#include "platform/paths.h"
#include "platform/text_encoding.h"

namespace cli {

std::string ProgramFolder() { return platform::RemoveFileName(platform::ExecutablePath()); }

int RunList(std::FILE* out, std::FILE* err) {
    TerminalUi ui(err, false, false);
    host::PluginMessageRoute route(ui);
    host::PluginRegistry registry(ProgramFolder(), ui);
    registry.ScanPlugins();
    registry.FillFunctionList();

    std::string_view versions = registry.pluginVersionText();
    while (!versions.empty()) {
        const auto end = versions.find("\r\n");
        const std::string_view line = versions.substr(0, end);
        std::fprintf(out, "%.*s\n", static_cast<int>(line.size()), line.data());
        versions.remove_prefix(end == std::string_view::npos ? versions.size() : end + 2);
    }
    const std::string_view suffix = host::kPluginSuffix;
    for (const auto& item : registry.functionList()) {
        std::string_view name = item.pluginFileName;
        name.remove_suffix(suffix.size());
        std::fprintf(out, "%.*s:%u\t%s\n", static_cast<int>(name.size()), name.data(),
                     item.entry->functionIndex, platform::Cp932ToUtf8(item.title).c_str());
    }
    return kExitOk;
}

}  // namespace cli
