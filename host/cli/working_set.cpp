#include "host/cli/working_set.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "host/cli/commands.h"
#include "host/cli/file_arguments.h"
#include "host/core/plugins/function_lookup.h"
#include "host/core/plugins/plugin_registry.h"
#include "host/core/settings/settings.h"
#include "host/core/files/whole_file.h"
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

}  // namespace

int BuildWorkingSet(const Arguments& arguments, host::FunctionList& functions, std::FILE* err,
                    WorkingSet& set) {
    if (arguments.command == Command::kRun && arguments.settingsList) {
        const std::string& path = *arguments.settingsList;
        std::string failure;
        const host::ProfileFile list = host::ProfileFile::Read(path, &failure);
        if (!failure.empty()) {
            std::fprintf(err, "polyshift-cli: cannot read the settings list '%s': %s\n",
                         path.c_str(), failure.c_str());
            return kExitFilesFailed;
        }
        const auto loaded =
            host::LoadSettingsList(list, set.options, set.files, functions, set.chain);
        if (arguments.functions.empty()) {
            for (const std::string& title : loaded.droppedTitles) {
                std::fprintf(err, "polyshift-cli: %s: no function '%s'; left out of the chain\n",
                             path.c_str(), platform::Cp932ToUtf8(title).c_str());
            }
        }
    }

    if (!arguments.functions.empty()) {
        set.chain.clear();
        for (auto& item : functions) {
            item.checked = false;
        }
    }
    for (const std::string& name : arguments.functions) {
        const auto found = FindFunction(functions, name);
        if (!found) {
            std::fprintf(err, "polyshift-cli: no function '%s' (see 'polyshift-cli list')\n%s",
                         name.c_str(), kUsage);
            return kExitUsage;
        }
        auto& item = functions[*found];
        item.checked = true;
        set.chain.push_back({item.title, item.entry.get()});
    }

    for (const std::string& path : arguments.paths) {
        if (path == host::kStandardStream) {
            set.files.Add(path);  // standard input, whose result goes to standard output
            continue;
        }
        AddPath(set.files, path);
    }

    if (arguments.outputFolder) {
        set.options.outputFolder = FullPath(*arguments.outputFolder);
    }
    if (!arguments.tablePath.empty()) {
        set.options.tablePath = FullPath(arguments.tablePath);
    }
    set.options.overWrite = set.options.overWrite || arguments.overWrite;
    set.options.noOutput = set.options.noOutput || arguments.noOutput;
    set.options.convertBinary = arguments.binary;
    // Whole trees: each keeps its shape below the output folder, which is made as results
    // need it, and no result replaces another of the same run.
    set.options.keepTree = true;
    set.options.createFolders = true;
    set.options.oneSourcePerTarget = true;
    set.options.backupSuffix = arguments.backupSuffix.value_or(std::string());
    set.options.keepTime = arguments.keepTime;
    if (arguments.backupSuffix && !set.options.overWrite) {
        std::fprintf(err, "polyshift-cli: %s\n%s", BackupNeedsOverwrite().c_str(), kUsage);
        return kExitUsage;
    }
    const bool onlyStreams =
        !set.files.empty() && std::all_of(set.files.paths().begin(), set.files.paths().end(),
                                          [](const std::string& path) { return path == "-"; });
    if (!set.options.overWrite && set.options.outputFolder.empty() && !onlyStreams) {
        // Only a settings list without an output folder gets here (no desktop folder either).
        std::fprintf(err, "polyshift-cli: say where the results go: -o DIR or --overwrite\n%s",
                     kUsage);
        return kExitUsage;
    }
    return kExitOk;
}

}  // namespace cli
