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
#include "host/core/tools/text_diff.h"
#include "platform/paths.h"
#include "platform/text_encoding.h"

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

// A note's text on one line.
std::string OneLine(std::string text) {
    for (char& c : text) {
        if (c == '\n' || c == '\r' || c == '\t') {
            c = ' ';
        }
    }
    return text;
}

const char* OutcomeWord(host::FilePlan::Outcome outcome) {
    switch (outcome) {
        case host::FilePlan::Outcome::kConverted:
            return "converted";
        case host::FilePlan::Outcome::kSkippedBinary:
            return "binary";
        case host::FilePlan::Outcome::kFailed:
            return "failed";
        case host::FilePlan::Outcome::kUnchanged:
            break;
    }
    return "unchanged";
}

// "converted<TAB>SOURCE<TAB>TARGET<TAB>NOTES", then with --diff the changed file's diff.
void PrintPlan(const host::FilePlan& plan, const Arguments& arguments, std::FILE* out) {
    std::string notes;
    const auto note = [&notes](const std::string& text) {
        notes += (notes.empty() ? "" : "; ") + OneLine(text);
    };
    if (plan.newName) {
        note("new name: " + std::string(platform::FileNameOf(*plan.newName)));
    }
    for (const std::string& title : plan.failedSteps) {
        note("failed step: " + platform::Cp932ToUtf8(title));
    }
    if (plan.outcome == host::FilePlan::Outcome::kFailed && !plan.problem.empty()) {
        note(plan.problem.utf8());
    }
    std::string line = std::string(OutcomeWord(plan.outcome)) + "\t" + *plan.source + "\t" +
                       plan.written.value_or("") + "\t" + notes + "\n";
    if (arguments.diffContext && plan.outcome == host::FilePlan::Outcome::kConverted) {
        line += host::ConversionDiff(plan.before, plan.after, *arguments.diffContext,
                                     *plan.source, plan.written.value_or(*plan.source));
    }
    std::fwrite(line.data(), 1, line.size(), out);
}

}  // namespace

int RunOrSave(const Arguments& arguments, std::FILE* out, std::FILE* err) {
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
    set.options.dryRun = arguments.dryRun;
    host::ConversionRun conversion(ui, set.files, set.chain, set.options);
    if (arguments.dryRun) {
        conversion.SetPlanSink(
            [&](const host::FilePlan& plan) { PrintPlan(plan, arguments, out); });
    }
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
