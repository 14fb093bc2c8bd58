#include <unistd.h>

#include <charconv>
#include <filesystem>

#include "host/cli/commands.h"
#include "host/cli/terminal_ui.h"
#include "host/core/conversion_run.h"
#include "host/core/function_lookup.h"
#include "host/core/plugin_registry.h"
#include "platform/folder.h"
#include "platform/text_encoding.h"

namespace cli {
namespace {

// The function-list item a -f argument names: "NAME:INDEX" first, then a title prefix.
std::optional<std::size_t> FindFunction(const host::FunctionList& list, const std::string& name) {
    const auto colon = name.rfind(':');
    if (colon != std::string::npos && colon > 0) {
        unsigned index = 0;
        const char* first = name.data() + colon + 1;
        const char* last = name.data() + name.size();
        const auto [end, error] = std::from_chars(first, last, index);
        if (error == std::errc() && end == last && first != last) {
            const std::string file = name.substr(0, colon) + host::kPluginSuffix;
            for (std::size_t i = 0; i < list.size(); ++i) {
                if (list[i].pluginFileName == file && list[i].entry->functionIndex == index) {
                    return i;
                }
            }
        }
    }
    if (name.empty()) {
        return std::nullopt;
    }
    return host::FindFunctionByTitle(list, platform::Utf8ToCp932(name));
}

std::string FullPath(const std::string& path) {
    std::error_code error;
    const auto absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

}  // namespace

int RunConversion(const Arguments& arguments, std::FILE* err) {
    TerminalUi ui(err, arguments.yes, ::isatty(::fileno(err)) == 1);
    host::PluginMessageRoute route(ui);
    host::PluginRegistry registry(ProgramFolder(), ui);
    registry.ScanPlugins();
    registry.FillFunctionList();

    host::Chain chain;
    for (const std::string& name : arguments.functions) {
        const auto found = FindFunction(registry.functionList(), name);
        if (!found) {
            std::fprintf(err, "polyshift-cli: no function '%s' (see 'polyshift-cli list')\n%s",
                         name.c_str(), kUsage);
            return kExitUsage;
        }
        const auto& item = registry.functionList()[*found];
        chain.push_back({item.title, item.entry.get()});
    }

    host::FileList files;
    for (const std::string& path : arguments.paths) {
        const std::string full = FullPath(path);
        if (platform::IsFolder(full)) {
            files.AddFolderRecursively(full);
        } else {
            files.Add(full);
        }
    }

    host::RunOptions options;
    options.outputFolder = arguments.outputFolder ? FullPath(*arguments.outputFolder) : "";
    options.tablePath = arguments.tablePath.empty() ? "" : FullPath(arguments.tablePath);
    options.overWrite = arguments.overWrite;
    options.noOutput = arguments.noOutput;

    host::ConversionRun run(ui, files, chain, options);
    run.RunBatch();
    if (files.empty()) {
        return kExitFilesFailed;
    }
    return run.errorCount() == 0 ? kExitOk : kExitFilesFailed;
}

}  // namespace cli
