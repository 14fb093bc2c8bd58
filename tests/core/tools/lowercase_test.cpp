// File-name lower-casing: which names qualify under each selection, which bytes change, and
// that renaming never loses a file.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "host/core/tools/lowercase_file_name.h"
#include "scripted_ui.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using host::LowercaseName;
using host::LowercaseSelection;
using host_testing::ScriptedUi;
using testing_support::ReadFile;
using testing_support::TempFolder;

constexpr LowercaseSelection kAll = LowercaseSelection::kAllFiles;
constexpr LowercaseSelection kExt = LowercaseSelection::kUpperExtension;
constexpr LowercaseSelection kName = LowercaseSelection::kUpperName;

TEST(LowercaseName, SelectionTable) {
    struct Case {
        std::string name;
        // The new name under selections 0, 1 and 2 ("" = left alone).
        std::string all, upperExtension, upperName;
    };
    const std::vector<Case> cases = {
        {"README.TXT", "readme.txt", "readme.txt", "readme.txt"},
        {"Readme.TXT", "readme.txt", "readme.txt", ""},
        {"README.txt", "readme.txt", "", "readme.txt"},
        {"README", "readme", "", "readme"},
        {"DATA.001", "data.001", "data.001", "data.001"},
        {"readme.txt", "", "", ""},
        {"123.456", "", "", ""},
        {"A.B.c", "a.b.c", "", "a.b.c"},
        {"a.B.C", "a.b.c", "a.b.c", ""},
        // UTF-8 names: every ASCII capital changes, the other characters never.
        {"日本ABC.TXT", "日本abc.txt", "日本abc.txt", "日本abc.txt"},
        {"ＡＢＣ.TXT", "ＡＢＣ.txt", "ＡＢＣ.txt", "ＡＢＣ.txt"},
        {"ｱＡ.Txt", "ｱＡ.txt", "", "ｱＡ.txt"},
        // Shift JIS names: the trail byte 0x41 of "ア" (0x83 0x41) stays as it is.
        {"\x83\x41X.TXT", "\x83\x41x.txt", "\x83\x41x.txt", "\x83\x41x.txt"},
        {"\x83\x61"
         "A.TXT",
         "\x83\x61"
         "a.txt",
         "\x83\x61"
         "a.txt",
         "\x83\x61"
         "a.txt"},
        {"\x83\x41", "", "", ""},
    };
    for (const Case& c : cases) {
        const std::string expected[] = {c.all, c.upperExtension, c.upperName};
        for (const auto selection : {kAll, kExt, kName}) {
            const auto lowered = LowercaseName(c.name, selection);
            EXPECT_EQ(lowered.value_or(""), expected[static_cast<int>(selection)])
                << c.name << " selection " << static_cast<int>(selection);
        }
    }
}

class LowercaseFileTest : public ::testing::Test {
  protected:
    std::string Path(const std::string& name) const { return folder.Path(name); }

    TempFolder folder;
    ScriptedUi ui;
};

TEST_F(LowercaseFileTest, RenamesByFullPathAndLeavesTheCurrentFolderAlone) {
    const auto before = fs::current_path();
    const auto path = folder.Write("Sub.DIR/README.TXT", "text");
    EXPECT_EQ(host::LowercaseFileName(path, kAll), Path("Sub.DIR/readme.txt"));
    EXPECT_EQ(ReadFile(Path("Sub.DIR/readme.txt")), "text");
    // The folder holds the new name alone (on Windows the old one still finds the file).
    const std::vector<fs::directory_entry> entries(fs::directory_iterator(Path("Sub.DIR")), {});
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].path().filename(), "readme.txt");
    EXPECT_EQ(fs::current_path(), before);
}

TEST_F(LowercaseFileTest, ATakenNameIsAFailedRenameAndNothingIsLost) {
#ifdef _WIN32
    GTEST_SKIP() << "names that differ only in case are one name on Windows: none can be taken";
#endif
    const auto upper = folder.Write("README.TXT", "upper");
    const auto lower = folder.Write("readme.txt", "lower");
    EXPECT_EQ(host::LowercaseFileName(upper, kAll), std::nullopt);
    EXPECT_EQ(ReadFile(upper), "upper");
    EXPECT_EQ(ReadFile(lower), "lower");

    fs::create_directory(Path("notes"));
    const auto file = folder.Write("NOTES", "notes");
    EXPECT_EQ(host::LowercaseFileName(file, kAll), std::nullopt);
    EXPECT_EQ(ReadFile(file), "notes");
    EXPECT_TRUE(fs::is_directory(Path("notes")));
}

TEST_F(LowercaseFileTest, MissingFileAndFolderNamesAreLeftAlone) {
    EXPECT_EQ(host::LowercaseFileName(Path("GONE.TXT"), kAll), std::nullopt);
    const auto path = folder.Write("UPPER/name.txt", "x");
    EXPECT_EQ(host::LowercaseFileName(path, kAll), std::nullopt);
    EXPECT_TRUE(fs::exists(path));
}

TEST_F(LowercaseFileTest, CommandReplacesRenamedEntriesInPlace) {
    host::FileList files;
    const auto a = folder.Write("A.TXT", "a");
    const auto b = folder.Write("b.txt", "b");
    const auto c = folder.Write("C.txt", "c");
    for (const auto& path : {a, b, c}) {
        files.Add(path);
    }
    const auto renamed = host::LowercaseListedFiles(ui, files, [] { return kExt; });
    EXPECT_EQ(renamed, 1u);
    EXPECT_EQ(files.paths(), (std::vector<std::string>{Path("a.txt"), b, c}));
    EXPECT_EQ(ui.log, (std::vector<std::string>{"range 0 3", "pos 0", "status "}));
}

TEST_F(LowercaseFileTest, CancelAndEmptyListRenameNothing) {
    host::FileList files;
    EXPECT_EQ(host::LowercaseListedFiles(ui, files, [] { return kAll; }), 0u);
    EXPECT_EQ(ui.log,
              (std::vector<std::string>{"box 16 エラー: 変換元ファイルがリストにありません。",
                                        "status 変換元ファイルがリストにありません。"}));

    const auto path = folder.Write("A.TXT", "a");
    files.Add(path);
    bool asked = false;
    host::LowercaseListedFiles(ui, files, [&]() -> std::optional<LowercaseSelection> {
        asked = true;
        return std::nullopt;
    });
    EXPECT_TRUE(asked);
    EXPECT_TRUE(fs::exists(path));
    EXPECT_EQ(files[0], path);
}

}  // namespace
