// The file list's order and the title look-up used by saved chains and the command line.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>

#include "host/core/files/file_list.h"
#include "host/core/plugins/function_lookup.h"
#include "support/sample_text.h"
#include "support/temp_folder.h"

namespace {

TEST(FileList, SortsWithoutRegardToCaseAndKeepsEachPathOnce) {
    host::FileList list;
    EXPECT_TRUE(list.Add("/d/b.txt"));
    EXPECT_TRUE(list.Add("/d/A.txt"));
    EXPECT_TRUE(list.Add("/d/a.txt"));
    EXPECT_TRUE(list.Add("/d/C.txt"));
    EXPECT_FALSE(list.Add("/d/b.txt"));
    EXPECT_EQ(list.paths(),
              (std::vector<std::string>{"/d/A.txt", "/d/a.txt", "/d/b.txt", "/d/C.txt"}));
}

TEST(FileList, OrderIsCaseFoldedThenByBytes) {
    // The plain rule: compare with ASCII capitals folded; equal ones by their bytes.
    const auto reference = [](std::string a, std::string b) {
        std::string fa = a, fb = b;
        for (auto* s : {&fa, &fb}) {
            for (char& c : *s) {
                c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
            }
        }
        return fa != fb ? fa < fb : a < b;
    };
    const std::vector<std::string> paths{"",     "a",     "A",     "ab",     "aB",      "Ab",
                                         "a/b",  "a.b",   "a_b",   "Z",      "z[",      "~",
                                         "\xff", "a\x80", "A\x80", "/d/s/x", "/d/s.txt"};
    for (const auto& a : paths) {
        for (const auto& b : paths) {
            EXPECT_EQ(host::PathLess(a, b), reference(a, b)) << a << " " << b;
        }
    }
}

TEST(FileList, ListsAPathAgainWhenDuplicatesAreAllowed) {
    host::FileList list(host::Duplicates::kAllow);
    EXPECT_TRUE(list.Add("/d/b.txt"));
    EXPECT_TRUE(list.Add("/d/B.txt"));
    EXPECT_TRUE(list.Add("/d/b.txt"));
    EXPECT_TRUE(list.Add("/d/a.txt"));
    EXPECT_EQ(list.paths(),
              (std::vector<std::string>{"/d/a.txt", "/d/B.txt", "/d/b.txt", "/d/b.txt"}));
}

TEST(FileList, FolderAddsEveryFileBelowIt) {
    testing_support::TempFolder folder;
    folder.Write("x.txt", "1");
    folder.Write("sub/y.txt", "2");
    folder.Write("sub/deeper/z.txt", "3");
    host::FileList list;
    EXPECT_EQ(list.AddFolderRecursively(folder.str()), 3u);
    EXPECT_EQ(list.paths(), (std::vector<std::string>{folder.Path("sub/deeper/z.txt"),
                                                      folder.Path("sub/y.txt"),
                                                      folder.Path("x.txt")}));
}

// A walk passes by what version control keeps for itself, but a folder named by the user is
// taken as named; every path remembers the folder argument it was found below, through
// removals, and a path added by itself has none.
TEST(FileList, FolderWalkLeavesOutVersionControlAndRemembersItsFolder) {
    testing_support::TempFolder folder;
    for (const char* own : {".git/config", ".svn/entries", ".hg/store/data", ".bzr/branch",
                            "_darcs/format", "CVS/Root", "work/.git", "sub/.git/HEAD"}) {
        folder.Write(own, "kept");
    }
    folder.Write("work/a.txt", "1");
    folder.Write(".gitignore", "2");
    folder.Write("notes.git/b.txt", "3");
    host::FileList list;
    EXPECT_EQ(list.AddFolderRecursively(folder.str()), 3u);
    const std::vector<std::string> walked{folder.Path(".gitignore"), folder.Path("notes.git/b.txt"),
                                          folder.Path("work/a.txt")};
    EXPECT_EQ(list.paths(), walked);

    EXPECT_EQ(list.AddFolderRecursively(folder.Path(".git")), 1u);
    EXPECT_TRUE(list.Add(folder.Path("work/.git")));
    ASSERT_EQ(list.size(), 5u);
    EXPECT_EQ(list[0], folder.Path(".git/config"));
    EXPECT_EQ(list.folderOf(0), folder.Path(".git"));
    EXPECT_EQ(list.folderOf(1), folder.str());
    list.Remove(0);
    EXPECT_EQ(list[0], folder.Path(".gitignore"));
    EXPECT_EQ(list.folderOf(0), folder.str());
    EXPECT_EQ(list[2], folder.Path("work/.git"));
    EXPECT_EQ(list.folderOf(2), "");  // named by itself
    EXPECT_EQ(list.folderOf(3), folder.str());
}

// Links that lead back into the walk ("loop -> .", "up -> ..") are not followed, so each file
// is listed once under its own path; a link to a file still adds that file, and a link to a
// folder outside the walk is walked.
TEST(FileList, FolderWalkNeverReentersAFolderItIsInside) {
    namespace fs = std::filesystem;
    testing_support::TempFolder outside;
    outside.Write("o.txt", "o");
    testing_support::TempFolder folder;
    folder.Write("x.txt", "1");
    folder.Write("sub/y.txt", "2");
    std::error_code made;
    fs::create_directory_symlink(".", folder.path() / "loop", made);
    if (made) {
        GTEST_SKIP() << "symbolic links cannot be made here: " << made.message();
    }
    fs::create_directory_symlink("..", folder.path() / "sub/up");
    fs::create_directory_symlink(folder.path(), folder.path() / "sub/root");
    fs::create_symlink("x.txt", folder.path() / "link.txt");
    fs::create_directory_symlink(outside.path(), folder.path() / "sub/elsewhere");
    host::FileList list;
    EXPECT_EQ(list.AddFolderRecursively(folder.str()), 4u);
    EXPECT_EQ(list.paths(), (std::vector<std::string>{folder.Path("link.txt"),
                                                      folder.Path("sub/elsewhere/o.txt"),
                                                      folder.Path("sub/y.txt"),
                                                      folder.Path("x.txt")}));
}

// Only regular files are listed: a named pipe would block the run that opens it, and a link
// that leads nowhere has nothing to convert.
TEST(FileList, FolderWalkLeavesOutPipesAndDanglingLinks) {
    testing_support::TempFolder folder;
    folder.Write("a.txt", "1");
    std::error_code made;
#ifndef _WIN32  // Windows keeps no named pipes in folders
    ASSERT_EQ(::mkfifo((folder.Path("pipe")).c_str(), 0600), 0);
    std::filesystem::create_symlink("pipe", folder.path() / "to-pipe", made);
#endif
    std::filesystem::create_symlink("missing", folder.path() / "dangling", made);
    if (made) {
        GTEST_SKIP() << "symbolic links cannot be made here: " << made.message();
    }
    host::FileList list;
    EXPECT_EQ(list.AddFolderRecursively(folder.str()), 1u);
    EXPECT_EQ(list.paths(), (std::vector<std::string>{folder.Path("a.txt")}));
    EXPECT_EQ(list.AddFolderRecursively(folder.Path("none")), 0u);
}

TEST(TitleLookup, MatchesPrefixesIgnoringCaseOfLettersOnly) {
    using testing_support::Sjis;
    host::FunctionList list;
    list.push_back({Sjis("改行をCR+LF(Windows)に変換"), nullptr, "eolfix.so"});
    list.push_back({Sjis("改行をLF(UNIX)に変換"), nullptr, "eolfix.so"});
    EXPECT_EQ(host::FindFunctionByTitle(list, Sjis("改行をlf")), 1u);
    EXPECT_EQ(host::FindFunctionByTitle(list, Sjis("改行を")), 0u);
    EXPECT_EQ(host::FindFunctionByTitle(list, Sjis("改行をLF(UNIX)に変換です")), std::nullopt);
    EXPECT_EQ(host::FindFunctionByTitle(list, ""), 0u);
    // A trail byte in the letter range is not a letter: "ア" (83 41) is not "ャ" (83 61).
    list.push_back({Sjis("アイ"), nullptr, "x.so"});
    EXPECT_EQ(host::FindFunctionByTitle(list, Sjis("ャ")), std::nullopt);
    // Half a double-byte character matches nothing.
    EXPECT_EQ(host::FindFunctionByTitle(list, std::string("\x89", 1)), std::nullopt);
}

}  // namespace
