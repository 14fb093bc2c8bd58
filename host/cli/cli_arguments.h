// The command line of polyshift-cli.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace cli {

enum class Command { kList, kRun, kSave, kHelp };

struct Arguments {
    Command command = Command::kHelp;
    std::optional<std::string> settingsList;  // -s: the settings list run reads / save writes
    std::optional<std::string> outputFolder;  // -o
    bool overWrite = false;                   // --overwrite
    bool noOutput = false;                    // --no-output
    std::string tablePath;                    // -t
    std::vector<std::string> functions;       // -f, in chain order (UTF-8)
    bool yes = false;                         // -y: overwrite questions are answered Yes
    std::vector<std::string> paths;           // files and folders
};

struct ParseResult {
    std::optional<Arguments> arguments;
    std::string error;  // why the command line is not usable (arguments is empty)
};

ParseResult ParseArguments(const std::vector<std::string>& args);

extern const char* const kUsage;

}  // namespace cli
