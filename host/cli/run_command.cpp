#include <unistd.h>

#include <algorithm>
#include <thread>

#include "host/cli/commands.h"
#include "host/cli/terminal_ui.h"
#include "host/cli/working_set.h"
#include "host/core/conversion_run.h"
#include "host/core/plugin_registry.h"

namespace cli {

int RunConversion(const Arguments& arguments, std::FILE* err) {
    TerminalUi ui(err, arguments.yes, ::isatty(::fileno(err)) == 1);
    host::PluginMessageRoute route(ui);
    host::PluginRegistry registry(ProgramFolder(), ui);
    registry.ScanPlugins();
    registry.FillFunctionList();

    WorkingSet set;
    if (const int status = BuildWorkingSet(arguments, registry.functionList(), err, set);
        status != kExitOk) {
        return status;
    }

    host::ConversionRun run(ui, set.files, set.chain, set.options);
    const unsigned processors = std::max(1u, std::thread::hardware_concurrency());
    run.RunBatch(arguments.jobs != 0 ? arguments.jobs : std::min(processors, kMaxJobs));
    if (set.files.empty()) {
        return kExitFilesFailed;
    }
    return run.errorCount() == 0 ? kExitOk : kExitFilesFailed;
}

}  // namespace cli
