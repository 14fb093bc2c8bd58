// The command line of polyshift-cli.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/core/tools/character_scan.h"
#include "host/core/tools/lowercase_file_name.h"

namespace cli {

enum class Command { kList, kRun, kSave, kInfo, kScan, kLower, kRegex, kAbout, kHelp };

struct Arguments {
    Command command = Command::kHelp;
    std::optional<std::string> settingsList;  // -s: the settings list run reads / save writes
    std::optional<std::string> outputFolder;  // -o
    bool overWrite = false;                   // --overwrite
    bool noOutput = false;                    // --no-output
    bool binary = false;                      // --binary: text functions convert binary files
    std::optional<std::string> backupSuffix;  // --backup[=SUFFIX]: "~" unless given
    bool keepTime = false;                    // --keep-time
    std::string tablePath;                    // -t
    std::vector<std::string> functions;       // -f, in chain order (UTF-8)
    bool yes = false;                         // -y: overwrite questions are answered Yes
    unsigned jobs = 0;                        // --jobs: files at once; 0 = DefaultJobs
    host::ScanOptions scan;                   // scan: --no-kana ... --unify-breaks
    bool raw = false;                         // scan --raw: the report's own bytes
    bool json = false;                        // info --json: one JSON object per line
    host::LowercaseSelection selection{};     // lower: --ext-upper, --name-upper
    std::string expression;                   // regex -e (UTF-8)
    std::vector<std::string> paths;           // files and folders
};

struct ParseResult {
    std::optional<Arguments> arguments;
    std::string error;  // why the command line is not usable (arguments is empty)
};

// Most files --jobs converts at once.
inline constexpr unsigned kMaxJobs = 256;

ParseResult ParseArguments(const std::vector<std::string>& args);

// The usage error of --backup without --overwrite (also when a settings list leaves it off).
std::string BackupNeedsOverwrite();

extern const char* const kUsage;

}  // namespace cli
