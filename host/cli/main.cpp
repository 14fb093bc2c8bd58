// polyshift-cli: lists the plug-ins' functions, runs files through a chain of them, saves
// or runs settings lists, and offers the host's tools.
#include <cstdio>
#include <string>
#include <vector>

#include "host/cli/commands.h"

#ifdef _WIN32
// On Windows the program starts in wmain (win32/wide_main.cpp), which hands over UTF-8.
int PolyshiftCliMain(int argc, char** argv) {
#else
int main(int argc, char** argv) {
#endif
    const std::vector<std::string> args(argv + 1, argv + argc);
    const cli::ParseResult parsed = cli::ParseArguments(args);
    if (!parsed.arguments) {
        std::fprintf(stderr, "polyshift-cli: %s\n%s", parsed.error.c_str(), cli::kUsage);
        return cli::kExitUsage;
    }
    switch (parsed.arguments->command) {
        case cli::Command::kHelp:
            std::fputs(cli::kUsage, stdout);
            return cli::kExitOk;
        case cli::Command::kList:
            return cli::RunList(stdout, stderr);
        case cli::Command::kRun:
        case cli::Command::kSave:
            return cli::RunOrSave(*parsed.arguments, stderr);
        case cli::Command::kInfo:
            return cli::RunInfo(*parsed.arguments, stdout, stderr);
        case cli::Command::kScan:
            return cli::RunScan(*parsed.arguments, stdout, stderr);
        case cli::Command::kLower:
            return cli::RunLower(*parsed.arguments, stdout, stderr);
        case cli::Command::kRegex:
            return cli::RunRegex(*parsed.arguments, stderr);
        case cli::Command::kAbout:
            return cli::RunAbout(stdout, stderr);
    }
    return cli::kExitUsage;
}
