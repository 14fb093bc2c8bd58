// polyshift-cli over a project folder that holds binary files: every text function in turn,
// in place, leaves the repository's objects, the image, the archive and the programs as they
// were and names them; --binary converts them all the same.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "cli_fixture.h"
#include "support/sample_text.h"

namespace {

namespace fs = std::filesystem;
using host_testing::CliTest;
using testing_support::ReadFile;

class CliBinaryTest : public CliTest {
  protected:
    CliBinaryTest() {
        for (const char* name : {"encswap", "glyphport", "widthfold", "rulebook", "unibridge",
                                 "base64", "pictile"}) {
            program.AddRealPlugin(name);
        }
    }

    // Every NAME:INDEX that 'list' shows for the plug-ins of text functions.
    std::vector<std::string> TextFunctions() {
        std::vector<std::string> names;
        std::istringstream lines(Cli({"list"}).out);
        for (std::string line; std::getline(lines, line);) {
            const auto colon = line.find(':');
            const auto tab = line.find('\t');
            if (colon == std::string::npos || tab == std::string::npos) {
                continue;
            }
            const std::string plugin = line.substr(0, colon);
            if (plugin != "base64" && plugin != "pictile") {
                names.push_back(line.substr(0, tab));
            }
        }
        return names;
    }
};

TEST_F(CliBinaryTest, EveryTextFunctionInPlaceLeavesEveryBinaryFileOfAProjectAsItWas) {
    if (Shell("git --version").status != 0) {
        GTEST_SKIP() << "git is not installed";
    }
    const std::string sjis = testing_support::JapaneseText(4000, "\n");
    const std::map<std::string, std::string> texts = {
        {"proj/readme.txt", sjis},
        {"proj/docs/euc.txt", "\xA4\xB3\xA4\xF3\xA4\xCB\xA4\xC1\xA4\xCF\n"},
        {"proj/docs/utf8.txt", "こんにちは、世界\n"},
        {"proj/docs/utf16.txt", std::string("\xFF\xFE\x53\x30\x93\x30\x6B\x30\x0A\x00", 10)},
    };
    for (const auto& [name, bytes] : texts) {
        work.Write(name, bytes);
    }
    const fs::path source = POLYSHIFT_SOURCE_DIR;
    fs::create_directories(work.path() / "proj/bin");
    fs::copy_file(source / "docs/window.png", work.path() / "proj/window.png");
    fs::copy_file(source / "examples/pictile/tile-16x16-565.bmp", work.path() / "proj/tile.bmp");
    fs::copy_file("/bin/ls", work.path() / "proj/bin/ls");
    ASSERT_EQ(Shell("cd proj && gzip -c readme.txt > readme.txt.gz && git init -q . && "
                    "git add -A && git -c user.name=t -c user.email=t@t commit -qm one && "
                    "echo more >> docs/utf8.txt && git add -A && "
                    "git -c user.name=t -c user.email=t@t commit -qm two && "
                    "cp -r .git/objects ../objects-before && git gc -q --no-prune && "
                    "cp -r . ../before")
                  .status,
              0);
    // The files as the user names them, and the repository's objects, which a run over the
    // whole folder would meet as well.
    const std::vector<std::string> paths = {"proj/readme.txt", "proj/readme.txt.gz",
                                            "proj/docs", "proj/window.png", "proj/tile.bmp",
                                            "proj/bin", "proj/.git/objects"};
    const std::vector<std::string> textPaths = {"proj/readme.txt", "proj/docs"};
    const auto functions = TextFunctions();
    ASSERT_EQ(functions.size(), 30u);
    for (const std::string& function : functions) {
        std::vector<std::string> args = {"run", "--overwrite", "-f", function};
        args.insert(args.end(), paths.begin(), paths.end());
        const auto all = Cli(args);
        // The binary files alone never change the exit status.
        args.resize(4);
        args.insert(args.end(), textPaths.begin(), textPaths.end());
        EXPECT_EQ(all.status, Cli(args).status) << function << "\n" << all.err;
        EXPECT_NE(all.err.find("'" + (work.path() / "proj/window.png").string() +
                               "' はバイナリファイルのため、テキストの処理をスキップしました。"),
                  std::string::npos)
            << function << "\n" << all.err;
        EXPECT_NE(all.err.find("（スキップしたバイナリファイル："), std::string::npos) << function;
    }
    const auto fsck = Shell("cd proj && git fsck --strict");
    EXPECT_EQ(fsck.status, 0) << fsck.out << fsck.err;
    for (const char* binary : {"readme.txt.gz", "window.png", "tile.bmp", "bin/ls"}) {
        EXPECT_EQ(ReadFile(work.path() / "proj" / binary), ReadFile(work.path() / "before" / binary))
            << binary;
    }
    for (const auto& entry : fs::recursive_directory_iterator(work.path() / "before/.git/objects")) {
        if (entry.is_regular_file()) {
            const fs::path relative = fs::relative(entry.path(), work.path() / "before");
            EXPECT_EQ(ReadFile(work.path() / "proj" / relative), ReadFile(entry.path())) << relative;
        }
    }
    // The texts were converted: the last function (widthfold's) leaves the readme changed.
    EXPECT_NE(ReadFile(work.path() / "proj/readme.txt"), sjis);
}

TEST_F(CliBinaryTest, BinaryOptionConvertsThemAllTheSame) {
    const std::string image = std::string("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16);
    work.Write("image.png", image);
    auto result = Cli({"run", "--overwrite", "-f", "eolfix:2", "image.png"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(ReadFile(work.path() / "image.png"), image);
    EXPECT_NE(result.err.find("（エラー：0）（スキップしたバイナリファイル：1）"), std::string::npos)
        << result.err;
    result = Cli({"run", "--binary", "--overwrite", "-f", "eolfix:2", "image.png"});
    EXPECT_EQ(result.status, 0);
    // The picture's CR LF and the CR of its header's length field became LF.
    EXPECT_EQ(ReadFile(work.path() / "image.png"), std::string("\x89PNG\n\x1A\n\0\0\0\nIHDR", 15));
    EXPECT_EQ(result.err.find("バイナリ"), std::string::npos) << result.err;
    EXPECT_NE(Cli({"--help"}).out.find("--binary"), std::string::npos);
}

}  // namespace
