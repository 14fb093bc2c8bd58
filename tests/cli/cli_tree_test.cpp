// polyshift-cli over whole folders: repositories left alone, trees kept below the output
// folder, one source per target, backups and modification times in place; one file at a
// time and several at once alike.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <chrono>
#include <filesystem>
#include <map>

#include "cli_fixture.h"
#include "platform/utf8_path.h"

namespace {

namespace fs = std::filesystem;
using host_testing::CliTest;
using testing_support::ReadFile;

// Every file below `folder` with its bytes.
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files[platform::Utf8FromPath(entry.path())] = ReadFile(entry.path());
        }
    }
    return files;
}

bool HoldsTemporaryFiles(const fs::path& folder) {
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.path().filename().string().rfind(".polyshift-", 0) == 0) {
            return true;
        }
    }
    return false;
}

class CliTreeTest : public CliTest, public ::testing::WithParamInterface<const char*> {
  protected:
    // polyshift-cli run with --jobs as the case's parameter.
    testing_support::ProgramOutcome Run(std::vector<std::string> args) {
        args.insert(args.begin(), {"run", "--jobs", GetParam()});
        return Cli(args);
    }
    bool Has(const testing_support::ProgramOutcome& result, const std::string& text) {
        return result.err.find(text) != std::string::npos;
    }
};

// What version control keeps is never converted, be it a repository with history, another
// system's folder or a worktree's ".git" file; what the user names is taken as named.
TEST_P(CliTreeTest, ConvertingAFolderInPlaceLeavesItsRepositoryAlone) {
    work.Write("proj/readme.txt", "read me\r\n");
    work.Write("proj/src/main.c", "int main;\r\n");
    work.Write("proj/.svn/entries", "svn\r\n");
    work.Write("proj/CVS/Root", "cvs\r\n");
    work.Write("proj/linked/.git", "gitdir: ../../elsewhere\r\n");
    const bool git = testing_support::RunShell(work.path(), "git --version").status == 0;
    if (git) {
        ASSERT_EQ(testing_support::RunShell(
                      work.path(), "cd proj && git init -q && git add -A && git -c user.name=t "
                                   "-c user.email=t@t commit -qm first")
                      .status,
                  0);
    }
    std::map<std::string, std::string> kept;
    for (const char* own : {".git", ".svn", "CVS"}) {
        if (fs::exists(work.path() / "proj" / own)) {
            kept.merge(Snapshot(work.path() / "proj" / own));
        }
    }
    kept[work.Path("proj/linked/.git")] = ReadFile(work.path() / "proj/linked/.git");

    for (const char* function : {"eolfix:2", "eolfix:0", "eolfix:2"}) {
        const auto result = Run({"--overwrite", "-f", function, "proj"});
        ASSERT_EQ(result.status, 0) << result.err;
    }
    EXPECT_EQ(ReadFile(work.path() / "proj/readme.txt"), "read me\n");
    EXPECT_EQ(ReadFile(work.path() / "proj/src/main.c"), "int main;\n");
    for (const auto& [path, bytes] : kept) {
        EXPECT_EQ(ReadFile(path), bytes) << path;
    }
    if (git) {
        const auto fsck = testing_support::RunShell(work.path() / "proj", "git fsck --strict");
        EXPECT_EQ(fsck.status, 0) << fsck.out << fsck.err;
    }

    const auto named = Run({"--overwrite", "-f", "eolfix:2", "proj/.svn", "proj/linked/.git"});
    EXPECT_EQ(named.status, 0) << named.err;
    EXPECT_EQ(ReadFile(work.path() / "proj/.svn/entries"), "svn\n");
    EXPECT_EQ(ReadFile(work.path() / "proj/linked/.git"), "gitdir: ../../elsewhere\n");
}

// A folder argument keeps its tree below -o, made as results need it; a file named by itself
// goes into the folder itself. A second source for one target fails whatever -y says, naming
// both, and the first result stays.
TEST_P(CliTreeTest, TreesLandBelowTheOutputFolderAndNeverOnOneTarget) {
    work.Write("sub/a.txt", "sub\r\n");
    work.Write("sub/deep/a.txt", "deep\r\n");
    work.Write("sub/same/s.txt", "same\n");
    work.Write("a.txt", "top\r\n");

    auto result = Run({"-o", "out", "--no-output", "-f", "eolfix:2", "sub"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(Snapshot(work.path() / "out"),
              (std::map<std::string, std::string>{{work.Path("out/a.txt"), "sub\n"},
                                                  {work.Path("out/deep/a.txt"), "deep\n"}}));
    EXPECT_FALSE(fs::exists(work.path() / "out/same"));  // nothing written there

    result = Run({"-y", "-o", "new/out", "-f", "eolfix:2", "sub", "a.txt"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(ReadFile(work.path() / "new/out/a.txt"), "top\n");
    EXPECT_EQ(ReadFile(work.path() / "new/out/deep/a.txt"), "deep\n");
    EXPECT_TRUE(Has(result, "エラー: '" + work.Path("new/out/a.txt") + "' には '" +
                                work.Path("a.txt") + "' の変換結果を書き込んだため、'" +
                                work.Path("sub/a.txt") + "' の変換結果は書き込みません。\n"))
        << result.err;
    EXPECT_TRUE(Has(result, "（エラー：1）")) << result.err;

    // A folder that cannot be made (a file has its name) fails the files that need it, each
    // with the reason.
    work.Write("blocked", "a file");
    result = Run({"-o", "blocked/out", "-f", "eolfix:2", "sub/deep"});
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(Has(result, "エラー: 変換先のフォルダ '" + work.Path("blocked") +
                                "' を作成できませんでした。\n"))
        << result.err;
    EXPECT_EQ(ReadFile(work.path() / "blocked"), "a file");
}

// Replaced sources kept as backups (an older backup replaced, a custom suffix), the file whose
// backup cannot be made left as it was; results with their sources' times when asked.
TEST_P(CliTreeTest, BackupsAndTimesInPlace) {
    const std::string a = work.Write("in/a.txt", "a\r\n");
    const std::string b = work.Write("in/b.txt", "b\r\n");
    const std::string c = work.Write("in/c.txt", "c\r\n");
    work.Write("in/b.txt~", "older backup");
    fs::create_directories(work.path() / "in/c.txt~");  // no backup can take this name
    // Large enough to be converted straight into its file.
    std::string large;
    for (int i = 0; i < 900000; ++i) {
        large += "line ten\r\n";
    }
    const std::string big = work.Write("in/big.txt", large);
#ifndef _WIN32
    ::chmod(a.c_str(), 0640);
#endif
    const auto then =
        fs::last_write_time(platform::PathFromUtf8(a)) - std::chrono::hours(24 * 400);
    for (const std::string& path : {a, b, big}) {
        fs::last_write_time(platform::PathFromUtf8(path), then);
    }

    auto result = Run({"--overwrite", "--backup", "--keep-time", "-f", "eolfix:2", a, b, c, big});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(ReadFile(a), "a\n");
    EXPECT_EQ(ReadFile(a + "~"), "a\r\n");
    EXPECT_EQ(ReadFile(b + "~"), "b\r\n");
    EXPECT_EQ(ReadFile(big + "~"), large);
    EXPECT_EQ(ReadFile(big).size(), large.size() - 900000);
    EXPECT_EQ(ReadFile(c), "c\r\n");
    EXPECT_TRUE(Has(result, "エラー: バックアップ '" + c + "~' を作成できないため、'" + c +
                                "' は元のままです。\n"))
        << result.err;
    for (const std::string& path : {a, a + "~", b, big, big + "~"}) {
        EXPECT_EQ(fs::last_write_time(platform::PathFromUtf8(path)), then) << path;
    }
#ifndef _WIN32
    for (const std::string& path : {a, a + "~"}) {
        struct stat info{};
        ASSERT_EQ(::stat(path.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0640u) << path;
    }
#endif
    EXPECT_FALSE(HoldsTemporaryFiles(work.path()));

    // Another suffix; without --keep-time a result is as new as its write.
    result = Run({"--overwrite", "--backup=.orig", "-f", "eolfix:0", a});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ReadFile(a), "a\r\n");
    EXPECT_EQ(ReadFile(a + ".orig"), "a\n");
    EXPECT_EQ(ReadFile(a + "~"), "a\r\n");
    EXPECT_NE(fs::last_write_time(platform::PathFromUtf8(a)), then);

    // Into another folder, --keep-time too.
    result = Run({"-o", "out", "--keep-time", "-f", "eolfix:0", b});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(fs::last_write_time(work.path() / "out/b.txt"), then);
}

INSTANTIATE_TEST_SUITE_P(Jobs, CliTreeTest, ::testing::Values("1", "2"));

}  // namespace
