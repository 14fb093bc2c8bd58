// The main window's working set without a window: start-up paths, the file list's commands,
// check marks into the chain, the chain's moves, the option choices and a reload.
#include <gtest/gtest.h>

#include <filesystem>

#include "host/core/settings/profile_file.h"
#include "host/core/workbench/uri_list.h"
#include "host/core/workbench/workbench.h"
#include "host_fixture.h"
#include "platform/message_box.h"
#include "scripted_ui.h"
#include "support/temp_folder.h"

namespace {

using host::MessageKind;
using host_testing::ProgramFolder;
using host_testing::ScriptedUi;
using Lines = std::vector<std::string>;

const std::string kReset0 = "pos 0";
const std::string kNothingSelected = "box 16 エラー: 削除するファイルが選択されていません。";

class WorkbenchTest : public ::testing::Test {
  protected:
    WorkbenchTest() {
        program.AddTestPlugin("tp_alpha");                   // "Alpha 0", "Alpha 1"
        program.AddTestPlugin("tp_beta");                    // "Beta 0"
        program.AddTestPlugin("tp_shouting", host_testing::Library("tp_zeta"));  // "ALPHA 0", listed last
    }

    void Start(const std::vector<std::string>& paths = {}) {
        bench.Start(paths);
        ui.log.clear();
        ui.kinds.clear();
    }

    std::vector<std::string> ChainTitles() const {
        std::vector<std::string> titles;
        for (const auto& entry : bench.chain()) {
            titles.push_back(entry.title);
        }
        return titles;
    }

    std::vector<bool> Checks() const {
        std::vector<bool> checks;
        for (const auto& item : bench.functions()) {
            checks.push_back(item.checked);
        }
        return checks;
    }

    ProgramFolder program;
    testing_support::TempFolder work;
    ScriptedUi ui;
    host::Workbench bench{program.path(), program.path() + "/polyshift.ini", ui, ui};
};

TEST_F(WorkbenchTest, StartTakesCommandLineFoldersAndFilesSkipsMissingPathsAndLoadsPlugins) {
    const std::string file = work.Write("b.txt", "b");
    work.Write("dir/A.txt", "a");
    work.Write("dir/sub/.hidden", "h");
    work.Write("dir/sub/c.txt", "c");
    bench.Start({work.Path("missing"), work.Path("dir"), file});
    EXPECT_EQ(bench.files().paths(),
              (Lines{file, work.Path("dir/A.txt"), work.Path("dir/sub/.hidden"),
                     work.Path("dir/sub/c.txt")}));
    // No rulebook among the plug-ins: the tool's item is off; the status line ends empty.
    EXPECT_FALSE(bench.registry().regexToolAvailable());
    EXPECT_EQ(ui.log.back(), "status ");
    EXPECT_EQ(bench.functions().size(), 4u);
    EXPECT_TRUE(bench.chain().empty());
}

TEST_F(WorkbenchTest, StartWithNothingLeavesAnEmptyList) {
    bench.Start({});
    EXPECT_TRUE(bench.files().empty());
}

TEST_F(WorkbenchTest, DropAddsFilesAndFoldersHiddenOnesTooAndSkipsVanishedPaths) {
    Start();
    const std::string file = work.Write("one.txt", "1");
    work.Write("drop/.dot/deep.txt", "2");
    work.Write("drop/two.TXT", "3");
    bench.AddDroppedPaths({work.Path("gone.txt"), file, work.Path("drop")});
    EXPECT_EQ(bench.files().paths(),
              (Lines{work.Path("drop/.dot/deep.txt"), work.Path("drop/two.TXT"), file}));
    EXPECT_EQ(ui.log, (Lines{kReset0, "status "}));
    // The window lists a path as often as it is added.
    bench.AddDroppedPaths({file});
    EXPECT_EQ(bench.files().size(), 4u);
    EXPECT_EQ(bench.files()[2], file);
    EXPECT_EQ(bench.files()[3], file);
}

TEST_F(WorkbenchTest, AddedFilesComeFromTheDialogUnchecked) {
    Start();
    ui.fileChoices.push_back({"/x/b", "/x/A"});
    bench.AddFilesByDialog();
    bench.AddFilesByDialog();  // cancelled
    EXPECT_EQ(bench.files().paths(), (Lines{"/x/A", "/x/b"}));
    EXPECT_EQ(ui.log, (Lines{kReset0, "status ", "add-files", kReset0, "status ", "add-files"}));
}

TEST_F(WorkbenchTest, DeletingNeedsASelectionAndRemovesEverySelectedFile) {
    Start();
    ui.fileChoices.push_back({"/f/a", "/f/b", "/f/c", "/f/d"});
    bench.AddFilesByDialog();
    ui.log.clear();
    bench.DeleteSelectedFiles({});
    EXPECT_EQ(ui.log, (Lines{kReset0, "status ", kNothingSelected,
                             "status 削除するファイルが選択されていません。"}));
    EXPECT_EQ(ui.kinds, std::vector<MessageKind>{MessageKind::kCommandError});
    EXPECT_EQ(bench.files().size(), 4u);

    bench.DeleteSelectedFiles({3, 0, 2, 9});
    EXPECT_EQ(bench.files().paths(), Lines{"/f/b"});
    bench.RemoveFileAt(5);  // past the end: nothing
    EXPECT_EQ(bench.files().size(), 1u);
    bench.RemoveFileAt(0);
    EXPECT_TRUE(bench.files().empty());

    ui.fileChoices.push_back({"/f/a"});
    bench.AddFilesByDialog();
    ui.log.clear();
    bench.DeleteAllFiles();
    EXPECT_TRUE(bench.files().empty());
    EXPECT_EQ(ui.log, (Lines{kReset0, "status "}));
}

TEST_F(WorkbenchTest, CheckMarksBuildTheChainOnceByTitlePrefixIgnoringCase) {
    Start();
    // Alpha 0, Alpha 1, Beta 0, ALPHA 0
    bench.SetFunctionChecked(2, true);
    bench.SetFunctionChecked(0, true);
    EXPECT_EQ(ChainTitles(), (Lines{"Beta 0", "Alpha 0"}));
    // "ALPHA 0" finds "Alpha 0" in the chain and is not added, though it stays ticked.
    bench.SetFunctionChecked(3, true);
    EXPECT_EQ(ChainTitles(), (Lines{"Beta 0", "Alpha 0"}));
    EXPECT_EQ(Checks(), (std::vector<bool>{true, false, true, true}));
    // Unticking it removes the entry it finds.
    bench.SetFunctionChecked(3, false);
    EXPECT_EQ(ChainTitles(), Lines{"Beta 0"});
    bench.SetFunctionChecked(9, true);  // no such item
    EXPECT_EQ(ChainTitles(), Lines{"Beta 0"});
    // Check marks touch neither the status line nor the progress bar.
    EXPECT_TRUE(ui.log.empty());
    EXPECT_EQ(bench.chain()[0].entry, bench.functions()[2].entry.get());
}

TEST_F(WorkbenchTest, DoubleClickOnTheChainRemovesTheEntryAndItsCheckMark) {
    Start();
    bench.SetFunctionChecked(0, true);
    bench.SetFunctionChecked(1, true);
    bench.RemoveChainEntryAt(0);
    EXPECT_EQ(ChainTitles(), Lines{"Alpha 1"});
    EXPECT_EQ(Checks(), (std::vector<bool>{false, true, false, false}));
    EXPECT_EQ(ui.log, (Lines{kReset0, "status "}));
    bench.RemoveChainEntryAt(4);
    EXPECT_EQ(ChainTitles(), Lines{"Alpha 1"});
}

TEST_F(WorkbenchTest, UpAndDownMoveTheSelectedEntryWithinTheChain) {
    Start();
    bench.SetFunctionChecked(0, true);
    bench.SetFunctionChecked(1, true);
    bench.SetFunctionChecked(2, true);
    EXPECT_EQ(bench.MoveChainEntryUp(0), 0u);
    EXPECT_EQ(bench.MoveChainEntryDown(2), 2u);
    EXPECT_EQ(bench.MoveChainEntryUp(std::nullopt), std::nullopt);
    EXPECT_EQ(bench.MoveChainEntryDown(std::nullopt), std::nullopt);
    EXPECT_EQ(ChainTitles(), (Lines{"Alpha 0", "Alpha 1", "Beta 0"}));
    EXPECT_EQ(bench.MoveChainEntryUp(2), 1u);
    EXPECT_EQ(ChainTitles(), (Lines{"Alpha 0", "Beta 0", "Alpha 1"}));
    EXPECT_EQ(bench.MoveChainEntryDown(0), 1u);
    EXPECT_EQ(ChainTitles(), (Lines{"Beta 0", "Alpha 0", "Alpha 1"}));
    EXPECT_EQ(bench.chain()[0].entry, bench.functions()[2].entry.get());
    EXPECT_TRUE(ui.log.empty());
}

TEST_F(WorkbenchTest, CancelledChoicesKeepTheFolderAndTheTable) {
    Start();
    host::RunOptions options;
    options.outputFolder = "/out";
    options.tablePath = "/t.txt";
    bench.SetOptions(options);
    bench.ChooseOutputFolder();
    EXPECT_FALSE(bench.ChooseTableFile());
    EXPECT_EQ(bench.options().outputFolder, "/out");
    EXPECT_EQ(bench.options().tablePath, "/t.txt");
    ui.folderChoices.push_back("/elsewhere");
    ui.tableChoices.push_back("/u.tbl");
    bench.ChooseOutputFolder();
    EXPECT_TRUE(bench.ChooseTableFile());
    EXPECT_EQ(bench.options().outputFolder, "/elsewhere");
    EXPECT_EQ(bench.options().tablePath, "/u.tbl");
    EXPECT_EQ(ui.Only("folder"), (Lines{"folder /out", "folder /out"}));
}

TEST_F(WorkbenchTest, ReloadEmptiesTheChainAndClearsEveryCheckMark) {
    Start();
    bench.SetFunctionChecked(1, true);
    ui.fileChoices.push_back({"/kept"});
    bench.AddFilesByDialog();
    program.AddTestPlugin("tp_upper");
    bench.ReloadPlugins();
    EXPECT_TRUE(bench.chain().empty());
    EXPECT_EQ(Checks(), (std::vector<bool>(5, false)));
    EXPECT_EQ(bench.files().paths(), Lines{"/kept"});
}

TEST_F(WorkbenchTest, RunGivesEveryPromptItsKind) {
    Start();
    const std::string input = work.Write("in/a.txt", "abc");
    bench.AddDroppedPaths({input});
    host::RunOptions options;
    options.outputFolder = work.Path("in");  // the same folder: the overwrite question
    bench.SetOptions(options);
    ui.answers = {platform::kAnswerYes, platform::kAnswerNo};
    ui.log.clear();
    bench.RunBatch();
    EXPECT_EQ(ui.kinds, (std::vector<MessageKind>{
                            MessageKind::kRunConfirmation, MessageKind::kOverwriteQuestion,
                            MessageKind::kFileFailed, MessageKind::kRunFinished}));
    EXPECT_EQ(ui.Only("pos"), (Lines{"pos 0", "pos 0", "pos 1"}));
}

TEST_F(WorkbenchTest, ClosingKeepsOptionsAndPlacementForTheNextStart) {
    Start();
    host::RunOptions options;
    options.outputFolder = "/out put";
    options.tablePath = "/t.txt";
    options.noOutput = true;
    bench.SetOptions(options);
    host::WindowPlacement placement;
    placement.left = 10;
    placement.top = 20;
    placement.right = 110;
    placement.bottom = 220;
    bench.Close(placement);

    const host::ProfileFile ini = host::ProfileFile::Read(bench.iniPath());
    EXPECT_EQ(ini.KeyNames("Settings"),
              (Lines{"OutputFolder", "TablePath", "OverWrite", "NoOutput", "Window"}));
    host::Workbench next(program.path(), bench.iniPath(), ui, ui);
    EXPECT_EQ(next.SavedPlacement(), placement);
    next.Start({});
    EXPECT_EQ(next.options().outputFolder, "/out put");
    EXPECT_EQ(next.options().tablePath, "/t.txt");
    EXPECT_FALSE(next.options().overWrite);
    EXPECT_TRUE(next.options().noOutput);
}

TEST_F(WorkbenchTest, SettingsListsCarryOptionsFilesAndChain) {
    Start();
    const std::string a = work.Path("f/a"), b = work.Path("f/b");  // full paths, as a list keeps
    ui.fileChoices.push_back({b, a, a});
    bench.AddFilesByDialog();
    bench.SetFunctionChecked(2, true);
    bench.SetFunctionChecked(0, true);
    const std::string list = work.Path("set.pzl");
    ui.settingsListChoices = {list, std::nullopt};
    bench.SaveSettingsListByDialog();
    bench.SaveSettingsListByDialog();  // cancelled

    bench.DeleteAllFiles();
    bench.SetFunctionChecked(0, false);
    bench.SetFunctionChecked(1, true);
    ui.settingsListChoices = {list};
    bench.LoadSettingsListByDialog();
    EXPECT_EQ(bench.files().paths(), (Lines{a, a, b}));
    EXPECT_EQ(ChainTitles(), (Lines{"Beta 0", "Alpha 0"}));
    EXPECT_EQ(Checks(), (std::vector<bool>{true, false, true, false}));
    EXPECT_TRUE(ui.Only("box").empty());
}

TEST_F(WorkbenchTest, ASavedSettingsListNamesEveryFileByItsFullPath) {
    work.Write("a.txt", "a");
    work.Write("sub/b.txt", "b");
    struct InWork {
        explicit InWork(const std::filesystem::path& folder) {
            std::filesystem::current_path(folder);
        }
        ~InWork() { std::filesystem::current_path(before); }
        std::filesystem::path before = std::filesystem::current_path();
    };
    {
        const InWork inWork(work.path());
        Start({"a.txt", "sub/../sub/b.txt"});
        ui.settingsListChoices = {"set.pzl"};
        bench.SaveSettingsListByDialog();
    }
    EXPECT_EQ(bench.files().paths(), (Lines{"a.txt", "sub/../sub/b.txt"}));  // listed as given
    const auto saved = host::ProfileFile::Read(work.Path("set.pzl"));
    EXPECT_EQ(saved.GetString("Files", "file0"), work.Path("a.txt"));
    EXPECT_EQ(saved.GetString("Files", "file1"), work.Path("sub/b.txt"));
}

TEST_F(WorkbenchTest, ASettingsListThatCannotBeSavedIsReported) {
    Start();
    const std::string list = work.Path("no such folder/set.pzl");
    ui.settingsListChoices = {list};
    bench.SaveSettingsListByDialog();
    ASSERT_EQ(ui.kinds, std::vector<MessageKind>{MessageKind::kSettingsError});
    const Lines boxes = ui.Only("box");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].rfind("box 16 エラー: '" + list + "' に設定を保存できませんでした。\n", 0),
              0u)
        << boxes[0];
    EXPECT_EQ(ui.log.back().rfind("status '" + list, 0), 0u);
}

TEST(UriList, GivesTheBytesOfLocalPaths) {
    EXPECT_EQ(host::LocalPathsFromUriList("# comment\r\nfile:///a%20b/c.txt\r\n"
                                          "http://example.com/x\r\n"
                                          "FILE://localhost/d/%E3%81%82\r\n"
                                          "file:///bad%ZZ%4\n\nfile:/plain\nfile://hostonly"),
              (Lines{"/a b/c.txt", "/d/\xE3\x81\x82", "/bad%ZZ%4", "/plain"}));
    // A name that is not UTF-8 keeps its bytes.
    EXPECT_EQ(host::LocalPathsFromUriList("file:///x/%82%A0.txt"), Lines{"/x/\x82\xA0.txt"});
    EXPECT_TRUE(host::LocalPathsFromUriList("").empty());
}

}  // namespace
