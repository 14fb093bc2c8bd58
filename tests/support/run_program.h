// Runs a program the way a user at a shell would, and keeps what it printed.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

struct ProgramOutcome {
    int status = -1;  // exit status; -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// `program` with `args` (each passed as one argument), run with `folder` as the working folder.
ProgramOutcome RunProgram(const std::filesystem::path& folder, const std::string& program,
                          const std::vector<std::string>& args);

// A shell command line (pipes and redirections included) run in `folder`; `status` is the
// last command's, `out` and `err` are what the whole line left on standard output and error.
ProgramOutcome RunShell(const std::filesystem::path& folder, const std::string& commandLine);

// `text` quoted for the shell as one word.
std::string ShellQuote(const std::string& text);

#ifdef POLYSHIFT_CLI
// The built polyshift-cli (with every built plug-in), run in `folder`.
inline ProgramOutcome RunCli(const std::filesystem::path& folder,
                             const std::vector<std::string>& args) {
    return RunProgram(folder, POLYSHIFT_CLI, args);
}
#endif

}  // namespace testing_support
