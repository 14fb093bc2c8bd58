// The Windows side of the runtime and the core, under Wine: text at the system calls is exact
// both ways (names the code page cannot hold, unpaired surrogates, malformed bytes refused),
// long paths reach the system, files in any script are listed, read, replaced and renamed,
// and libraries are bound by the contract's decorated names with the system's error texts.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>

#include "host/core/files/safe_rename.h"
#include "host/core/files/whole_file.h"
#include "platform/folder.h"
#include "platform/library.h"
#include "platform/paths.h"
#include "platform/system_error.h"
#include "platform/win32/wide_text.h"
#include "support/temp_folder.h"
#include "xfm_plugin.h"

namespace {

using platform::win32::Utf8FromWide;
using platform::win32::WideFromUtf8;
using platform::win32::WidePath;

// Names no single code page holds: Japanese, Korean, Greek and a character beyond 16 bits.
const std::string kMixedName = "表ソ\xED\x95\x9C\xEA\xB8\x80\xCE\xB1\xF0\x9F\x98\x80.txt";

std::string Utf8(const std::wstring& wide) { return Utf8FromWide(wide); }

TEST(WideText, EveryUnitSurvivesTheRoundTrip) {
    const std::wstring samples[] = {
        L"plain", L"\u8868\u30bd", L"\xD83D\xDE00",  // a pair: one character of four bytes
        std::wstring(1, wchar_t(0xD800)),            // unpaired surrogates, as names may hold
        std::wstring(1, wchar_t(0xDFFF)) + L"x",     //
        std::wstring{wchar_t(0xDC00), wchar_t(0xD800)},  // low before high: two units
    };
    for (const std::wstring& wide : samples) {
        const auto back = WideFromUtf8(Utf8(wide));
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(*back, wide);
    }
    EXPECT_EQ(Utf8(L"\xD83D\xDE00"), "\xF0\x9F\x98\x80");
}

TEST(WideText, BytesThatAreNoTextAreRefusedNotGuessed) {
    for (const std::string bad : {"\xC3", "\xC0\xAF", "\xE0\x80\xAF", "\xF4\x90\x80\x80", "\x81\x40",
                                  "\xFF", "\xED\xA0\xBD\xED\xB8\x80"}) {
        EXPECT_FALSE(WideFromUtf8(bad).has_value()) << testing::PrintToString(bad);
    }
    EXPECT_FALSE(WidePath("C:\\\x82\xA0.txt").has_value());  // Shift JIS bytes, not UTF-8
    EXPECT_FALSE(platform::LastSystemErrorText().empty());
}

TEST(WideText, PathsGetBackslashesAndLongOnesTheRawForm) {
    EXPECT_EQ(*WidePath("C:/a/b.txt"), L"C:\\a\\b.txt");
    const std::string longPath = "C:/" + std::string(300, 'x') + "/f.txt";
    const std::wstring wide = *WidePath(longPath);
    EXPECT_EQ(wide.rfind(L"\\\\?\\C:\\", 0), 0u);
    EXPECT_EQ(wide.find(L'/'), std::wstring::npos);
}

TEST(WindowsPaths, BothSeparatorsSplitAndTheDriveRootStays) {
    EXPECT_EQ(platform::FileNameOf("C:\\a\\b.txt"), "b.txt");
    EXPECT_EQ(platform::FileNameOf("C:/a/b.txt"), "b.txt");
    EXPECT_EQ(platform::RemoveFileName("C:\\a\\b.txt"), "C:\\a");
    EXPECT_EQ(platform::RemoveFileName("C:\\b.txt"), "C:\\");
    EXPECT_EQ(platform::JoinPath("C:\\a", "b"), "C:\\a\\b");
    EXPECT_EQ(platform::JoinPath("C:/a/", "b"), "C:/a/b");
    EXPECT_EQ(*platform::ReplaceExtension("C:\\a.b\\c", ".ico"), "C:\\a.b\\c.ico");
}

class WindowsFiles : public testing::Test {
protected:
    std::string Path(const std::string& name) const {
        return platform::JoinPath(Utf8(folder.path().wstring()), name);
    }
    testing_support::TempFolder folder;
};

TEST_F(WindowsFiles, NamesInAnyScriptAreWrittenListedReadAndRenamed) {
    const std::string path = Path(kMixedName);
    const std::string bytes = "abc\r\n";
    const auto written = host::ReplaceFileContent(
        path, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), true);
    ASSERT_EQ(written.status, host::WriteStatus::kOk) << written.reason;

    const auto items = platform::ListFolder(Utf8(folder.path().wstring()));
    ASSERT_TRUE(items.has_value());
    ASSERT_EQ(items->size(), 1u);
    EXPECT_EQ((*items)[0].name, kMixedName);
    EXPECT_TRUE((*items)[0].isFile);

    const auto read = host::ReadWholeFile(path);
    ASSERT_EQ(read.status, host::ReadStatus::kOk) << read.reason;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(read.bytes.data()), read.bytes.size()),
              bytes);

    const std::string renamed = Path("\xCE\xB2 " + kMixedName);
    EXPECT_TRUE(host::RenameWithoutReplacing(path, renamed));
    EXPECT_FALSE(platform::PathExists(path));
    EXPECT_TRUE(platform::PathExists(renamed));
}

TEST_F(WindowsFiles, ReplacingKeepsNoTemporaryAndRefusesReadOnlyFiles) {
    const std::string path = Path("target.txt");
    folder.Write("target.txt", "old");
    const std::string bytes(300000, 'n');  // more than one write of the old reader
    auto result = host::ReplaceFileContent(
        path, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    ASSERT_EQ(result.status, host::WriteStatus::kOk) << result.reason;
    EXPECT_EQ(testing_support::ReadFile(folder.path() / "target.txt"), bytes);
    EXPECT_EQ(platform::ListFolder(Utf8(folder.path().wstring()))->size(), 1u);

    ASSERT_TRUE(::SetFileAttributesW(WidePath(path)->c_str(), FILE_ATTRIBUTE_READONLY));
    result = host::ReplaceFileContent(path, reinterpret_cast<const unsigned char*>("x"), 1);
    EXPECT_EQ(result.status, host::WriteStatus::kCannotCreate);
    EXPECT_FALSE(result.reason.empty());
    ::SetFileAttributesW(WidePath(path)->c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(testing_support::ReadFile(folder.path() / "target.txt"), bytes);
}

TEST_F(WindowsFiles, RenamingNeverReplacesAnotherFile) {
    folder.Write("a.txt", "a");
    folder.Write("b.txt", "b");
    EXPECT_FALSE(host::RenameWithoutReplacing(Path("a.txt"), Path("b.txt")));
    EXPECT_FALSE(platform::LastSystemErrorText().empty());
    EXPECT_EQ(testing_support::ReadFile(folder.path() / "b.txt"), "b");
    EXPECT_EQ(testing_support::ReadFile(folder.path() / "a.txt"), "a");
}

// Large files are mapped, unless the caller will write over them while it holds the bytes:
// Windows will not replace a file while a view of it is mapped.
TEST_F(WindowsFiles, LargeFilesAreMappedUnlessTheyWillBeReplaced) {
    std::string bytes(300 << 10, 'a');
    bytes.back() = 'z';
    const std::string path = Path("Large.txt");
    folder.Write("Large.txt", bytes);
    folder.Write("other.txt", "o");
    auto Text = [](const host::ReadResult& read) {
        return std::string(reinterpret_cast<const char*>(read.bytes.data()), read.bytes.size());
    };

    {
        const std::string elsewhere[] = {Path("other.txt"), Path("missing.txt"), Path("no/such")};
        const auto mapped = host::ReadWholeFile(path, host::kMaxFileSize, elsewhere);
        ASSERT_EQ(mapped.status, host::ReadStatus::kOk) << mapped.reason;
        EXPECT_TRUE(mapped.bytes.mapped());
        EXPECT_EQ(Text(mapped), bytes);
    }

    ASSERT_TRUE(::CreateHardLinkW(WidePath(Path("link.txt"))->c_str(), WidePath(path)->c_str(),
                                  nullptr));
    const std::string sameFile[][1] = {{path}, {Path("LARGE.TXT")}, {Path("link.txt")}};
    for (const auto& written : sameFile) {
        const auto read = host::ReadWholeFile(path, host::kMaxFileSize, written);
        ASSERT_EQ(read.status, host::ReadStatus::kOk) << read.reason;
        EXPECT_FALSE(read.bytes.mapped()) << written[0];
        EXPECT_EQ(Text(read), bytes);
        // What the run does next: its result replaces the file it still holds.
        const auto replaced = host::ReplaceFileContent(
            written[0], reinterpret_cast<const unsigned char*>("new"), 3);
        EXPECT_EQ(replaced.status, host::WriteStatus::kOk) << written[0] << replaced.reason;
        folder.Write("Large.txt", bytes);
        ::DeleteFileW(WidePath(Path("link.txt"))->c_str());
        ::CreateHardLinkW(WidePath(Path("link.txt"))->c_str(), WidePath(path)->c_str(), nullptr);
    }
    EXPECT_EQ(testing_support::ReadFile(folder.path() / "Large.txt"), bytes);
}

TEST_F(WindowsFiles, FoldersAndMissingFilesAreNotRead) {
    EXPECT_EQ(host::ReadWholeFile(Utf8(folder.path().wstring())).status,
              host::ReadStatus::kCannotOpen);
    const auto missing = host::ReadWholeFile(Path("missing.txt"));
    EXPECT_EQ(missing.status, host::ReadStatus::kCannotOpen);
    EXPECT_FALSE(missing.reason.empty());
}

TEST(WindowsLibraries, PluginsAreBoundByTheirDecoratedNames) {
    const auto library = platform::LoadLibraryFile(POLYSHIFT_PLUGIN_DIR "/eolfix.dll");
    ASSERT_NE(library, nullptr) << platform::LastSystemErrorText();
    const auto version = platform::BindEntryAs<XfmGetVersionFn>(library, kXfmGetVersionName);
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version(), XFM_VERSION(1, 0, 0, 2));
    // The plain and the compiler's own spellings are not exported.
    EXPECT_EQ(platform::BindEntry(library, "XfmGetVersion"), nullptr);
    EXPECT_EQ(platform::BindEntry(library, "XfmGetVersion@0"), nullptr);
    EXPECT_NE(platform::LastSystemErrorText().find_first_not_of(' '), std::string::npos);
    EXPECT_TRUE(platform::FreeLibraryHandle(library));
}

TEST_F(WindowsFiles, WhatIsNoLibraryIsRefusedWithTheSystemsText) {
    folder.Write("fake.dll", "MZ but nothing more");
    platform::SetLastSystemError("");
    EXPECT_EQ(platform::LoadLibraryFile(Path("fake.dll")), nullptr);
    EXPECT_FALSE(platform::LastSystemErrorText().empty());
    EXPECT_EQ(platform::LoadLibraryFile("eolfix.dll"), nullptr);  // no bare names
    EXPECT_EQ(platform::LoadLibraryFile(Path("missing.dll")), nullptr);
}

}  // namespace
