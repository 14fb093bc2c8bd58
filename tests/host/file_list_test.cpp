// The file list's order and the title look-up used by saved chains and the command line.
#include <gtest/gtest.h>

#include "host/core/file_list.h"
#include "host/core/function_lookup.h"
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

TEST(FileList, FolderAddsEveryFileBelowIt) {
    testing_support::TempFolder folder;
    folder.Write("x.txt", "1");
    folder.Write("sub/y.txt", "2");
    folder.Write("sub/deeper/z.txt", "3");
    host::FileList list;
    EXPECT_EQ(list.AddFolderRecursively(folder.str()), 3u);
    EXPECT_EQ(list.paths(), (std::vector<std::string>{folder.str() + "/sub/deeper/z.txt",
                                                      folder.str() + "/sub/y.txt",
                                                      folder.str() + "/x.txt"}));
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
