// The host's tools on the command line: scan, lower, regex and about.
#include <algorithm>
#include <string>

#include "host/cli/commands.h"
#include "host/cli/file_arguments.h"
#include "host/cli/terminal_ui.h"
#include "host/core/tools/about_text.h"
#include "host/core/tools/character_scan.h"
#include "host/core/tools/lowercase_file_name.h"
#include "host/core/plugins/plugin_registry.h"
#include "host/core/tools/regex_tool.h"
#include "platform/paths.h"
#include "platform/system_error.h"
#include "platform/text_encoding.h"
#include "platform/utf8_text.h"

namespace cli {
namespace {

std::string WithoutCarriageReturns(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c != '\r') {
            out += c;
        }
    }
    return out;
}

}  // namespace

int RunScan(const Arguments& arguments, std::FILE* out, std::FILE* err) {
    TerminalUi ui(err, false, false);
    const host::FileList files = CollectFiles(arguments.paths);
    const host::ScanReport report = host::ScanFiles(ui, files.paths(), arguments.scan);
    if (!report.ran) {
        return kExitFilesFailed;
    }
    const std::string text =
        arguments.raw ? report.text.cp932() : WithoutCarriageReturns(report.text.utf8());
    std::fwrite(text.data(), 1, text.size(), out);
    return report.unreadable == 0 ? kExitOk : kExitFilesFailed;
}

int RunLower(const Arguments& arguments, std::FILE* out, std::FILE* err) {
    const host::FileList files = CollectFiles(arguments.paths);
    int status = kExitOk;
    for (const std::string& path : files.paths()) {
        if (auto renamed = host::LowercaseFileName(path, arguments.selection)) {
            std::fprintf(out, "%s -> %s\n", path.c_str(), renamed->c_str());
        } else if (host::LowercaseName(platform::FileNameOf(path), arguments.selection)) {
            // It qualified but could not be renamed: missing, name taken, no permission.
            std::fprintf(err, "polyshift-cli: '%s' keeps its name: %s\n", path.c_str(),
                         platform::LastSystemErrorText().c_str());
            status = kExitFilesFailed;
        }
    }
    return status;
}

int RunRegex(const Arguments& arguments, std::FILE* err) {
    // The command travels in code page 932 (the rulebook turns it back into UTF-8 for UTF-8
    // files): one it cannot hold is refused rather than changed.
    if (const std::string bad = platform::FirstCharacterOutsideCp932(arguments.expression); !bad.empty()) {
        std::fprintf(err,
                     "polyshift-cli: the command holds '%s', which Shift JIS (code page 932) "
                     "cannot hold; nothing was converted\n",
                     bad.c_str());
        return kExitUsage;
    }
    TerminalUi ui(err, arguments.yes, false);
    host::PluginRegistry registry(ProgramFolder(), ui);
    registry.LoadRegexPlugin();
    if (registry.rulebookHandle() == nullptr) {
        return kExitFilesFailed;
    }
    const host::FileList files = CollectFiles(arguments.paths);
    host::RunOptions options;
    options.outputFolder = arguments.outputFolder ? FullPath(*arguments.outputFolder) : "";
    options.overWrite = arguments.overWrite;
    options.noOutput = arguments.noOutput;
    options.convertBinary = arguments.binary;
    options.createFolders = true;  // -o is made as results need it, as for run
    const std::string command = platform::Utf8ToCp932(arguments.expression);
    const host::RegexToolResult result = host::RunRegexTool(
        ui, registry.rulebookHandle(), files.paths(), options, [&] { return command; });
    return result.ran && result.errors == 0 ? kExitOk : kExitFilesFailed;
}

int RunAbout(std::FILE* out, std::FILE* err) {
    TerminalUi ui(err, false, false);
    host::PluginMessageRoute route(ui);
    host::PluginRegistry registry(ProgramFolder(), ui);
    registry.ScanPlugins();
    const std::string text = host::AboutText(registry.pluginVersionText());
    std::fputs(text.c_str(), out);
    return kExitOk;
}

}  // namespace cli
