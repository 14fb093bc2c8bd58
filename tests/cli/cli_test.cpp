// polyshift-cli end to end: listing, running and settings lists.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>
#include <map>

#include "cli_fixture.h"
#include "platform/utf8_path.h"
#include "support/sample_text.h"

namespace {

namespace fs = std::filesystem;
using host_testing::CliTest;
using host_testing::Library;
using testing_support::ReadFile;

TEST_F(CliTest, ListShowsVersionLinesThenFunctions) {
    program.AddTestPlugin("tp_alpha");
    const auto result = Cli({"list"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out,
              Library("eolfix") + " v.1.0.0.2\n" + Library("tp_alpha") +
                  " v.1.2.3.4\n"
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
    // The output folder and the tree below it are made as the results need them.
    const auto result = Cli({"run", "-o", "out/new", "-f", "eolfix:2", "docs/"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ReadFile(work.path() / "out/new/a.txt"), "one\ntwo\n");
    EXPECT_EQ(ReadFile(work.path() / "out/new/sub/b.txt"), "three\n");
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
    EXPECT_EQ(ReadFile(file), "x[][" + work.Path("t.tbl") + "]");
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
             {"run", "--backup", "-o", "out", "a.txt"},  // a backup only of what is replaced
             {"run", "--overwrite", "--backup=", "a.txt"},
             {"run", "--overwrite", "--backup=/x", "a.txt"},
             {"save", "-s", "x.pzl", "--overwrite", "--keep-time", "a.txt"},
         }) {
        const auto result = Cli(args);
        EXPECT_EQ(result.status, 2) << testing::PrintToString(args);
        EXPECT_NE(result.err.find("usage: polyshift-cli"), std::string::npos);
    }
}

TEST_F(CliTest, DashFiltersStandardInputToStandardOutputInAPipeline) {
    program.AddRealPlugin("base64");
    work.Write("in.txt", "x\r\ny\r\n");
    // Line breaks to LF, then Base64 and back: the renaming functions' new names (".txt",
    // ".bin") cannot apply to standard output and are noted on stderr.
    auto result =
        Shell("CLI run -f eolfix:2 -f base64:0 - < in.txt | CLI run -f base64:1 - > out.bin");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(ReadFile(work.path() / "out.bin"), "x\ny\n");
    EXPECT_NE(result.err.find("the new name '-.txt' is not used"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("the new name '-.bin' is not used"), std::string::npos) << result.err;
    EXPECT_FALSE(fs::exists(work.path() / "-.txt"));
    EXPECT_FALSE(fs::exists(work.path() / "-.bin"));

    // Standard input that is a pipe, not a file; a chain that leaves it unchanged.
    work.Write("ab.txt", "a\nb\n");
    result = Shell("CAT ab.txt | CLI run -f eolfix:2 -");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "a\nb\n");
    EXPECT_NE(result.err.find("（エラー：0）"), std::string::npos);
}

TEST_F(CliTest, DashMixesWithFilesAndHonoursNoOutput) {
    work.Write("a.txt", "one\n");
    fs::create_directory(work.path() / "out");
    // Standard input goes to standard output, the file into -o.
    work.Write("two.txt", "two\n");
    auto result = Shell("CAT two.txt | CLI run -o out -f eolfix:0 - a.txt");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "two\r\n");
    EXPECT_EQ(ReadFile(work.path() / "out/a.txt"), "one\r\n");

    // Unchanged with --no-output: nothing is written, and that is no failure.
    work.Write("x.txt", "x\n");
    result = Shell("CAT x.txt | CLI run --no-output -f eolfix:2 -");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "");
}

// Files converted at once give exactly what --jobs 1 gives: the same files, the same
// messages in the same order, the same count and exit status.
class CliJobsTest : public CliTest {
protected:
    CliJobsTest() {
        program.AddRealPlugin("base64");
        program.AddRealPlugin("rulebook");
        program.AddTestPlugin("tp_failing");
        work.Write("broken.re", "s/(/x/\n");  // the plug-in shows a box for every file
    }

    // A folder of files, some of which fail: outputs that exist already (no -y), an output
    // name taken by a folder, sources with one output name (dup.bin only once the chain
    // renames to .bin), a source that is not there.
    void Reset() {
        fs::remove_all(work.path() / "in");
        fs::remove_all(work.path() / "out");
        for (int i = 0; i < 40; ++i) {
            work.Write("in/f" + std::to_string(100 + i) + ".txt",
                       "line " + std::to_string(i) + "\nmore\n");
        }
        // Below the folder argument each keeps its place; named by themselves, all three
        // would land on one target (dup.txt only until the chain renames to .bin).
        for (const char* folder : {"in/", ""}) {
            work.Write(std::string(folder) + "x/dup.txt", "first\n");
            work.Write(std::string(folder) + "y/dup.txt", "second\n");
            work.Write(std::string(folder) + "z/dup.bin", "third\n");
        }
        work.Write("out/f105.txt", "old");
        work.Write("out/f117.txt", "old");
        fs::create_directories(work.path() / "out/f123.txt");
    }

    struct Outcome {
        int status;
        std::string err;
        std::map<std::string, std::string> files;
    };

    Outcome RunWith(const std::string& jobs, std::vector<std::string> extra) {
        Reset();
        std::vector<std::string> args{"run", "--jobs", jobs, "-o", "out", "-f", "eolfix:0",
                                      "-f", "Failing 0"};
        args.insert(args.end(), extra.begin(), extra.end());
        args.insert(args.end(), {"in", "missing.txt", "x/dup.txt", "y/dup.txt", "z/dup.bin"});
        const auto result = Cli(args);
        Outcome outcome{result.status, result.err, {}};
        for (const auto& entry : fs::recursive_directory_iterator(work.path() / "out")) {
            outcome.files[platform::Utf8FromPath(entry.path())] =
                entry.is_regular_file() ? ReadFile(entry.path()) : "<folder>";
        }
        return outcome;
    }
};

TEST_F(CliJobsTest, ParallelRunsMatchTheOneAtATimeRunExactly) {
    for (const std::vector<std::string>& extra :
         {std::vector<std::string>{},
          {"-y"},
          {"-y", "-f", "base64:0", "-f", "base64:1"},
          {"-t", "broken.re", "-f", "rulebook:0"}}) {
        const Outcome alone = RunWith("1", extra);
        EXPECT_EQ(alone.status, 1);
        for (const std::string jobs : {"2", "7"}) {
            const Outcome atOnce = RunWith(jobs, extra);
            EXPECT_EQ(atOnce.status, alone.status) << jobs;
            EXPECT_EQ(atOnce.err, alone.err) << jobs;
            EXPECT_EQ(atOnce.files, alone.files) << jobs;
        }
    }
    // The second source named dup.txt finds the first one's result and fails, with or without
    // -y; renamed to .bin, the dup.txt results and z/dup.bin's meet, and the first one stays.
    for (const auto& extra : {std::vector<std::string>{}, {"-y"}}) {
        Outcome outcome = RunWith("2", extra);
        EXPECT_EQ(outcome.files[work.Path("out/dup.txt")], "first\r\n");
        EXPECT_EQ(outcome.files[work.Path("out/y/dup.txt")], "second\r\n");
        EXPECT_NE(outcome.err.find("エラー: '" + work.Path("out/dup.txt") + "' には '" +
                                   work.Path("x/dup.txt") + "' の変換結果を書き込んだため、'" +
                                   work.Path("y/dup.txt") + "' の変換結果は書き込みません。"),
                  std::string::npos)
            << outcome.err;
    }
    EXPECT_EQ(RunWith("2", {"-y", "-f", "base64:0", "-f", "base64:1"})
                  .files[work.Path("out/dup.bin")],
              "first\r\n");
    const Outcome failing = RunWith("2", {});
    EXPECT_NE(failing.err.find("すべての処理を終了しました。（エラー：5）"), std::string::npos)
        << failing.err;
}

// A step that fails leaves its file unconverted through it, as the window does; a script
// learns of it from the exit status and the final count, one at a time or at once.
TEST_F(CliTest, AFailedStepExitsWith1AndIsCountedInTheReport) {
    program.AddRealPlugin("encswap");
    program.AddRealPlugin("unibridge");
    const std::string utf8 = "日本語のメモ\n";
    const std::string emoji = "絵文字😀\n";
    work.Write("in/a-utf8.txt", utf8);
    work.Write("in/b-emoji.txt", emoji);
    work.Write("in/c-ascii.txt", "plain\n");
    const std::string done = "すべての処理を終了しました。（エラー：0）";
    for (const std::string jobs : {"1", "2"}) {
        fs::remove_all(work.path() / "out");
        fs::create_directory(work.path() / "out");
        // encswap refuses both UTF-8 files; they come out as they went in.
        auto result = Cli({"run", "--jobs", jobs, "-o", "out", "-f", "encswap:4", "-f",
                           "eolfix:0", "in"});
        EXPECT_EQ(result.status, 1) << result.err;
        EXPECT_NE(result.err.find(done + "（失敗した処理のあるファイル：2）\n"), std::string::npos)
            << result.err;
        EXPECT_EQ(ReadFile(work.path() / "out/a-utf8.txt"), "日本語のメモ\r\n");
        EXPECT_EQ(ReadFile(work.path() / "out/c-ascii.txt"), "plain\r\n");

        // unibridge lacks only the emoji in Shift JIS.
        result = Cli({"run", "--jobs", jobs, "-y", "-o", "out", "-f", "unibridge:3", "in"});
        EXPECT_EQ(result.status, 1) << result.err;
        EXPECT_NE(result.err.find(done + "（失敗した処理のあるファイル：1）\n"), std::string::npos)
            << result.err;
        EXPECT_EQ(ReadFile(work.path() / "out/b-emoji.txt"), emoji);
        EXPECT_EQ(ReadFile(work.path() / "out/a-utf8.txt"), testing_support::Sjis(utf8));

        // Every step done: the report is the window's, the status 0.
        result = Cli({"run", "--jobs", jobs, "-y", "-o", "out", "-f", "eolfix:2", "in"});
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_NE(result.err.find(done + "\n"), std::string::npos) << result.err;
    }
    // The filter passes the input on, and says so in its status.
    work.Write("u.txt", utf8);
    auto result = Shell("CAT u.txt | CLI run -f encswap:0 -");
    EXPECT_EQ(result.status, 1) << result.err;
    EXPECT_EQ(result.out, utf8);

    // A table the rulebook cannot open: it says so and converts nothing, which is a failed
    // step too, though the plug-in asked for no room.
    program.AddRealPlugin("rulebook");
    result = Cli({"run", "-y", "-o", "out", "-t", "missing.tbl", "-f", "rulebook:1", "u.txt"});
    EXPECT_EQ(result.status, 1) << result.err;
    EXPECT_NE(result.err.find(done + "（失敗した処理のあるファイル：1）\n"), std::string::npos)
        << result.err;
    EXPECT_EQ(ReadFile(work.path() / "out/u.txt"), utf8);
}

TEST_F(CliTest, JobsMustBeAPositiveNumber) {
    for (const char* jobs : {"0", "-1", "x", "2x", "100000"}) {
        const auto result = Cli({"run", "--jobs", jobs, "-o", "out", "a.txt"});
        EXPECT_EQ(result.status, 2) << jobs;
        EXPECT_NE(result.err.find("--jobs takes a number"), std::string::npos) << result.err;
    }
}

TEST_F(CliTest, MissingFilesFailWithTheCount) {
    fs::create_directory(work.path() / "out");
    const auto result = Cli({"run", "-o", "out", "nothing-here.txt"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("変換元ファイルをオープンできません。"), std::string::npos);
    EXPECT_NE(result.err.find("すべての処理を終了しました。（エラー：1）"), std::string::npos);
}

#ifndef _WIN32  // Windows keeps no named pipes in folders, and this build makes no links
// Neither a folder that holds a link to itself and a named pipe, nor a pipe named on the
// command line, stops the run: the folder's file converts once, the named pipe fails at once.
TEST_F(CliTest, LoopingLinksAndPipesNeitherHangNorRepeat) {
    work.Write("in/a.txt", "x\r\n");
    fs::create_directory_symlink(".", work.path() / "in/loop");
    ASSERT_EQ(::mkfifo((work.path() / "in/pipe").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((work.path() / "named").c_str(), 0600), 0);
    fs::create_directory(work.path() / "out");
    const auto result = Cli({"run", "-o", "out", "-f", "eolfix:2", "in", "named"});
    EXPECT_EQ(result.status, 1) << result.err;
    EXPECT_EQ(ReadFile(work.path() / "out/a.txt"), "x\n");
    EXPECT_FALSE(fs::exists(work.path() / "out/pipe"));
    EXPECT_NE(result.err.find("変換元ファイルをオープンできません。"), std::string::npos);
    EXPECT_NE(result.err.find("すべての処理を終了しました。（エラー：1）"), std::string::npos);
}
#endif

}  // namespace

// --- Settings lists -------------------------------------------------------------------------

namespace {


class CliSettingsTest : public CliTest {
  protected:
    CliSettingsTest() {
        work.Write("docs/a.txt", "one\r\ntwo\r");
        work.Write("docs/sub/b.txt", "three\n");
        work.Write("c.txt", "four\r");
    }
};

TEST_F(CliSettingsTest, SavedListRunsToTheSameResultsAsTheCommandItCameFrom) {
    const std::vector<std::string> options = {"-f", "eolfix:1", "-f", "改行をlf", "docs", "c.txt"};
    auto direct = options;
    direct.insert(direct.begin(), {"run", "-o", "direct"});
    fs::create_directory(work.path() / "direct");
    auto result = Cli(direct);
    ASSERT_EQ(result.status, 0) << result.err;

    auto save = options;
    save.insert(save.begin(), {"save", "-s", "set.pzl", "-o", "listed"});
    result = Cli(save);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_FALSE(fs::exists(work.path() / "listed"));  // nothing converted yet
    EXPECT_EQ(ReadFile(work.path() / "set.pzl"),
              testing_support::InSystemProfileForm("[Settings]\n"
                           "OutputFolder=" +
                           work.Path("listed") +
                           "\n"
                           "TablePath=\n"
                           "OverWrite=0\n"
                           "NoOutput=0\n"
                           "\n"
                           "[Files]\n"
                           "Count=3\n"
                           "file0=" +
                           work.Path("c.txt") +
                           "\n"
                           "file1=" +
                           work.Path("docs/a.txt") +
                           "\n"
                           "folder1=" +
                           work.Path("docs") +
                           "\n"
                           "file2=" +
                           work.Path("docs/sub/b.txt") +
                           "\n"
                           "folder2=" +
                           work.Path("docs") +
                           "\n"
                           "\n"
                           "[Functions]\n"
                           "Count=2\n"
                           "function0=改行をCR(Macintosh)に変換\n"
                           "function1=改行をLF(UNIX)に変換\n"));

    // The list keeps the tree below the folder argument, into a folder still to be made.
    result = Cli({"run", "-s", "set.pzl"});
    ASSERT_EQ(result.status, 0) << result.err;
    for (const char* name : {"a.txt", "sub/b.txt", "c.txt"}) {
        EXPECT_EQ(ReadFile(work.path() / "listed" / name), ReadFile(work.path() / "direct" / name))
            << name;
    }
    EXPECT_EQ(ReadFile(work.path() / "listed/a.txt"), "one\ntwo\n");
}

TEST_F(CliSettingsTest, CommandLineReplacesOptionsAndChainAndAddsPaths) {
    program.AddTestPlugin("tp_upper");
    work.Write("list.pzl", "[Settings]\nOutputFolder=" + work.str() +
                               "/from-list\nOverWrite=0\n"
                               "[Files]\nCount=1\nfile0=" +
                               work.str() +
                               "/c.txt\n"
                               "[Functions]\nCount=2\nfunction0=Gone away\nfunction1=Upper 0\n");
    fs::create_directory(work.path() / "from-list");
    fs::create_directory(work.path() / "elsewhere");

    // The list alone: its chain (the unknown title named on stderr) into its folder.
    auto result = Cli({"run", "-s", "list.pzl"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.err.find("list.pzl: no function 'Gone away'"), std::string::npos)
        << result.err;
    EXPECT_EQ(ReadFile(work.path() / "from-list/c.txt"), "FOUR\r");

    // -o replaces the folder, -f the whole chain, and the paths are added.
    result = Cli({"run", "-s", "list.pzl", "-o", "elsewhere", "-f", "eolfix:2", "docs/a.txt"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err.find("Gone away"), std::string::npos) << result.err;
    EXPECT_EQ(ReadFile(work.path() / "elsewhere/c.txt"), "four\n");
    EXPECT_EQ(ReadFile(work.path() / "elsewhere/a.txt"), "one\ntwo\n");
}

TEST_F(CliSettingsTest, ListsOverWriteAppliesAndATitleTwiceRunsTwice) {
    program.AddTestPlugin("tp_table");
    const std::string table = work.Write("t.tbl", "");
    const std::string file = work.Write("x.txt", "x");
    work.Write("list.pzl", "[Settings]\nTablePath=" + table +
                               "\nOverWrite=1\n[Files]\nCount=1\n"
                               "file0=" +
                               file +
                               "\n[Functions]\nCount=2\nfunction0=table 0\n"
                               "function1=Table 0\n");
    const auto result = Cli({"run", "-s", "list.pzl"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ReadFile(file), "x[" + table + "][" + table + "]");
}

TEST_F(CliSettingsTest, WindowsWrittenListFindsItsFunctions) {
    // Shift JIS with CR LF, as the Windows program writes it (here with this system's paths).
    const std::string file = work.Write("w.txt", "a\r\nb\r\n");
    work.Write("win.pzl", testing_support::Sjis(
                              "[Settings]\r\nOutputFolder=" + work.str() +
                              "\r\nTablePath=\r\nOverWrite=1\r\nNoOutput=0\r\n\r\n[Files]\r\n"
                              "Count=1\r\nfile0=" +
                              file +
                              "\r\n\r\n[Functions]\r\nCount=1\r\n"
                              "function0=改行をLF(UNIX)に変換\r\n"));
    const auto result = Cli({"run", "-s", "win.pzl"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ReadFile(file), "a\nb\n");
}

TEST_F(CliSettingsTest, FailuresAreReported) {
    // A list that cannot be read.
    auto result = Cli({"run", "-s", "missing.pzl"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("cannot read the settings list 'missing.pzl'"), std::string::npos)
        << result.err;

    // A list that cannot be written: the reason is told and the old file stays.
    fs::create_directory(work.path() / "folder.pzl");
    result = Cli({"save", "-s", "folder.pzl", "-o", "out", "c.txt"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("cannot save the settings list 'folder.pzl': "), std::string::npos)
        << result.err;
    result = Cli({"save", "-s", "no/such/folder/set.pzl", "-o", "out", "c.txt"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("'no/such/folder/set.pzl': "), std::string::npos) << result.err;

    // A list without an output folder needs -o or --overwrite; save needs -s, a place and
    // files.
    work.Write("bare.pzl", "[Settings]\nOutputFolder=\n");
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"run", "-s", "bare.pzl", "c.txt"},
             {"save", "-o", "out", "c.txt"},
             {"save", "-s", "x.pzl", "c.txt"},
             {"save", "-s", "x.pzl", "-o", "out"},
             {"save", "-s"},
         }) {
        result = Cli(args);
        EXPECT_EQ(result.status, 2) << testing::PrintToString(args) << result.err;
        EXPECT_NE(result.err.find("usage: polyshift-cli"), std::string::npos);
    }
    EXPECT_FALSE(fs::exists(work.path() / "x.pzl"));
}

}  // namespace
