// The regular-expression tool over the real rulebook library and over test libraries standing
// in for it: every box, status text and progress step in order, and what ends up on disk.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "host/core/plugins/plugin_registry.h"
#include "host/core/tools/regex_tool.h"
#include "host_fixture.h"
#include "platform/message_box.h"
#include "scripted_ui.h"
#ifndef _WIN32
#include "support/file_size_limit.h"
#endif
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using host_testing::Library;
using host_testing::ProgramFolder;
using host_testing::ScriptedUi;
using testing_support::ReadFile;
using testing_support::TempFolder;

std::string Done(int errors) {
    return "box 64 処理終了: すべての処理を終了しました。（エラー：" + std::to_string(errors) +
           "）";
}

std::string Failed(const std::string& path) {
    return "box 16 エラー: '" + path + "' の変換に失敗しました。";
}

class RegexToolTest : public ::testing::Test {
  protected:
    RegexToolTest() { fs::create_directories(out()); }

    // Loads the real rulebook, or the test library `testPlugin` under its name.
    void LoadRulebook(const std::string& testPlugin = "") {
        if (testPlugin.empty()) {
            program.AddRealPlugin("rulebook");
        } else {
            program.AddTestPlugin(testPlugin, Library("rulebook"));
        }
        registry.LoadRegexPlugin();
        ui.log.clear();
        options.outputFolder = out();
    }

    std::string out() const { return work.Path("out"); }

    std::string AddFile(const std::string& name, const std::string& bytes) {
        files.push_back(work.Write("in/" + name, bytes));
        return files.back();
    }

    host::RegexToolResult Run(const std::string& command) {
        return host::RunRegexTool(ui, registry.rulebookHandle(), files, options,
                                  [command] { return command; });
    }

    ProgramFolder program;
    TempFolder work;
    ScriptedUi ui;
    host::PluginRegistry registry{program.path(), ui};
    std::vector<std::string> files;
    host::RunOptions options;
};

TEST_F(RegexToolTest, ConvertsEveryFileIntoTheOutputFolderWithProgress) {
    LoadRulebook();
    const auto a = AddFile("a.txt", "abc 123 de 45");
    const auto b = AddFile("b.txt", "no digits");
    const auto c = AddFile("c.txt", "7");
    const auto result = Run("s/(\\d+)/[$1]/g");
    EXPECT_TRUE(result.ran);
    EXPECT_EQ(result.errors, 0);
    EXPECT_EQ(ReadFile(work.Path("out/a.txt")), "abc [123] de [45]");
    EXPECT_EQ(ReadFile(work.Path("out/b.txt")), "no digits");
    EXPECT_EQ(ReadFile(work.Path("out/c.txt")), "[7]");
    EXPECT_EQ(ui.log, (std::vector<std::string>{
                          "range 0 3", "pos 0", "status ", "pos 0", "status " + a, "pos 1",
                          "status " + b, "pos 2", "status " + c, "pos 3",
                          "status すべての処理を終了しました。（エラー：0）", Done(0)}));
    EXPECT_EQ(ui.maxWaitDepth, 1);
    EXPECT_EQ(ui.waitDepth, 0);
}

TEST_F(RegexToolTest, TheWholeFileIsConvertedBytesAfterAZeroIncluded) {
    LoadRulebook();
    options.convertBinary = true;  // a zero byte makes a file binary
    AddFile("zero.bin", std::string("a1\0b1", 5));
    Run("s/1/2/g");
    EXPECT_EQ(ReadFile(work.Path("out/zero.bin")), std::string("a2\0b2", 5));
}

TEST_F(RegexToolTest, BinaryFilesPassUnchangedWithANoteAndACount) {
    LoadRulebook();
    const std::string image = std::string("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16);
    const auto png = AddFile("b.png", image);
    const auto a = AddFile("a.txt", "IHDR");
    const auto result = Run("s/I/i/g");
    EXPECT_EQ(result.errors, 0);
    EXPECT_EQ(result.skippedBinary, 1);
    EXPECT_EQ(ReadFile(work.Path("out/a.txt")), "iHDR");
    EXPECT_EQ(ReadFile(work.Path("out/b.png")), image);
    const std::string skipped =
        "'" + png + "' はバイナリファイルのため、テキストの処理をスキップしました。";
    EXPECT_EQ(ui.Only("note"), std::vector<std::string>{"note " + skipped});
    EXPECT_EQ(ui.Only("box"),
              std::vector<std::string>{"box 64 処理終了: すべての処理を終了しました。（エラー：0）"
                                       "（スキップしたバイナリファイル：1）"});
    // In place the file is left alone; with -o it was copied along.
    options.overWrite = true;
    const auto before = fs::last_write_time(png);
    fs::last_write_time(png, before - std::chrono::hours(1));
    EXPECT_EQ(Run("s/I/i/g").skippedBinary, 1);
    EXPECT_EQ(fs::last_write_time(png), before - std::chrono::hours(1));
    EXPECT_EQ(ReadFile(png), image);
    EXPECT_EQ(ReadFile(a), "iHDR");
}

TEST_F(RegexToolTest, NoOutputLeavesUnchangedFilesUnwrittenWithoutAnError) {
    LoadRulebook();
    options.noOutput = true;
    AddFile("same.txt", "nothing to change");
    AddFile("digits.txt", "42");
    const auto result = Run("s/(\\d+)/<$1>/");
    EXPECT_EQ(result.errors, 0);
    EXPECT_FALSE(fs::exists(work.Path("out/same.txt")));
    EXPECT_EQ(ReadFile(work.Path("out/digits.txt")), "<42>");
}

TEST_F(RegexToolTest, OverWriteRewritesTheSourceWithoutAQuestion) {
    LoadRulebook();
    options.overWrite = true;
    const auto a = AddFile("a.txt", "abc");
    Run("tr/a-z/A-Z/");
    EXPECT_EQ(ReadFile(a), "ABC");
    EXPECT_TRUE(ui.Only("box").size() == 1) << testing::PrintToString(ui.log);
}

TEST_F(RegexToolTest, ExistingDestinationIsReplacedOnlyAfterYes) {
    LoadRulebook();
    const auto a = AddFile("a.txt", "new");
    const auto b = AddFile("b.txt", "new");
    work.Write("out/a.txt", "old a");
    work.Write("out/b.txt", "old b");
    ui.answers = {platform::kAnswerNo, platform::kAnswerYes};
    const auto result = Run("s/new/NEW/");
    EXPECT_EQ(result.errors, 1);
    EXPECT_EQ(ReadFile(work.Path("out/a.txt")), "old a");
    EXPECT_EQ(ReadFile(work.Path("out/b.txt")), "NEW");
    EXPECT_EQ(
        ui.Only("box"),
        (std::vector<std::string>{
            "box 36 確認: '" + work.Path("out/a.txt") + "' は上書きされます。よろしいですか？", Failed(a),
            "box 36 確認: '" + work.Path("out/b.txt") + "' は上書きされます。よろしいですか？", Done(1)}));
}

TEST_F(RegexToolTest, FailuresAreCountedAndTheRunGoesOn) {
    LoadRulebook();
    const auto missing = work.Path("in/missing.txt");
    files.push_back(missing);
    const auto a = AddFile("a.txt", "x");
    options.outputFolder = work.Path("no-such-folder");
    const auto result = Run("s/x/y/");
    EXPECT_EQ(result.errors, 2);
    EXPECT_EQ(ui.Only("box"),
              (std::vector<std::string>{
                  "box 16 エラー: 変換元ファイルをオープンできません。", Failed(missing),
                  "box 16 エラー: 変換先のフォルダがないか、\n変換先ファイルをオープンできません。",
                  Failed(a), Done(2)}));
    EXPECT_EQ(ui.Only("status")[1], "status 変換元ファイルをオープンできません。");
}

TEST_F(RegexToolTest, ABadCommandShowsThePluginsMessageForEveryFile) {
    LoadRulebook();
    const auto a = AddFile("a.txt", "x");
    const auto result = Run("s/(/x/");
    EXPECT_EQ(result.errors, 1);
    const auto boxes = ui.Only("box");
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[1], Failed(a));
    EXPECT_EQ(ReadFile(a), "x");
    EXPECT_FALSE(fs::exists(work.Path("out/a.txt")));
}

#ifndef _WIN32  // Windows sets no limit on the size of a process's files
TEST_F(RegexToolTest, AWriteFailingHalfWayKeepsTheSource) {
    LoadRulebook();
    options.overWrite = true;
    const std::string original(1000, 'a');
    const auto a = AddFile("a.txt", original);
    host::RegexToolResult result;
    {
        testing_support::FileSizeLimit limit(4096);
        result = Run("s/a/bbbbbbbbbb/g");
    }
    EXPECT_EQ(result.errors, 1);
    EXPECT_EQ(ReadFile(a), original);
    EXPECT_EQ(std::distance(fs::directory_iterator(work.path() / "in"), {}), 1);
}
#endif

TEST_F(RegexToolTest, EndsBeforeTheLoopWhenThereIsNothingToDo) {
    // No rulebook: nothing at all.
    ScriptedUi quiet;
    bool asked = false;
    auto ask = [&]() -> std::optional<std::string> {
        asked = true;
        return std::nullopt;
    };
    EXPECT_FALSE(host::RunRegexTool(quiet, nullptr, {"x"}, options, ask).ran);
    EXPECT_TRUE(quiet.log.empty());

    LoadRulebook();
    // An empty list: the error, and no dialog.
    EXPECT_FALSE(host::RunRegexTool(ui, registry.rulebookHandle(), {}, options, ask).ran);
    EXPECT_FALSE(asked);
    EXPECT_EQ(ui.log,
              (std::vector<std::string>{"box 16 エラー: 変換元ファイルがリストにありません。",
                                        "status 変換元ファイルがリストにありません。"}));

    // Cancel, or OK with an empty command.
    const auto a = AddFile("a.txt", "x");
    ui.log.clear();
    EXPECT_FALSE(host::RunRegexTool(ui, registry.rulebookHandle(), files, options, ask).ran);
    EXPECT_TRUE(asked);
    EXPECT_FALSE(Run("").ran);
    EXPECT_EQ(ui.log, (std::vector<std::string>{"range 0 1", "pos 0", "status ", "range 0 1",
                                                "pos 0", "status "}));
    EXPECT_FALSE(fs::exists(work.Path("out/a.txt")));
}

struct VersionCase {
    const char* plugin;
    bool usable;
};

class RegexToolVersionTest : public RegexToolTest,
                             public ::testing::WithParamInterface<VersionCase> {};

TEST_P(RegexToolVersionTest, NeedsVersion1002AndXfmRegExp) {
    LoadRulebook(GetParam().plugin);
    AddFile("a.txt", "x");
    const auto result = Run("cmd");
    EXPECT_EQ(result.ran, GetParam().usable);
    if (GetParam().usable) {
        EXPECT_EQ(ReadFile(work.Path("out/a.txt")), "x<cmd>");
    } else {
        const std::string message =
            "RULEBOOK.DLL "
            "のバージョンが取得出来ないか、\r\nバージョンが古いため、この機能が使用できません。";
        EXPECT_EQ(ui.log,
                  (std::vector<std::string>{"range 0 1", "pos 0", "status ",
                                            "box 16 エラー: " + message, "status " + message}));
    }
}

INSTANTIATE_TEST_SUITE_P(Libraries, RegexToolVersionTest,
                         ::testing::Values(VersionCase{"tp_regexp_1002", true},
                                           VersionCase{"tp_regexp_1001", false},
                                           VersionCase{"tp_alpha", false},
                                           VersionCase{"tp_noversion", false}));

}  // namespace
