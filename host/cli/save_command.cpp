#include "host/cli/commands.h"
#include "host/cli/terminal_ui.h"
#include "host/cli/working_set.h"
#include "host/core/plugin_registry.h"
#include "host/core/settings.h"

namespace cli {

int SaveSettingsList(const Arguments& arguments, std::FILE* err) {
    TerminalUi ui(err, false, false);
    host::PluginMessageRoute route(ui);
    host::PluginRegistry registry(ProgramFolder(), ui);
    registry.ScanPlugins();
    registry.FillFunctionList();

    WorkingSet set;
    if (const int status = BuildWorkingSet(arguments, registry.functionList(), err, set);
        status != kExitOk) {
        return status;
    }
    const std::string& path = *arguments.settingsList;
    const auto saved = host::SaveSettingsList(path, set.options, set.files, set.chain);
    if (!saved.ok) {
        std::fprintf(err, "polyshift-cli: cannot save the settings list '%s': %s\n", path.c_str(),
                     saved.reason.c_str());
        return kExitFilesFailed;
    }
    return kExitOk;
}

}  // namespace cli
