#include "host/cli/cli_arguments.h"

#include <algorithm>
#include <charconv>

namespace cli {

const char* const kUsage =
    "usage: polyshift-cli list\n"
    "       polyshift-cli run [-s LIST.pzl] [-o DIR] [--overwrite] [--no-output] [-t TABLE]\n"
    "                         [-f FUNCTION]... [-y] [--jobs N] PATH...\n"
    "       polyshift-cli save -s LIST.pzl [-o DIR] [--overwrite] [--no-output] [-t TABLE]\n"
    "                         [-f FUNCTION]... PATH...\n"
    "       polyshift-cli run [-t TABLE] [-f FUNCTION]... - < IN > OUT\n"
    "\n"
    "  list          show every plug-in's version and every function as NAME:INDEX<TAB>TITLE\n"
    "  run           convert the files (a folder adds every file below it) through the\n"
    "                functions given with -f, in that order\n"
    "  save          write the options, files and functions that 'run' would use into the\n"
    "                settings list given with -s, without converting anything\n"
    "  -s LIST.pzl   run: take options, files and functions from this settings list (as the\n"
    "                window saves it); options given here replace the list's, -f replaces its\n"
    "                whole chain, PATHs are added to its files, and PATH is then optional\n"
    "  -o DIR        write the results into DIR\n"
    "  --overwrite   write every result over its own source file\n"
    "  --no-output   write nothing for a file the chain left unchanged\n"
    "  -t TABLE      conversion-table file for the functions that need one\n"
    "  -f FUNCTION   NAME:INDEX (as 'list' shows it) or the beginning of a title\n"
    "  -y            answer Yes when an existing file would be overwritten\n"
    "  --jobs N      convert up to N files at the same time (default: one per processor);\n"
    "                results, messages and their order are those of --jobs 1\n"
    "  -             (as a PATH of run) read standard input and write the result to standard\n"
    "                output\n";

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
    if (command != "run" && command != "save") {
        result.error = "unknown command '" + command + "'";
        return result;
    }
    parsed.command = command == "run" ? Command::kRun : Command::kSave;
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
        if (onlyPaths || arg.empty() || arg[0] != '-' || arg == "-") {
            parsed.paths.push_back(arg);
        } else if (arg == "--") {
            onlyPaths = true;
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
        } else if (arg == "-y") {
            parsed.yes = true;
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
    if (!fromList && !onlyStreams && !parsed.outputFolder && !parsed.overWrite) {
        result.error = "say where the results go: -o DIR or --overwrite";
        return result;
    }
    if (!fromList && parsed.paths.empty()) {
        result.error = "no files given";
        return result;
    }
    result.arguments = parsed;
    return result;
}

}  // namespace cli
