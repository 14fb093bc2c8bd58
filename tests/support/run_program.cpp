#include "support/run_program.h"

#include <sys/wait.h>

#include <cstdlib>

#include "support/temp_folder.h"

namespace testing_support {

std::string ShellQuote(const std::string& s) {
    std::string quoted = "'";
    for (char c : s) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

ProgramOutcome RunProgram(const std::filesystem::path& folder, const std::string& program,
                          const std::vector<std::string>& args) {
    std::string command = ShellQuote(program);
    for (const auto& arg : args) {
        command += " " + ShellQuote(arg);
    }
    return RunShell(folder, command);
}

ProgramOutcome RunShell(const std::filesystem::path& folder, const std::string& commandLine) {
    const TempFolder logs;
    const std::string command = "cd " + ShellQuote(folder.string()) + " && { " + commandLine +
                                " ; } >" + ShellQuote(logs.str() + "/out") + " 2>" +
                                ShellQuote(logs.str() + "/err");
    ProgramOutcome outcome;
    const int raw = std::system(command.c_str());
    outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    outcome.out = ReadFile(logs.path() / "out");
    outcome.err = ReadFile(logs.path() / "err");
    return outcome;
}

}  // namespace testing_support
