// Results converted straight into their files: what lands on disk, what is left behind (never
// a temporary file), and a disk that has no room for the result.
#include "host/core/files/result_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <cstring>
#include <filesystem>

#include "host/core/run/conversion_run.h"
#include "host/core/plugins/function_lookup.h"
#include "host/core/plugins/plugin_registry.h"
#include "host_fixture.h"
#include "scripted_ui.h"
#include "support/sample_text.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::TempFolder;

std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Files may grow to `limit` bytes while it lives; going past fails with EFBIG, not a signal.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t limit) {
        std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &old_);
        rlimit lower = old_;
        lower.rlim_cur = limit;
        ::setrlimit(RLIMIT_FSIZE, &lower);
    }
    ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &old_); }

  private:
    rlimit old_{};
};

TEST(ResultFile, CommittedItHoldsTheOutputUnderTheTargetsNameAndMode) {
    TempFolder folder;
    const std::string target = folder.str() + "/a.txt";
    auto file = host::ResultFile::Create(target, 100);
    ASSERT_NE(file, nullptr);
    std::memcpy(file->data(), "converted", 9);
    EXPECT_EQ(file->Commit(target, 9).status, host::WriteStatus::kOk);
    EXPECT_EQ(ReadFile(target), "converted");
    EXPECT_EQ(Names(folder.str()), std::vector<std::string>{"a.txt"});

    // Over an existing file, whose permissions stay.
    ::chmod(target.c_str(), 0640);
    file = host::ResultFile::Create(target, 100);
    ASSERT_NE(file, nullptr);
    std::memcpy(file->data(), "again", 5);
    EXPECT_EQ(file->Commit(target, 5).status, host::WriteStatus::kOk);
    file.reset();
    EXPECT_EQ(ReadFile(target), "again");
    struct stat info{};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(Names(folder.str()), std::vector<std::string>{"a.txt"});
}

TEST(ResultFile, NeverCommittedOrRefusedItLeavesNothingBehind) {
    TempFolder folder;
    const std::string target = folder.Write("a.txt", "old");
    host::ResultFile::Create(target, 1 << 20).reset();
    fs::create_directory(folder.str() + "/sub");
    auto file = host::ResultFile::Create(target, 10);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->Commit(folder.str() + "/sub", 3).status, host::WriteStatus::kCannotCreate);
    file.reset();
    EXPECT_EQ(ReadFile(target), "old");
    EXPECT_EQ(Names(folder.str()), (std::vector<std::string>{"a.txt", "sub"}));
    {
        // No room on the disk: nothing is made, and the caller converts into memory.
        FileSizeLimit limit(1 << 20);
        EXPECT_EQ(host::ResultFile::Create(target, 2 << 20), nullptr);
    }
    EXPECT_EQ(Names(folder.str()), (std::vector<std::string>{"a.txt", "sub"}));
}

class LargeRunTest : public ::testing::Test {
  protected:
    LargeRunTest() {
        program.AddRealPlugin("eolfix");
        registry.ScanPlugins();
        registry.FillFunctionList();
        const auto found = host::FindFunctionByTitle(registry.functionList(),
                                                     testing_support::Sjis("改行をCR+LF"));
        const auto& item = registry.functionList()[*found];
        chain.push_back({item.title, item.entry.get()});
        fs::create_directories(work.str() + "/out");
        options.outputFolder = work.str() + "/out";
        std::string lines;
        while (lines.size() < host::kResultFileFrom + 1000) {
            lines += "a line of a large file\n";
        }
        files.Add(work.Write("large.txt", lines));
        expected = std::string();
        for (const char c : lines) {
            expected += c == '\n' ? std::string("\r\n") : std::string(1, c);
        }
    }

    host::RunResult Run() {
        host::ConversionRun run(ui, files, chain, options);
        return run.RunBatch();
    }

    host_testing::ProgramFolder program;
    host_testing::ScriptedUi ui;
    host::PluginRegistry registry{program.path(), ui};
    TempFolder work;
    host::FileList files;
    host::Chain chain;
    host::RunOptions options;
    std::string expected;
};

TEST_F(LargeRunTest, ALargeResultIsConvertedIntoItsFile) {
    EXPECT_EQ(Run().errorCount, 0);
    EXPECT_EQ(ReadFile(work.str() + "/out/large.txt"), expected);
    EXPECT_EQ(Names(work.str() + "/out"), std::vector<std::string>{"large.txt"});
}

// With no room on the disk, the result goes the ordinary way, and its write fails with the
// system's reason; nothing is left in the folder.
TEST_F(LargeRunTest, ADiskWithoutRoomIsAClearErrorAndLeavesNothing) {
    host::RunResult result;
    {
        FileSizeLimit limit(expected.size() - 1);
        result = Run();
    }
    EXPECT_EQ(result.errorCount, 1);
    EXPECT_TRUE(Names(work.str() + "/out").empty());
    bool named = false;
    for (const std::string& line : ui.log) {
        named = named || line.find(std::strerror(EFBIG)) != std::string::npos;
    }
    EXPECT_TRUE(named) << testing::PrintToString(ui.log);
}

}  // namespace
