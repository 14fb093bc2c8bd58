#include "host/cli/cli_arguments.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <set>

#include "platform/paths.h"

namespace cli {

const char* const kUsage =
    "usage: polyshift-cli list\n"
    "       polyshift-cli run [-s LIST.pzl] [-o DIR] [--overwrite [--backup[=SUFFIX]]]\n"
    "                         [--keep-time] [--no-output] [-t TABLE] [-f FUNCTION]... [-y]\n"
    "                         [--jobs N] [--binary] PATH...\n"
    "       polyshift-cli save -s LIST.pzl [-o DIR] [--overwrite] [--no-output] [-t TABLE]\n"
    "                         [-f FUNCTION]... PATH...\n"
    "       polyshift-cli run [-t TABLE] [-f FUNCTION]... - < IN > OUT\n"
    "       polyshift-cli info [--json] PATH...\n"
    "       polyshift-cli scan [--no-kana] [--no-special] [--no-extended] [--no-user]\n"
    "                          [--unify-breaks] [--raw] PATH...\n"
    "       polyshift-cli lower [--ext-upper | --name-upper] PATH...\n"
    "       polyshift-cli regex -e COMMAND (-o DIR | --overwrite) [--no-output] [-y] [--binary]\n"
    "                           PATH...\n"
    "       polyshift-cli about | --version\n"
    "\n"
    "  list          show every plug-in's version and every function as NAME:INDEX<TAB>TITLE\n"
    "  run           convert the files (a folder adds every file below it, leaving out the\n"
    "                folders .git, .svn, .hg, .bzr, _darcs and CVS and any .git file) through\n"
    "                the functions given with -f, in that order\n"
    "  save          write the options, files and functions that 'run' would use into the\n"
    "                settings list given with -s, without converting anything\n"
    "  info          one line per file (folders walked as for run), tab-separated: path,\n"
    "                encoding (or binary), encswap's reading where it differs, line breaks,\n"
    "                half-width katakana (yes/no), NEC, IBM and Mac platform-dependent\n"
    "                characters, characters Shift JIS cannot hold (Unicode files, else -),\n"
    "                size in bytes\n"
    "  scan          list the platform-dependent Shift JIS characters of the files with their\n"
    "                line numbers and codes\n"
    "  lower         turn the capitals of the files' names into small letters (never over an\n"
    "                existing file)\n"
    "  regex         apply one regular-expression command to the files\n"
    "  about         show the program's version and every plug-in's version\n"
    "  -s LIST.pzl   run: take options, files and functions from this settings list (as the\n"
    "                window saves it); options given here replace the list's, -f replaces its\n"
    "                whole chain, PATHs are added to its files, and PATH is then optional\n"
    "  -o DIR        write the results into DIR, made when needed: a file named as a PATH\n"
    "                goes into DIR itself, a file found in a folder PATH to the same place\n"
    "                below DIR (run -o out docs: docs/a/b.txt to out/a/b.txt); a second\n"
    "                result for one target fails, even with -y\n"
    "  --overwrite   write every result over its own source file\n"
    "  --backup[=SUFFIX]  with --overwrite: keep each replaced file under its name plus\n"
    "                SUFFIX (default ~), replacing an older backup; a file whose backup\n"
    "                cannot be made is left as it was and counts as failed\n"
    "  --keep-time   give each result its source's modification time\n"
    "  --no-output   write nothing for a file the chain left unchanged\n"
    "  -t TABLE      conversion-table file for the functions that need one\n"
    "  -f FUNCTION   NAME:INDEX (as 'list' shows it) or the beginning of a title\n"
    "  -y            answer Yes when a file that was there before the run would be\n"
    "                overwritten\n"
    "  --jobs N      convert up to N files at the same time (default: one per processor for\n"
    "                files of 64 KB or more on average, else 1); results, messages and their\n"
    "                order are those of --jobs 1\n"
    "  --binary      run, regex: convert binary files too. Without it a file that starts like\n"
    "                an image, archive, program or other binary format, or holds bytes that no\n"
    "                text holds, passes through the text functions unchanged (base64 and\n"
    "                pictile take any file) and is named on stderr\n"
    "  -             (as a PATH of run) read standard input and write the result to standard\n"
    "                output\n"
    "  --json        info: one JSON object per line instead\n"
    "  --no-kana     scan: leave out half-width katakana (0xA1-0xDF)\n"
    "  --no-special  scan: leave out the special characters (0x8540-0x889E)\n"
    "  --no-extended scan: leave out the extended characters (0xEB40-0xEFFC)\n"
    "  --no-user     scan: leave out the user-defined area (0xF040 and up)\n"
    "  --unify-breaks scan: count CR LF, CR and LF alike as line breaks\n"
    "  --raw         scan: print the report in Shift JIS with CR LF, as the window shows it\n"
    "  --ext-upper   lower: only files whose extension has no small letter\n"
    "  --name-upper  lower: only files whose name before the extension has no small letter\n"
    "  -e COMMAND    regex: the command, such as s/(\\d+)/[$1]/g or tr/a-z/A-Z/\n"
    "\n"
    "exit status: 0 when every file went through every function; 1 when a file failed, or a\n"
    "function failed for a file (run skips it, as the window does, so the file is left\n"
    "unconverted by it; the final report then gives the number of such files); 2 for a usage\n"
    "error\n";

namespace {

// The commands that take options and paths, and the options each of them takes.
const std::map<std::string, std::pair<Command, std::set<std::string>>>& PathCommands() {
    static const std::map<std::string, std::pair<Command, std::set<std::string>>> commands = {
        {"run",
         {Command::kRun,
          {"-s", "-o", "-t", "-f", "--overwrite", "--no-output", "-y", "--jobs", "-j",
           "--binary", "--backup", "--keep-time"}}},
        {"save",
         {Command::kSave,
          {"-s", "-o", "-t", "-f", "--overwrite", "--no-output", "-y", "--jobs", "-j"}}},
        {"info", {Command::kInfo, {"--json"}}},
        {"scan",
         {Command::kScan,
          {"--no-kana", "--no-special", "--no-extended", "--no-user", "--unify-breaks", "--raw"}}},
        {"lower", {Command::kLower, {"--ext-upper", "--name-upper"}}},
        {"regex", {Command::kRegex, {"-e", "-o", "--overwrite", "--no-output", "-y", "--binary"}}},
    };
    return commands;
}

}  // namespace

std::string BackupNeedsOverwrite() {
    return "--backup keeps the files that --overwrite replaces: give --overwrite too";
}

ParseResult ParseArguments(const std::vector<std::string>& args) {
    ParseResult result;
    if (args.empty()) {
        result.error = "no command given";
        return result;
    }
    Arguments parsed;
    const std::string& command = args[0];
    if (command == "-h" || command == "--help" || command == "help") {
        parsed.command = Command::kHelp;
        result.arguments = parsed;
        return result;
    }
    if (command == "list") {
        if (args.size() > 1) {
            result.error = "'list' takes no arguments";
            return result;
        }
        parsed.command = Command::kList;
        result.arguments = parsed;
        return result;
    }
    if (command == "about" || command == "--version") {
        if (args.size() > 1) {
            result.error = "'" + command + "' takes no arguments";
            return result;
        }
        parsed.command = Command::kAbout;
        result.arguments = parsed;
        return result;
    }
    const auto known = PathCommands().find(command);
    if (known == PathCommands().end()) {
        result.error = "unknown command '" + command + "'";
        return result;
    }
    parsed.command = known->second.first;
    const std::set<std::string>& accepted = known->second.second;
    bool onlyPaths = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](const char* option) -> const std::string* {
            if (i + 1 >= args.size()) {
                result.error = std::string("option ") + option + " needs a value";
                return nullptr;
            }
            return &args[++i];
        };
        const bool backupWithSuffix = arg.rfind("--backup=", 0) == 0;
        if (onlyPaths || arg.empty() || arg[0] != '-' || arg == "-") {
            parsed.paths.push_back(arg);
        } else if (arg == "--") {
            onlyPaths = true;
        } else if (accepted.count(backupWithSuffix ? std::string("--backup") : arg) == 0) {
            result.error = "unknown option '" + arg + "'";
            return result;
        } else if (arg == "--backup" || backupWithSuffix) {
            parsed.backupSuffix = backupWithSuffix ? arg.substr(9) : std::string("~");
            if (const std::string& suffix = *parsed.backupSuffix;
                suffix.empty() || suffix.find_first_of(platform::kPathSeparators) !=
                                      std::string::npos) {
                result.error = "--backup=SUFFIX needs a suffix without a path separator";
                return result;
            }
        } else if (arg == "--keep-time") {
            parsed.keepTime = true;
        } else if (arg == "-o") {
            const std::string* v = value("-o");
            if (v == nullptr) {
                return result;
            }
            parsed.outputFolder = *v;
        } else if (arg == "-s") {
            const std::string* v = value("-s");
            if (v == nullptr) {
                return result;
            }
            parsed.settingsList = *v;
        } else if (arg == "-t") {
            const std::string* v = value("-t");
            if (v == nullptr) {
                return result;
            }
            parsed.tablePath = *v;
        } else if (arg == "-f") {
            const std::string* v = value("-f");
            if (v == nullptr) {
                return result;
            }
            parsed.functions.push_back(*v);
        } else if (arg == "--overwrite") {
            parsed.overWrite = true;
        } else if (arg == "--no-output") {
            parsed.noOutput = true;
        } else if (arg == "--binary") {
            parsed.binary = true;
        } else if (arg == "-y") {
            parsed.yes = true;
        } else if (arg == "-e") {
            const std::string* v = value("-e");
            if (v == nullptr) {
                return result;
            }
            parsed.expression = *v;
        } else if (arg == "--no-kana") {
            parsed.scan.halfWidthKana = false;
        } else if (arg == "--no-special") {
            parsed.scan.specialRows = false;
        } else if (arg == "--no-extended") {
            parsed.scan.extendedArea = false;
        } else if (arg == "--no-user") {
            parsed.scan.userArea = false;
        } else if (arg == "--unify-breaks") {
            parsed.scan.unifyLineBreaks = true;
        } else if (arg == "--raw") {
            parsed.raw = true;
        } else if (arg == "--json") {
            parsed.json = true;
        } else if (arg == "--ext-upper") {
            parsed.selection = host::LowercaseSelection::kUpperExtension;
        } else if (arg == "--name-upper") {
            parsed.selection = host::LowercaseSelection::kUpperName;
        } else if (arg == "--jobs" || arg == "-j") {
            const std::string* v = value(arg.c_str());
            if (v == nullptr) {
                return result;
            }
            const char* last = v->data() + v->size();
            const auto [end, error] = std::from_chars(v->data(), last, parsed.jobs);
            if (error != std::errc() || end != last || parsed.jobs == 0 || parsed.jobs > kMaxJobs) {
                result.error = "--jobs takes a number from 1 to " + std::to_string(kMaxJobs);
                return result;
            }
        } else {
            result.error = "unknown option '" + arg + "'";
            return result;
        }
    }
    if (parsed.command == Command::kSave && !parsed.settingsList) {
        result.error = "say which settings list to write: -s LIST.pzl";
        return result;
    }
    const bool anyStream = std::find(parsed.paths.begin(), parsed.paths.end(), "-") !=
                           parsed.paths.end();
    if (parsed.command == Command::kSave && anyStream) {
        result.error = "a settings list cannot hold standard input ('-')";
        return result;
    }
    // A settings list read by 'run' brings its own output folder and files; standard input's
    // result goes to standard output.
    const bool fromList = parsed.command == Command::kRun && parsed.settingsList;
    const bool onlyStreams =
        anyStream && std::all_of(parsed.paths.begin(), parsed.paths.end(),
                                 [](const std::string& path) { return path == "-"; });
    const bool writesFiles = parsed.command == Command::kRun || parsed.command == Command::kSave ||
                             parsed.command == Command::kRegex;
    const bool toStandardOutput = onlyStreams && parsed.command == Command::kRun;
    if (writesFiles && !fromList && !toStandardOutput && !parsed.outputFolder &&
        !parsed.overWrite) {
        result.error = "say where the results go: -o DIR or --overwrite";
        return result;
    }
    if (!fromList && parsed.paths.empty()) {
        result.error = "no files given";
        return result;
    }
    if (parsed.command != Command::kRun && anyStream) {
        result.error = "only 'run' reads standard input ('-')";
        return result;
    }
    if (parsed.backupSuffix && !fromList && !parsed.overWrite) {
        result.error = BackupNeedsOverwrite();
        return result;
    }
    if (parsed.command == Command::kRegex && parsed.expression.empty()) {
        result.error = "give the command with -e COMMAND";
        return result;
    }
    result.arguments = parsed;
    return result;
}

}  // namespace cli
