// The conversion preview without a window: the chain applied in memory to the file asked for,
// both sides set side by side, the table field's table handed on, nothing written; the worker
// reports each result once, the newest wish wins, and the steps to the next change and file
// go round.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <map>
#include <mutex>
#include <thread>

#include "host/core/workbench/conversion_preview.h"
#include "host/core/workbench/workbench.h"
#include "host_fixture.h"
#include "scripted_ui.h"
#include "support/temp_folder.h"

namespace {

using namespace std::chrono_literals;
using host::ConversionPreview;
using host::PreviewSide;

class ConversionPreviewTest : public ::testing::Test {
  protected:
    ConversionPreviewTest() {
        for (const char* plugin : {"tp_text_upper", "tp_failing", "tp_table"}) {
            program.AddTestPlugin(plugin);
        }
        bench.Start({});
        ui.log.clear();  // the missing rulebook library of the regular-expression tool
    }

    // Ticks the functions titled so, in this order.
    host::Chain ChainOf(const std::vector<std::string>& titles) {
        for (const std::string& title : titles) {
            for (std::size_t i = 0; i < bench.functions().size(); ++i) {
                if (bench.functions()[i].title == title) bench.SetFunctionChecked(i, true);
            }
        }
        EXPECT_EQ(bench.chain().size(), titles.size());
        return bench.chain();
    }

    // A preview whose reports are counted; Wait() waits for the next one.
    std::unique_ptr<ConversionPreview> Preview(std::vector<std::string> paths, host::Chain chain,
                                               host::RunOptions options = {}) {
        return std::make_unique<ConversionPreview>(std::move(paths), std::move(chain),
                                                   std::move(options), [this] {
                                                       std::lock_guard lock(mutex);
                                                       ++reports;
                                                       reported.notify_all();
                                                   });
    }
    std::shared_ptr<const host::PreviewResult> Wait(ConversionPreview& preview, int count = 1) {
        std::unique_lock lock(mutex);
        EXPECT_TRUE(reported.wait_for(lock, 20s, [&] { return reports >= count; }));
        return preview.result();
    }

    // Every file of the work folder with its bytes.
    std::map<std::string, std::string> Folder() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(work.str())) {
            files[entry.path().string()] = testing_support::ReadFile(entry.path().string());
        }
        return files;
    }

    host_testing::ProgramFolder program;
    testing_support::TempFolder work;
    host_testing::ScriptedUi ui;
    host::Workbench bench{program.path(), program.path() + "/polyshift.ini", ui, ui};
    std::mutex mutex;
    std::condition_variable reported;
    int reports = 0;
};

TEST_F(ConversionPreviewTest, ShowsTheChainsResultBesideTheFileAndWritesNothing) {
    const std::string file = work.Write("a.txt", "same\nsmall\r\nSAME\n");
    const auto before = Folder();
    auto preview = Preview({file}, ChainOf({"TextUpper 0"}));
    EXPECT_EQ(preview->result(), nullptr);
    preview->Show(0);
    const auto result = Wait(*preview);
    ASSERT_NE(result, nullptr);
    EXPECT_FALSE(preview->busy());
    EXPECT_FALSE(result->error);
    EXPECT_TRUE(result->converted);
    EXPECT_FALSE(result->same);
    ASSERT_EQ(result->rows.size(), 3u);
    EXPECT_EQ(result->changedRows, (std::vector<std::size_t>{0, 1}));
    const host::PreviewCell left = host::CellOf(*result, 1, PreviewSide::kBefore);
    const host::PreviewCell right = host::CellOf(*result, 1, PreviewSide::kAfter);
    EXPECT_EQ(left.text, "small");
    EXPECT_EQ(right.text, "SMALL");
    EXPECT_EQ(right.line, 1u);
    EXPECT_EQ(right.lineBreak, host::LineBreak::kCrLf);
    EXPECT_FALSE(host::CellOf(*result, 3, PreviewSide::kAfter).line);
    EXPECT_EQ(host::SideLabel(*result, PreviewSide::kBefore).utf8(), "変換前: ASCII");
    EXPECT_EQ(host::PreviewSummary(*result, 1).utf8(), file + "（1/1）  変更された行: 2");
    EXPECT_EQ(Folder(), before);
    EXPECT_TRUE(ui.log.empty());
}

TEST_F(ConversionPreviewTest, TheTableFieldsTableGoesToEveryStepWithoutAsking) {
    const std::string file = work.Write("t.txt", "x\n");
    host::RunOptions options;
    options.tablePath = work.Path("table.txt");
    auto preview = Preview({file}, ChainOf({"Table 0"}), options);
    preview->Show(0);
    const auto result = Wait(*preview);
    ASSERT_EQ(result->after.size(), 2u);
    EXPECT_EQ(result->after.Text(1), "[" + options.tablePath + "]");
    EXPECT_EQ(result->changedRows, std::vector<std::size_t>{1});
    // No table: the step runs without one, and nobody is asked for it.
    auto without = Preview({file}, bench.chain());
    without->Show(0);
    EXPECT_EQ(Wait(*without, 2)->after.Text(1), "[]");
    EXPECT_TRUE(ui.log.empty());
}

TEST_F(ConversionPreviewTest, FailedStepsBinaryFilesAndUnreadableFilesAreSaid) {
    const std::string text = work.Write("b.txt", "abc");
    const std::string image = work.Write(
        "i.png", "\x89PNG\r\n\x1A\n" +
                     std::string("\0\0\0\rIHDR\0\0\0\x01\0\0\0\x01\x08\x06\0\0\0\0\0\0\0", 25));
    const std::string missing = work.Path("gone.txt");
    auto preview = Preview({text, image, missing}, ChainOf({"Failing 0", "TextUpper 0"}));
    preview->Show(0);
    auto result = Wait(*preview);
    EXPECT_EQ(result->failedSteps, std::vector<std::string>{"Failing 0"});
    EXPECT_EQ(result->after.Text(0), "ABC");
    EXPECT_EQ(host::PreviewSummary(*result, 3).utf8(),
              text + "（1/3）  変更された行: 1  Failing 0 の処理に失敗しました。");

    preview->ShowNextFile();
    result = Wait(*preview, 2);
    EXPECT_EQ(result->fileIndex, 1u);
    EXPECT_TRUE(result->passedOnAsBinary);
    EXPECT_TRUE(result->same);
    EXPECT_TRUE(result->changedRows.empty());
    EXPECT_EQ(host::SideLabel(*result, PreviewSide::kAfter).utf8(), "変換後: バイナリ（PNG）");

    preview->ShowNextFile();
    result = Wait(*preview, 3);
    ASSERT_TRUE(result->error);
    EXPECT_NE(host::PreviewSummary(*result, 3).utf8().find("gone.txt"), std::string::npos);
    // After the last file, the first again.
    preview->ShowNextFile();
    EXPECT_EQ(Wait(*preview, 4)->fileIndex, 0u);
}

TEST_F(ConversionPreviewTest, TheNewestWishWinsAndChangesGoRound) {
    std::string many;
    for (int i = 0; i < 20000; ++i) many += (i % 5000 == 0 ? "change\n" : "1234\n");
    const std::string large = work.Write("large.txt", many);
    const std::string small = work.Write("small.txt", "a\nb\n");
    auto preview = Preview({large, small}, ChainOf({"TextUpper 0"}));
    preview->Show(0);
    preview->Show(1);
    preview->Show(7);  // outside the list: nothing
    auto result = Wait(*preview);
    // Whether the worker had taken the first file or not, only the second is reported.
    EXPECT_EQ(result->fileIndex, 1u);
    EXPECT_EQ(preview->wanted(), 1u);

    preview->Show(0);
    result = Wait(*preview, 2);
    EXPECT_EQ(result->changedRows, (std::vector<std::size_t>{0, 5000, 10000, 15000}));
    EXPECT_EQ(preview->NextChangedRow(std::nullopt), 0u);
    EXPECT_EQ(preview->NextChangedRow(0), 5000u);
    EXPECT_EQ(preview->NextChangedRow(7000), 10000u);
    EXPECT_EQ(preview->NextChangedRow(15000), 0u);
    {
        std::lock_guard lock(mutex);
        EXPECT_EQ(reports, 2);
    }

    // Stopped: nothing more is asked for, and the worker lets go.
    preview->Show(1);
    preview->Stop();
    preview->Show(0);
    EXPECT_EQ(preview->wanted(), 1u);
    for (int i = 0; i < 2000 && preview->busy(); ++i) {
        std::this_thread::sleep_for(5ms);
    }
    EXPECT_FALSE(preview->busy());
}

TEST_F(ConversionPreviewTest, OpensOnTheFirstSelectedFileAndNotOnAnEmptyList) {
    EXPECT_EQ(host::FirstPreviewFile(ui, 3, {}), 0u);
    EXPECT_EQ(host::FirstPreviewFile(ui, 3, {2, 1}), 1u);
    EXPECT_EQ(host::FirstPreviewFile(ui, 3, {8}), 0u);
    EXPECT_TRUE(ui.log.empty());
    EXPECT_EQ(host::FirstPreviewFile(ui, 0, {}), std::nullopt);
    EXPECT_EQ(ui.log, (std::vector<std::string>{
                          "box 16 エラー: プレビューするファイルがリストにありません。",
                          "status プレビューするファイルがリストにありません。"}));
}

}  // namespace
