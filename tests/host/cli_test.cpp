// polyshift-cli end to end: the real program, copied with its runtime into a folder whose
// "plugin" holds the plug-ins a case needs.
#include <gtest/gtest.h>
#include <filesystem>

#include "host_fixture.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::TempFolder;

class CliTest : public ::testing::Test {
  protected:
    CliTest() {
        const fs::path cli = POLYSHIFT_CLI;
        fs::copy_file(cli, fs::path(program.path()) / "polyshift-cli");
        fs::copy_file(cli.parent_path() / "libpolyshift-runtime.so",
                      fs::path(program.path()) / "libpolyshift-runtime.so");
        program.AddRealPlugin("eolfix");
    }

    testing_support::ProgramOutcome Cli(const std::vector<std::string>& args) {
        return testing_support::RunProgram(work.path(), program.path() + "/polyshift-cli", args);
    }

    host_testing::ProgramFolder program;
    TempFolder work;
};

TEST_F(CliTest, ListShowsVersionLinesThenFunctions) {
    program.AddTestPlugin("tp_alpha");
    const auto result = Cli({"list"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out,
              "eolfix.so v.1.0.0.2\n"
              "tp_alpha.so v.1.2.3.4\n"
              "eolfix:0\t改行をCR+LF(Windows)に変換\n"
              "eolfix:1\t改行をCR(Macintosh)に変換\n"
              "eolfix:2\t改行をLF(UNIX)に変換\n"
              "tp_alpha:0\tAlpha 0\n"
              "tp_alpha:1\tAlpha 1\n");
    EXPECT_EQ(result.err, "");
}

TEST_F(CliTest, RunConvertsAFolderThroughTheChainInto_o) {
    work.Write("docs/a.txt", "one\r\ntwo\r");
    work.Write("docs/sub/b.txt", "three\n");
    fs::create_directory(work.path() / "out");
    const auto result = Cli({"run", "-o", "out", "-f", "eolfix:2", "docs"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ReadFile(work.path() / "out/a.txt"), "one\ntwo\n");
    EXPECT_EQ(ReadFile(work.path() / "out/b.txt"), "three\n");
    EXPECT_NE(result.err.find("すべての処理を終了しました。（エラー：0）\n"), std::string::npos)
        << result.err;
}

TEST_F(CliTest, FunctionsAreFoundByTitlePrefixInAnyCase) {
    const auto file = work.Write("a.txt", "x\ny\n");
    const auto result = Cli({"run", "--overwrite", "-f", "改行をcr+lf", file});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ReadFile(file), "x\r\ny\r\n");
}

TEST_F(CliTest, ExistingOutputIsOverwrittenOnlyWith_y) {
    work.Write("in/a.txt", "new\n");
    work.Write("out/a.txt", "old");
    auto result = Cli({"run", "-o", "out", "in/a.txt"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(ReadFile(work.path() / "out/a.txt"), "old");
    EXPECT_NE(result.err.find("は上書きされます。よろしいですか？"), std::string::npos);
    EXPECT_NE(result.err.find("（エラー：1）"), std::string::npos);

    result = Cli({"run", "-y", "-o", "out", "in/a.txt"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ReadFile(work.path() / "out/a.txt"), "new\n");
}

TEST_F(CliTest, TableWantedWithoutOneIsNotedAndTheStepRunsWithout) {
    program.AddTestPlugin("tp_table");
    const auto file = work.Write("a.txt", "x");
    auto result = Cli({"run", "--overwrite", "-f", "tp_table:0", file});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.err.find("\"Table 0\" needs a conversion table"), std::string::npos)
        << result.err;
    EXPECT_EQ(ReadFile(file), "x[]");

    work.Write("t.tbl", "");
    result = Cli({"run", "--overwrite", "-t", "t.tbl", "-f", "Table 1", file});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ReadFile(file), "x[][" + work.str() + "/t.tbl]");
}

TEST_F(CliTest, UsageErrorsExitWith2) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {},
             {"frobnicate"},
             {"run", "a.txt"},      // neither -o nor --overwrite
             {"run", "-o"},         // -o without a folder
             {"run", "-o", "out"},  // no files
             {"run", "-o", "out", "-f", "nosuch:0", "a.txt"},
             {"run", "--bogus", "-o", "out", "a.txt"},
         }) {
        const auto result = Cli(args);
        EXPECT_EQ(result.status, 2) << testing::PrintToString(args);
        EXPECT_NE(result.err.find("usage: polyshift-cli"), std::string::npos);
    }
}

TEST_F(CliTest, MissingFilesFailWithTheCount) {
    fs::create_directory(work.path() / "out");
    const auto result = Cli({"run", "-o", "out", "nothing-here.txt"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("変換元ファイルをオープンできません。"), std::string::npos);
    EXPECT_NE(result.err.find("すべての処理を終了しました。（エラー：1）"), std::string::npos);
}

}  // namespace
