// Whole-file reads and writes: a failed write leaves the old file as it was.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "host/core/whole_file.h"
#include "support/file_size_limit.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::TempFolder;

host::WriteResult Write(const std::string& path, const std::string& bytes) {
    return host::ReplaceFileContent(path, reinterpret_cast<const unsigned char*>(bytes.data()),
                                    bytes.size());
}

std::size_t EntriesIn(const fs::path& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

// The permission bits of `path`, set-id and sticky bits included; all bits set when there is no
// such file.
mode_t ModeOf(const std::string& path) {
    struct stat info{};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : static_cast<mode_t>(~0u);
}

TEST(SafeWrite, ReplacesContentAndKeepsThePermissions) {
    TempFolder folder;
    const auto path = folder.Write("a.txt", "old content");
    ::chmod(path.c_str(), 0640);
    EXPECT_EQ(Write(path, "new").status, host::WriteStatus::kOk);
    EXPECT_EQ(ReadFile(path), "new");
    EXPECT_EQ(ModeOf(path), 0640u);
    EXPECT_EQ(EntriesIn(folder.path()), 1u);
}

TEST(SafeWrite, NewFileGetsTheUsualModeAndEmptyContentIsWritten) {
    TempFolder folder;
    const std::string path = folder.str() + "/new.txt";
    const mode_t mask = ::umask(022);
    EXPECT_EQ(Write(path, "").status, host::WriteStatus::kOk);
    ::umask(mask);
    EXPECT_EQ(ReadFile(path), "");
    EXPECT_EQ(ModeOf(path), static_cast<mode_t>(0666 & ~mask));
}

TEST(SafeWrite, WritesThroughASymbolicLink) {
    TempFolder folder;
    const auto real = folder.Write("real.txt", "old");
    fs::create_symlink(real, folder.path() / "link.txt");
    EXPECT_EQ(Write((folder.path() / "link.txt").string(), "new").status, host::WriteStatus::kOk);
    EXPECT_TRUE(fs::is_symlink(folder.path() / "link.txt"));
    EXPECT_EQ(ReadFile(real), "new");
}

TEST(SafeWrite, RefusesMissingFoldersFoldersAndReadOnlyFiles) {
    TempFolder folder;
    EXPECT_EQ(Write(folder.str() + "/missing/a.txt", "x").status, host::WriteStatus::kCannotCreate);
    fs::create_directory(folder.path() / "sub");
    EXPECT_EQ(Write(folder.str() + "/sub", "x").status, host::WriteStatus::kCannotCreate);
    if (::geteuid() != 0) {  // root may write anything
        const auto locked = folder.Write("locked.txt", "keep");
        ::chmod(locked.c_str(), 0444);
        EXPECT_EQ(Write(locked, "x").status, host::WriteStatus::kCannotCreate);
        EXPECT_EQ(ReadFile(locked), "keep");
    }
    EXPECT_EQ(EntriesIn(folder.path()), ::geteuid() != 0 ? 2u : 1u);
}

// Writes 100,000 bytes while files may not grow past 4 KiB: the write fails part-way with
// EFBIG.
host::WriteResult WriteTooMuch(const std::string& path) {
    testing_support::FileSizeLimit limit(4096);
    return Write(path, std::string(100000, 'x'));
}

TEST(SafeWrite, WriteFailingHalfWayKeepsTheOldFileAndLeavesNoTemporaryFile) {
    TempFolder folder;
    const auto path = folder.Write("a.txt", "the old content stays");
    const auto result = WriteTooMuch(path);
    EXPECT_EQ(result.status, host::WriteStatus::kWriteError);
    EXPECT_FALSE(result.reason.empty());
    EXPECT_EQ(ReadFile(path), "the old content stays");
    EXPECT_EQ(EntriesIn(folder.path()), 1u);
}

TEST(SafeWrite, NewFileFailingHalfWayIsRemovedAgain) {
    TempFolder folder;
    const auto result = WriteTooMuch(folder.str() + "/new.txt");
    EXPECT_EQ(result.status, host::WriteStatus::kWriteError);
    EXPECT_EQ(EntriesIn(folder.path()), 0u);
}

TEST(SafeWrite, AFileThatAppearedAfterAllIsReplacedSafely) {
    // The caller saw nothing there, but a file is there by the time of the write.
    TempFolder folder;
    const auto path = folder.Write("a.txt", "old");
    ::chmod(path.c_str(), 0600);
    const std::string bytes = "new";
    EXPECT_EQ(host::ReplaceFileContent(path, reinterpret_cast<const unsigned char*>(bytes.data()),
                                       bytes.size(), true)
                  .status,
              host::WriteStatus::kOk);
    EXPECT_EQ(ReadFile(path), "new");
    EXPECT_EQ(ModeOf(path), 0600u);
    EXPECT_EQ(EntriesIn(folder.path()), 1u);
}

TEST(SafeWrite, DanglingLinkIsReplacedByTheFile) {
    TempFolder folder;
    fs::create_symlink(folder.path() / "nowhere", folder.path() / "link.txt");
    EXPECT_EQ(Write(folder.str() + "/link.txt", "new").status, host::WriteStatus::kOk);
    EXPECT_FALSE(fs::is_symlink(folder.path() / "link.txt"));
    EXPECT_EQ(ReadFile(folder.path() / "link.txt"), "new");
    EXPECT_EQ(EntriesIn(folder.path()), 1u);
}

TEST(WholeFileRead, ReadsEverythingAndRefusesWhatIsTooLargeOrMissing) {
    TempFolder folder;
    const auto path = folder.Write("a.bin", std::string("a\0b", 3));
    auto read = host::ReadWholeFile(path);
    EXPECT_EQ(read.status, host::ReadStatus::kOk);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(read.bytes.data()), read.bytes.size()),
              std::string("a\0b", 3));
    EXPECT_EQ(host::ReadWholeFile(path, 2).status, host::ReadStatus::kTooLarge);
    EXPECT_EQ(host::ReadWholeFile(path, 3).status, host::ReadStatus::kOk);
    EXPECT_EQ(host::ReadWholeFile(folder.str() + "/none").status, host::ReadStatus::kCannotOpen);
    EXPECT_EQ(host::ReadWholeFile(folder.str()).status, host::ReadStatus::kCannotOpen);
}

// A named pipe with no writer would block a plain open forever; it fails at once instead, as
// does a device.
TEST(WholeFileRead, RefusesPipesAndDevicesWithoutWaiting) {
    TempFolder folder;
    const std::string pipe = folder.str() + "/pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    auto read = host::ReadWholeFile(pipe);
    EXPECT_EQ(read.status, host::ReadStatus::kCannotOpen);
    EXPECT_FALSE(read.reason.empty());
    EXPECT_EQ(host::ReadWholeFile("/dev/zero").status, host::ReadStatus::kCannotOpen);
}

}  // namespace
