#include "support/run_program.h"

#include <sys/wait.h>

#include <cstdlib>

#include "support/temp_folder.h"

namespace testing_support {
namespace {

std::string Quote(const std::string& s) {
    std::string quoted = "'";
    for (char c : s) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

}  // namespace

ProgramOutcome RunProgram(const std::filesystem::path& folder, const std::string& program,
                          const std::vector<std::string>& args) {
    const TempFolder logs;
    std::string command = "cd " + Quote(folder.string()) + " && " + Quote(program);
    for (const auto& arg : args) {
        command += " " + Quote(arg);
    }
    command += " >" + Quote(logs.str() + "/out") + " 2>" + Quote(logs.str() + "/err");
    ProgramOutcome outcome;
    const int raw = std::system(command.c_str());
    outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    outcome.out = ReadFile(logs.path() / "out");
    outcome.err = ReadFile(logs.path() / "err");
    return outcome;
}

}  // namespace testing_support
