// Whole-file reads and writes: a failed write leaves the old file as it was.
#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>

#include "support/file_size_limit.h"
#endif

#include <filesystem>

#include "host/core/files/whole_file.h"
#include "platform/utf8_path.h"
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

#ifdef _WIN32
// What stands for a file's permissions on Windows: its attributes (hidden, system, archive,
// read-only); nothing set when there is no such file.
unsigned ModeOf(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(platform::PathFromUtf8(path).c_str());
    return attributes == INVALID_FILE_ATTRIBUTES ? ~0u : attributes & ~FILE_ATTRIBUTE_ARCHIVE;
}

void SetMode(const std::string& path, unsigned) {
    ::SetFileAttributesW(platform::PathFromUtf8(path).c_str(), FILE_ATTRIBUTE_HIDDEN);
}
#else
// The permission bits of `path`, set-id and sticky bits included; all bits set when there is no
// such file.
unsigned ModeOf(const std::string& path) {
    struct stat info{};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : ~0u;
}

void SetMode(const std::string& path, unsigned mode) { ::chmod(path.c_str(), mode); }
#endif

// Windows has no user above every right; root on Linux may write anything.
bool MayWriteAnything() {
#ifdef _WIN32
    return false;
#else
    return ::geteuid() == 0;
#endif
}

TEST(SafeWrite, ReplacesContentAndKeepsThePermissions) {
    TempFolder folder;
    const auto path = folder.Write("a.txt", "old content");
    SetMode(path, 0640);
    const unsigned mode = ModeOf(path);
    EXPECT_EQ(Write(path, "new").status, host::WriteStatus::kOk);
    EXPECT_EQ(ReadFile(path), "new");
    EXPECT_EQ(ModeOf(path), mode);
    EXPECT_EQ(EntriesIn(folder.path()), 1u);
}

TEST(SafeWrite, NewFileGetsTheUsualModeAndEmptyContentIsWritten) {
    TempFolder folder;
    const std::string path = folder.Path("new.txt");
#ifndef _WIN32  // the mode a new file gets comes from the umask
    const mode_t mask = ::umask(022);
#endif
    EXPECT_EQ(Write(path, "").status, host::WriteStatus::kOk);
#ifndef _WIN32
    ::umask(mask);
    EXPECT_EQ(ModeOf(path), 0666 & ~mask);
#endif
    EXPECT_EQ(ReadFile(path), "");
}

TEST(SafeWrite, WritesThroughASymbolicLink) {
    TempFolder folder;
    const auto real = folder.Write("real.txt", "old");
    std::error_code made;
    fs::create_symlink(real, folder.path() / "link.txt", made);
    if (made) {
        GTEST_SKIP() << "symbolic links cannot be made here: " << made.message();
    }
    EXPECT_EQ(Write(folder.Path("link.txt"), "new").status, host::WriteStatus::kOk);
    EXPECT_TRUE(fs::is_symlink(folder.path() / "link.txt"));
    EXPECT_EQ(ReadFile(real), "new");
}

TEST(SafeWrite, RefusesMissingFoldersFoldersAndReadOnlyFiles) {
    TempFolder folder;
    EXPECT_EQ(Write(folder.Path("missing/a.txt"), "x").status, host::WriteStatus::kCannotCreate);
    fs::create_directory(folder.path() / "sub");
    EXPECT_EQ(Write(folder.Path("sub"), "x").status, host::WriteStatus::kCannotCreate);
    if (!MayWriteAnything()) {
        // Read-only for everyone: the read-only attribute on Windows.
        const auto locked = folder.Write("locked.txt", "keep");
        fs::permissions(folder.path() / "locked.txt",
                        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        EXPECT_EQ(Write(locked, "x").status, host::WriteStatus::kCannotCreate);
        EXPECT_EQ(ReadFile(locked), "keep");
    }
    EXPECT_EQ(EntriesIn(folder.path()), MayWriteAnything() ? 1u : 2u);
}

#ifdef _WIN32
// A file another program holds open without sharing cannot be replaced: the write fails, and
// neither the file nor a temporary file is left changed.
TEST(SafeWrite, FileHeldOpenByAnotherProgramStaysAsItWas) {
    TempFolder folder;
    const auto path = folder.Write("held.txt", "keep");
    const HANDLE held = ::CreateFileW(platform::PathFromUtf8(path).c_str(), GENERIC_READ, 0,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const auto result = Write(path, "x");
    ::CloseHandle(held);
    EXPECT_NE(result.status, host::WriteStatus::kOk);
    EXPECT_FALSE(result.reason.empty());
    EXPECT_EQ(ReadFile(path), "keep");
    EXPECT_EQ(EntriesIn(folder.path()), 1u);
}
#else  // Windows sets no limit on the size of a process's files


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
    const auto result = WriteTooMuch(folder.Path("new.txt"));
    EXPECT_EQ(result.status, host::WriteStatus::kWriteError);
    EXPECT_EQ(EntriesIn(folder.path()), 0u);
}
#endif

TEST(SafeWrite, AFileThatAppearedAfterAllIsReplacedSafely) {
    // The caller saw nothing there, but a file is there by the time of the write.
    TempFolder folder;
    const auto path = folder.Write("a.txt", "old");
    SetMode(path, 0600);
    const unsigned mode = ModeOf(path);
    const std::string bytes = "new";
    EXPECT_EQ(host::ReplaceFileContent(path, reinterpret_cast<const unsigned char*>(bytes.data()),
                                       bytes.size(), true)
                  .status,
              host::WriteStatus::kOk);
    EXPECT_EQ(ReadFile(path), "new");
    EXPECT_EQ(ModeOf(path), mode);
    EXPECT_EQ(EntriesIn(folder.path()), 1u);
}

TEST(SafeWrite, DanglingLinkIsReplacedByTheFile) {
    TempFolder folder;
    std::error_code made;
    fs::create_symlink(folder.path() / "nowhere", folder.path() / "link.txt", made);
    if (made) {
        GTEST_SKIP() << "symbolic links cannot be made here: " << made.message();
    }
    EXPECT_EQ(Write(folder.Path("link.txt"), "new").status, host::WriteStatus::kOk);
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
    EXPECT_EQ(host::ReadWholeFile(folder.Path("none")).status, host::ReadStatus::kCannotOpen);
    EXPECT_EQ(host::ReadWholeFile(folder.str()).status, host::ReadStatus::kCannotOpen);
}

// A named pipe with no writer would block a plain open forever; it fails at once instead, as
// does a device.
TEST(WholeFileRead, RefusesPipesAndDevicesWithoutWaiting) {
#ifdef _WIN32
    const std::string pipe =
        "\\\\.\\pipe\\polyshift-test-" + std::to_string(::GetCurrentProcessId());
    const HANDLE server = ::CreateNamedPipeW(platform::PathFromUtf8(pipe).c_str(),
                                             PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 1, 0, 0, 0,
                                             nullptr);
    ASSERT_NE(server, INVALID_HANDLE_VALUE);
    const std::string device = "NUL";
#else
    TempFolder folder;
    const std::string pipe = folder.Path("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string device = "/dev/zero";
#endif
    auto read = host::ReadWholeFile(pipe);
    EXPECT_EQ(read.status, host::ReadStatus::kCannotOpen);
    EXPECT_FALSE(read.reason.empty());
    EXPECT_EQ(host::ReadWholeFile(device).status, host::ReadStatus::kCannotOpen);
#ifdef _WIN32
    ::CloseHandle(server);
#endif
}

}  // namespace
