// polyshift-cli end to end: the real program, copied with its runtime into a folder whose
// "plugin" holds the plug-ins a case needs (eolfix to begin with). On Windows the program
// runs directly, as any program started from another; shell lines go to cmd.exe.
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
        const std::filesystem::path folder = program.path();
        for (const std::filesystem::path file : {POLYSHIFT_CLI, POLYSHIFT_RUNTIME}) {
            std::filesystem::copy_file(file, folder / file.filename());
        }
        program.AddRealPlugin("eolfix");
    }

    std::string cli() const {
        return program.path() + "/" + std::filesystem::path(POLYSHIFT_CLI).filename().string();
    }

    testing_support::ProgramOutcome Cli(const std::vector<std::string>& args) {
        return testing_support::RunProgram(work.path(), cli(), args);
    }

    // A shell command line in the work folder where "CLI" stands for the program and "CAT"
    // for the command that copies a file to standard output.
    testing_support::ProgramOutcome Shell(std::string commandLine) {
#ifdef _WIN32
        Replace(commandLine, "CAT", "type");
#else
        Replace(commandLine, "CAT", "cat");
#endif
        Replace(commandLine, "CLI", testing_support::ShellQuote(cli()));
        return testing_support::RunShell(work.path(), commandLine);
    }

    ProgramFolder program;
    testing_support::TempFolder work;

  private:
    static void Replace(std::string& text, const std::string& what, const std::string& with) {
        for (auto at = text.find(what); at != std::string::npos;
             at = text.find(what, at + with.size())) {
            text.replace(at, what.size(), with);
        }
    }
};

}  // namespace host_testing
