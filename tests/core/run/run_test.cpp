// The conversion run with a scripted user interface: every box, status text and progress
// step in order, and what ends up on disk.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>

#include "host/core/run/conversion_run.h"
#include "host/core/plugins/function_lookup.h"
#include "host/core/run/same_content.h"
#include "host/core/plugins/plugin_registry.h"
#include "host_fixture.h"
#include "platform/message_box.h"
#include "scripted_ui.h"
#include "support/sample_text.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using host_testing::ProgramFolder;
using host_testing::ScriptedUi;
using testing_support::ReadFile;
using testing_support::TempFolder;

const std::string kConfirm = "box 36 確認: 変換を実行します。よろしいですか？";

std::string Done(int errors) {
    return "box 64 処理終了: すべての処理を終了しました。（エラー：" + std::to_string(errors) + "）";
}

class RunTest : public ::testing::Test {
protected:
    RunTest() {
        for (const char* name : {"tp_upper", "tp_failing", "tp_refusing", "tp_table", "tp_rename_one",
                                 "tp_rename_two", "tp_shrink"}) {
            program.AddTestPlugin(name);
        }
        program.AddRealPlugin("eolfix");
        registry.ScanPlugins();
        registry.FillFunctionList();
        fs::create_directories(out());
        options.outputFolder = out();
    }

    std::string in() const { return work.Path("in"); }
    std::string out() const { return work.Path("out"); }

    std::string AddFile(const std::string& name, const std::string& bytes) {
        const std::string path = work.Write("in/" + name, bytes);
        files.Add(path);
        return path;
    }

    // Appends the function whose title begins with `title` to the chain.
    void Use(const std::string& title) {
        const auto found =
            host::FindFunctionByTitle(registry.functionList(), testing_support::Sjis(title));
        ASSERT_TRUE(found.has_value()) << title;
        const auto& item = registry.functionList()[*found];
        chain.push_back({item.title, item.entry.get()});
    }

    host::RunResult Run() {
        host::ConversionRun run(ui, files, chain, options);
        const host::RunResult result = run.RunBatch();
        EXPECT_EQ(ui.waitDepth, 0);
        return result;
    }

    ProgramFolder program;
    ScriptedUi ui;
    host::PluginRegistry registry{program.path(), ui};
    TempFolder work;
    host::FileList files;
    host::Chain chain;
    host::RunOptions options;
};

TEST_F(RunTest, NoFilesIsReportedAndNothingElseHappens) {
    Run();
    EXPECT_EQ(ui.log, (std::vector<std::string>{
                          "box 16 エラー: 変換元ファイルがリストにありません。",
                          "status 変換元ファイルがリストにありません。"}));
}

TEST_F(RunTest, DecliningTheConfirmationStopsBeforeAnyFile) {
    AddFile("a.txt", "abc");
    ui.answers = {platform::kAnswerNo};
    Run();
    EXPECT_EQ(ui.log, (std::vector<std::string>{"range 0 1", "pos 0", "status ", kConfirm}));
    EXPECT_FALSE(fs::exists(work.Path("out/a.txt")));
}

TEST_F(RunTest, ThreeFilesStepThroughTheProgressAndEndWithTheCount) {
    const auto a = AddFile("a.txt", "one\n");
    const auto b = AddFile("B.txt", "two\n");
    const auto c = AddFile("c.txt", "three\n");
    Use("改行をCR+LF");
    Run();
    EXPECT_EQ(ui.log, (std::vector<std::string>{
                          "range 0 3", "pos 0", "status ", kConfirm, "pos 0", "status " + a,
                          "pos 1", "status " + b, "pos 2", "status " + c, "pos 3",
                          "status すべての処理を終了しました。（エラー：0）", Done(0)}));
    EXPECT_EQ(ReadFile(work.Path("out/B.txt")), "two\r\n");
    EXPECT_EQ(ui.maxWaitDepth, 1);
}

TEST_F(RunTest, EmptyChainCopiesFilesOrWithNoOutputWritesNothing) {
    AddFile("a.txt", "same");
    AddFile("empty.txt", "");
    Run();
    EXPECT_EQ(ReadFile(work.Path("out/a.txt")), "same");
    EXPECT_EQ(ReadFile(work.Path("out/empty.txt")), "");

    TempFolder other;
    options.outputFolder = other.str();
    options.noOutput = true;
    ui.log.clear();
    Run();
    EXPECT_TRUE(fs::is_empty(other.path()));
    EXPECT_EQ(ui.log.back(), Done(0));
}

TEST_F(RunTest, EmptyFileSkipsStepsWithNothingToDo) {
    AddFile("empty.txt", "");
    Use("改行をLF");
    options.noOutput = true;
    Run();
    EXPECT_FALSE(fs::exists(work.Path("out/empty.txt")));
    EXPECT_EQ(ui.Only("box").back(), Done(0));
}

TEST_F(RunTest, NoOutputStillWritesChangedFiles) {
    AddFile("changed.txt", "abc");
    AddFile("same.txt", "ABC");
    Use("Upper");
    options.noOutput = true;
    Run();
    EXPECT_EQ(ReadFile(work.Path("out/changed.txt")), "ABC");
    EXPECT_FALSE(fs::exists(work.Path("out/same.txt")));
}

TEST_F(RunTest, OverWriteReplacesTheSourceWithoutAsking) {
    const auto a = AddFile("a.txt", "abc");
    Use("Upper");
    options.overWrite = true;
    Run();
    EXPECT_EQ(ReadFile(a), "ABC");
    EXPECT_TRUE(ui.Only("box 35").empty());
    EXPECT_TRUE(fs::is_empty(out()));
}

TEST_F(RunTest, OutputIntoTheSourceFolderAsksForEveryFile) {
    const auto a = AddFile("a.txt", "abc");
    const auto b = AddFile("b.txt", "def");
    Use("Upper");
    options.outputFolder = in();
    ui.answers = {platform::kAnswerYes, platform::kAnswerYes, platform::kAnswerNo};
    Run();
    EXPECT_EQ(ui.Only("box"),
              (std::vector<std::string>{
                  kConfirm, "box 35 確認: '" + a + "' は上書きされます。よろしいですか？",
                  "box 35 確認: '" + b + "' は上書きされます。よろしいですか？",
                  "box 16 エラー: '" + b + "' の変換に失敗しました。", Done(1)}));
    EXPECT_EQ(ReadFile(a), "ABC");
    EXPECT_EQ(ReadFile(b), "def");
}

TEST_F(RunTest, CancelAtTheOverwritePromptEndsTheRunAfterThatFile) {
    AddFile("a.txt", "abc");
    AddFile("b.txt", "def");
    options.outputFolder = in();
    ui.answers = {platform::kAnswerYes, platform::kAnswerCancel};
    Run();
    const auto boxes = ui.Only("box");
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[3], "box 64 処理終了: 処理はキャンセルされました。（エラー：1）");
    EXPECT_EQ(ui.Only("pos").back(), "pos 0");
}

TEST_F(RunTest, CancelAtAnUnreadableFirstFileEndsWithTheCancellationText) {
    files.Add(work.Path("in/missing-1.txt"));
    AddFile("x2.txt", "b");
    AddFile("x3.txt", "c");
    ui.answers = {platform::kAnswerYes, platform::kAnswerCancel};
    Run();
    EXPECT_EQ(ui.log, (std::vector<std::string>{
                          "range 0 3", "pos 0", "status ", kConfirm,
                          "status 変換元ファイルをオープンできません。",
                          "box 17 エラー: 変換元ファイルをオープンできません。",
                          "box 16 エラー: '" + work.Path("in/missing-1.txt") + "' の変換に失敗しました。",
                          "pos 0", "status " + work.Path("in/missing-1.txt"),
                          "status 処理はキャンセルされました。（エラー：1）",
                          "box 64 処理終了: 処理はキャンセルされました。（エラー：1）"}));
    EXPECT_FALSE(fs::exists(work.Path("out/x2.txt")));
}

TEST_F(RunTest, FailingStepIsReportedSkippedAndDoesNotFailTheFile) {
    AddFile("a.txt", "abc");
    Use("Failing");
    Use("Upper");
    Run();
    EXPECT_EQ(ui.Only("box"),
              (std::vector<std::string>{
                  kConfirm,
                  "box 16 エラー: Failing 0 の処理に失敗しました。処理をスキップします。",
                  Done(0)}));
    EXPECT_EQ(ReadFile(work.Path("out/a.txt")), "ABC");
}

// A file counts once however many of its steps fail, a file that also failed counts in both,
// and an empty file (nothing to do) in neither. A step that asks for no room but shows a box
// has failed too. Only a run asked to (the command line's) adds the count to its final text.
TEST_F(RunTest, FilesWithAFailedStepAreCountedAndReportedOnlyWhenAsked) {
    AddFile("a.txt", "abc");
    AddFile("b.txt", "def");
    AddFile("empty.txt", "");
    // Every run: b.txt's result is declined, so it fails too.
    auto runOver = [&] {
        fs::remove_all(out());
        work.Write("out/b.txt", "old");
        ui.log.clear();
        ui.answers = {platform::kAnswerYes, platform::kAnswerNo};
        return Run();
    };
    Use("Failing");
    Use("Upper");
    Use("Failing");
    host::RunResult result = runOver();
    EXPECT_EQ(result.errorCount, 1);
    EXPECT_EQ(result.failedStepFiles, 2);
    EXPECT_EQ(ui.log.back(), Done(1));
    EXPECT_EQ(ReadFile(work.Path("out/a.txt")), "ABC");

    options.reportFailedSteps = true;
    result = runOver();
    EXPECT_EQ(result.failedStepFiles, 2);
    const std::string final =
        "すべての処理を終了しました。（エラー：1）（失敗した処理のあるファイル：2）";
    EXPECT_EQ(ui.log[ui.log.size() - 2], "status " + final);
    EXPECT_EQ(ui.log.back(), "box 64 処理終了: " + final);

    // Without a failed step the text is the window's.
    chain.clear();
    Use("Upper");
    result = runOver();
    EXPECT_EQ(result.failedStepFiles, 0);
    EXPECT_EQ(ui.log.back(), Done(1));

    // The plug-in's own box comes to the run's face, and no failure box of the host's.
    chain.clear();
    Use("Refusing");
    result = runOver();
    EXPECT_EQ(result.failedStepFiles, 2);
    EXPECT_EQ(ui.Only("box"),
              (std::vector<std::string>{
                  kConfirm, "box 16 Refusing: refused", "box 16 Refusing: refused",
                  "box 35 確認: '" + work.Path("out/b.txt") + "' は上書きされます。よろしいですか？",
                  "box 16 エラー: '" + work.Path("in/b.txt") + "' の変換に失敗しました。",
                  "box 64 処理終了: " + final}));
}

TEST_F(RunTest, TableIsAskedForAtEveryTableStepUntilOneIsPicked) {
    AddFile("a.txt", "x");
    AddFile("b.txt", "y");
    Use("Table 0");
    Use("Table 1");
    ui.tableChoices = {std::nullopt, std::nullopt, std::string("/tables/t.tbl")};
    const host::RunResult result = Run();
    EXPECT_EQ(ui.Only("table"),
              (std::vector<std::string>{"table Table 0", "table Table 1", "table Table 0"}));
    // Without a table the step gets an empty path, never a null one.
    EXPECT_EQ(ReadFile(work.Path("out/a.txt")), "x[][]");
    EXPECT_EQ(ReadFile(work.Path("out/b.txt")), "y[/tables/t.tbl][/tables/t.tbl]");
    // The choice comes back to the caller; the options given to the run stay as they were.
    EXPECT_EQ(result.chosenTable, "/tables/t.tbl");
    EXPECT_EQ(options.tablePath, "");
}

TEST_F(RunTest, RenamingStepsSeeTheRunsPathAndTheLastOneWins) {
    AddFile("a.dat", "abc");
    Use("RenameOne");
    Use("RenameTwo");
    Run();
    EXPECT_TRUE(fs::exists(work.Path("out/a.two")));
    EXPECT_FALSE(fs::exists(work.Path("out/a.one")));
    EXPECT_FALSE(fs::exists(work.Path("out/a.dat")));
}

TEST_F(RunTest, RenamingOntoAnExistingFileAsksAboutThatFile) {
    AddFile("a.dat", "abc");
    work.Write("out/a.one", "old");
    Use("RenameOne");
    ui.answers = {platform::kAnswerYes, platform::kAnswerNo};
    Run();
    EXPECT_EQ(ui.Only("box")[1],
              "box 35 確認: '" + work.Path("out/a.one") + "' は上書きされます。よろしいですか？");
    EXPECT_EQ(ReadFile(work.Path("out/a.one")), "old");
}

TEST_F(RunTest, MissingOutputFolderFailsTheFileAndIsNeverCreated) {
    AddFile("a.txt", "abc");
    options.outputFolder = work.Path("nowhere");
    Run();
    EXPECT_EQ(ui.Only("box"),
              (std::vector<std::string>{
                  kConfirm,
                  "box 17 エラー: 変換先のフォルダがないか、\n変換先ファイルをオープンできません。",
                  "box 16 エラー: '" + work.Path("in/a.txt") + "' の変換に失敗しました。", Done(1)}));
    EXPECT_FALSE(fs::exists(work.Path("nowhere")));
}

TEST_F(RunTest, FileOf4GiBIsRefusedWithoutBeingRead) {
    const auto big = AddFile("big.bin", "");
    fs::resize_file(big, 0x100000000ull);  // sparse: takes no disk space
    Run();
    const auto boxes = ui.Only("box");
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[1], "box 17 エラー: '" + big + "' は 4GB 以上あるため変換できません。");
    EXPECT_EQ(boxes[3], Done(1));
    EXPECT_FALSE(fs::exists(work.Path("out/big.bin")));
}

TEST_F(RunTest, LargeFilesConvertWhole) {
    std::string text;
    for (int i = 0; text.size() < (20u << 20); ++i) {
        text += "line " + std::to_string(i) + "\n";
    }
    AddFile("large.txt", text);
    Use("Upper");
    Use("改行をCR+LF");
    Run();
    const std::string result = ReadFile(work.Path("out/large.txt"));
    std::string expected;
    for (char c : text) {
        expected += c == '\n' ? std::string("\r\n") : std::string(1, static_cast<char>(std::toupper(c)));
    }
    EXPECT_TRUE(result == expected);
    EXPECT_EQ(ui.Only("box").back(), Done(0));
}

TEST_F(RunTest, NoOutputComparesLargeFilesExactly) {
    // Large enough to be mapped rather than read; the two differ from their result only in
    // the very last byte or not at all.
    const std::string upper(3u << 20, 'A');
    AddFile("last-byte.txt", upper.substr(1) + "a");
    AddFile("same.txt", upper);
    Use("Upper");
    options.noOutput = true;
    Run();
    EXPECT_TRUE(ReadFile(work.Path("out/last-byte.txt")) == upper);
    EXPECT_FALSE(fs::exists(work.Path("out/same.txt")));
    EXPECT_EQ(ui.Only("box").back(), Done(0));
}

// The step empties the source file while the run still holds it mapped. On Linux the bytes
// the run then reads are not the file's, so nothing may be written for it. On Windows the
// bytes the run holds stay as read (the system refuses to cut a mapped file short; Wine lets
// it, yet keeps the mapped bytes), and the file converts as it was read.
TEST_F(RunTest, SourceCutShortDuringTheChainLosesNothing) {
    const std::string big(2u << 20, 'x');
    const auto victim = AddFile("a-victim.txt", big);
    AddFile("b-next.txt", "next");
    options.tablePath = victim;
    Use("Shrink");
    Run();
    EXPECT_EQ(ReadFile(work.Path("out/b-next.txt")), "next");
#ifdef _WIN32
    EXPECT_TRUE(ReadFile(work.Path("out/a-victim.txt")) == big);
    EXPECT_EQ(ui.Only("box").back(), Done(0));
#else
    EXPECT_FALSE(fs::exists(work.Path("out/a-victim.txt")));
    const auto boxes = ui.Only("box");
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[1].rfind("box 17 エラー: '" + victim + "' を読み込めませんでした。", 0), 0u)
        << boxes[1];
    EXPECT_EQ(boxes[3], Done(1));
    EXPECT_EQ(std::distance(fs::directory_iterator(out()), fs::directory_iterator()), 1);
#endif
}

TEST(SameContent, ComparesLengthThenBytes) {
    const unsigned char a[] = {1, 2, 3};
    const unsigned char b[] = {1, 2, 4};
    EXPECT_TRUE(host::SameContent(a, 3, a, 3));
    EXPECT_FALSE(host::SameContent(a, 3, b, 3));
    EXPECT_FALSE(host::SameContent(a, 2, a, 3));
    EXPECT_TRUE(host::SameContent(nullptr, 0, nullptr, 0));
}

}  // namespace
