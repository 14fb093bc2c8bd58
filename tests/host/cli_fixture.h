// polyshift-cli end to end: the real program, copied with its runtime into a folder whose
// "plugin" holds the plug-ins a case needs (eolfix to begin with).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>

#include "host_fixture.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace host_testing {

class CliTest : public ::testing::Test {
  protected:
    CliTest() {
        const std::filesystem::path cli = POLYSHIFT_CLI;
        std::filesystem::copy_file(cli, std::filesystem::path(program.path()) / "polyshift-cli");
        std::filesystem::copy_file(
            cli.parent_path() / "libpolyshift-runtime.so",
            std::filesystem::path(program.path()) / "libpolyshift-runtime.so");
        program.AddRealPlugin("eolfix");
    }

    testing_support::ProgramOutcome Cli(const std::vector<std::string>& args) {
        return testing_support::RunProgram(work.path(), program.path() + "/polyshift-cli", args);
    }

    // A shell command line in the work folder where "CLI" stands for the program.
    testing_support::ProgramOutcome Shell(std::string commandLine) {
        const std::string cli = testing_support::ShellQuote(program.path() + "/polyshift-cli");
        for (auto at = commandLine.find("CLI"); at != std::string::npos;
             at = commandLine.find("CLI", at + cli.size())) {
            commandLine.replace(at, 3, cli);
        }
        return testing_support::RunShell(work.path(), commandLine);
    }

    ProgramFolder program;
    testing_support::TempFolder work;
};

}  // namespace host_testing
