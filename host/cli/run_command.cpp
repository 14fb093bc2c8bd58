#include <unistd.h>

#include <algorithm>
#include <thread>

#include "host/cli/commands.h"
#include "host/cli/terminal_ui.h"
#include "host/cli/working_set.h"
#include "host/core/run/conversion_run.h"
#include "host/core/run/default_jobs.h"
#include "host/core/plugins/plugin_registry.h"
#include "host/core/settings/settings.h"

namespace cli {
namespace {

int SaveWorkingSet(const std::string& path, const WorkingSet& set, std::FILE* err) {
    const auto saved = host::SaveSettingsList(path, set.options, set.files, set.chain);
    if (!saved.ok) {
        std::fprintf(err, "polyshift-cli: cannot save the settings list '%s': %s\n", path.c_str(),
                     saved.reason.c_str());
        return kExitFilesFailed;
    }
    return kExitOk;
}

}  // namespace

int RunOrSave(const Arguments& arguments, std::FILE* err) {
    const bool run = arguments.command == Command::kRun;
    TerminalUi ui(err, arguments.yes, run && ::isatty(::fileno(err)) == 1);
    host::PluginMessageRoute route(ui);
    host::PluginRegistry registry(ProgramFolder(), ui);
    registry.ScanPlugins();
    registry.FillFunctionList();

    WorkingSet set;
    if (const int status = BuildWorkingSet(arguments, registry.functionList(), err, set);
        status != kExitOk) {
        return status;
    }
    if (!run) {
        return SaveWorkingSet(*arguments.settingsList, set, err);
    }

    // A file left unconverted through a failed step is no success to a script.
    set.options.reportFailedSteps = true;
    host::ConversionRun conversion(ui, set.files, set.chain, set.options);
    const unsigned processors = std::min(std::max(1u, std::thread::hardware_concurrency()), kMaxJobs);
    const host::RunResult result = conversion.RunBatch(
        arguments.jobs != 0 ? arguments.jobs : host::DefaultJobs(set.files.paths(), processors),
        ui.answers());
    if (set.files.empty()) {
        return kExitFilesFailed;
    }
    return result.errorCount == 0 && result.failedStepFiles == 0 ? kExitOk : kExitFilesFailed;
}

}  // namespace cli
