// glyphport through polyshift-cli: the Mac sample texts to Windows and back, with the titles
// and messages on the terminal in UTF-8.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/run_program.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::TempFolder;

using Outcome = testing_support::ProgramOutcome;
using testing_support::RunCli;

std::vector<std::string> MacSamples() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(POLYSHIFT_SOURCE_DIR "/examples/glyphport")) {
        if (entry.path().extension() == ".txt") {
            names.push_back(entry.path().filename().string());
        }
    }
    return names;
}

TEST(GlyphportCli, ListsBothFunctionsInUtf8) {
    TempFolder folder;
    const Outcome result = RunCli(folder.path(), {"list"});
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.out.find("glyphport:0\t機種依存文字(Mac→Win)変換\n"), std::string::npos);
    EXPECT_NE(result.out.find("glyphport:1\t機種依存文字(Win→Mac)変換\n"), std::string::npos);
}

TEST(GlyphportCli, MacSamplesGoToWindowsCodesAndBackUnchanged) {
    TempFolder folder;
    const auto names = MacSamples();
    ASSERT_FALSE(names.empty());
    std::vector<std::string> toWindows = {"run", "-o", "win", "-f", "機種依存文字(Mac"};
    for (const auto& name : names) {
        folder.Write("mac/" + name,
                     ReadFile(fs::path(POLYSHIFT_SOURCE_DIR "/examples/glyphport") / name));
        toWindows.push_back("mac/" + name);
    }
    fs::create_directories(folder.path() / "win");
    fs::create_directories(folder.path() / "back");

    // Found by the beginning of its title, typed in UTF-8.
    const Outcome there = RunCli(folder.path(), toWindows);
    EXPECT_EQ(there.status, 0) << there.err;
    EXPECT_NE(there.err.find("すべての処理を終了しました。（エラー：0）"), std::string::npos)
        << there.err;
    const Outcome back = RunCli(folder.path(), {"run", "-o", "back", "-f", "glyphport:1", "win"});
    EXPECT_EQ(back.status, 0) << back.err;

    for (const auto& name : names) {
        const std::string mac = ReadFile(folder.path() / "mac" / name);
        const std::string win = ReadFile(folder.path() / "win" / name);
        EXPECT_NE(win, mac) << name << ": the samples hold Mac vendor characters";
        EXPECT_EQ(win.find("\x85\x40"), std::string::npos) << name << ": Mac circled one left";
        EXPECT_EQ(ReadFile(folder.path() / "back" / name), mac) << name;
    }
}

}  // namespace
