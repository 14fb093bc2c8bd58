// The dry run with a scripted user interface, as the window would drive it: every box, status
// text and progress step the same as the real run's given the same answers, nothing on disk
// changed, and each file's plan as the real run then bears it out.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "host/core/files/result_file.h"
#include "host/core/plugins/function_lookup.h"
#include "host/core/plugins/plugin_registry.h"
#include "host/core/run/conversion_run.h"
#include "host_fixture.h"
#include "platform/message_box.h"
#include "scripted_ui.h"
#include "support/sample_text.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using host::FilePlan;
using testing_support::ReadFile;

class DryRunTest : public ::testing::Test {
  protected:
    DryRunTest() {
        for (const char* name : {"tp_upper", "tp_rename_one"}) {
            program.AddTestPlugin(name);
        }
        registry.ScanPlugins();
        registry.FillFunctionList();
        fs::create_directories(work.Path("out"));
        options.outputFolder = work.Path("out");
    }

    std::string AddFile(const std::string& name, const std::string& bytes) {
        const std::string path = work.Write("in/" + name, bytes);
        files.Add(path);
        return path;
    }

    void Use(const std::string& title) {
        const auto found =
            host::FindFunctionByTitle(registry.functionList(), testing_support::Sjis(title));
        ASSERT_TRUE(found.has_value()) << title;
        const auto& item = registry.functionList()[*found];
        chain.push_back({item.title, item.entry.get()});
    }

    std::map<std::string, std::string> Disk() const {
        std::map<std::string, std::string> entries;
        for (const auto& entry : fs::recursive_directory_iterator(work.path())) {
            entries[entry.path().string()] =
                entry.is_regular_file() ? ReadFile(entry.path()) : std::string("folder");
        }
        return entries;
    }

    // Runs dry, then for real, with the same answers each time; the plans of the dry run.
    std::vector<FilePlan> DryThenReal(const std::deque<int>& answers) {
        const auto before = Disk();
        std::vector<FilePlan> plans;
        host::RunOptions dry = options;
        dry.dryRun = true;
        ui.answers = answers;
        host::ConversionRun dryRun(ui, files, chain, dry);
        dryRun.SetPlanSink([&plans](const FilePlan& plan) {
            plans.push_back(plan);
            plans.back().before = {};
            plans.back().after = {};
        });
        const host::RunResult foreseen = dryRun.RunBatch();
        EXPECT_EQ(Disk(), before);
        const std::vector<std::string> dryLog = ui.log;
        ui.log.clear();
        ui.answers = answers;
        host::ConversionRun realRun(ui, files, chain, options);
        const host::RunResult real = realRun.RunBatch();
        EXPECT_EQ(dryLog, ui.log);
        EXPECT_EQ(foreseen.errorCount, real.errorCount);
        EXPECT_EQ(plans.size(), files.size());
        return plans;
    }

    host_testing::ProgramFolder program;
    host_testing::ScriptedUi ui;
    host::PluginRegistry registry{program.path(), ui};
    testing_support::TempFolder work;
    host::FileList files;
    host::Chain chain;
    host::RunOptions options;
};

TEST_F(DryRunTest, AsksWhatTheRunAsksAndWritesNothing) {
    const auto a = AddFile("a.txt", "abc");
    const auto b = AddFile("b.txt", "DEF");
    AddFile("c.txt", "ghi");
    Use("Upper");
    options.outputFolder = work.Path("in");  // every target is there: each is asked about
    const auto plans = DryThenReal({platform::kAnswerYes, platform::kAnswerYes,
                                    platform::kAnswerYes, platform::kAnswerNo});
    ASSERT_EQ(plans.size(), 3u);
    EXPECT_EQ(plans[0].outcome, FilePlan::Outcome::kConverted);
    EXPECT_EQ(plans[0].written, a);
    EXPECT_EQ(plans[1].outcome, FilePlan::Outcome::kUnchanged);
    EXPECT_EQ(plans[1].written, b);
    EXPECT_EQ(plans[2].outcome, FilePlan::Outcome::kFailed);
    EXPECT_FALSE(plans[2].written);
    EXPECT_EQ(plans[2].problem.utf8(),
              "'" + work.Path("in/c.txt") + "' は上書きされます。よろしいですか？");
    EXPECT_EQ(ReadFile(a), "ABC");
}

TEST_F(DryRunTest, ForeseesAMissingFolderAndATargetAnEarlierFileWrote) {
    AddFile("a.dat", "abc");
    AddFile("a.txt", "def");
    Use("RenameOne");  // both become out/a.one: the second finds the first's result there
    auto plans = DryThenReal({platform::kAnswerYes, platform::kAnswerNo});
    EXPECT_EQ(plans[0].written, work.Path("out/a.one"));
    EXPECT_EQ(plans[0].newName, work.Path("out/a.one"));
    EXPECT_EQ(plans[1].outcome, FilePlan::Outcome::kFailed);
    EXPECT_EQ(ui.Only("box").size(), 4u);

    fs::remove_all(work.Path("out"));
    ui.log.clear();
    plans = DryThenReal({platform::kAnswerYes});
    EXPECT_EQ(plans[0].outcome, FilePlan::Outcome::kFailed);
    EXPECT_EQ(plans[0].problem.utf8(),
              "変換先のフォルダがないか、\n変換先ファイルをオープンできません。");
    EXPECT_FALSE(fs::exists(work.Path("out")));
}

TEST_F(DryRunTest, LargeFilesAreNotConvertedIntoAFile) {
    AddFile("big.txt", std::string(host::kResultFileFrom + 10, 'x'));
    Use("Upper");
    const auto plans = DryThenReal({platform::kAnswerYes});
    EXPECT_EQ(plans[0].outcome, FilePlan::Outcome::kConverted);
    EXPECT_EQ(ReadFile(work.Path("out/big.txt")), std::string(host::kResultFileFrom + 10, 'X'));
}

}  // namespace
