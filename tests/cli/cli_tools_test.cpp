// polyshift-cli end to end: scan, lower, regex and about.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli_fixture.h"

namespace {

namespace fs = std::filesystem;
using host_testing::CliTest;
using testing_support::ReadFile;

TEST_F(CliTest, ScanPrintsTheReportInUtf8OrRaw) {
    const auto file = work.Write("a.txt", "x\r\n\x87\x40\xb1\r\n");
    auto result = Cli({"scan", "a.txt"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "*** " + file +
                              " ***\n"
                              "   2行目:[ ① ] = 0x8740\n"
                              "   2行目:[ ｱ  ] = 0xB1\n"
                              "*** スキャン終了 ***\n");

    result = Cli({"scan", "--raw", "--no-kana", "a.txt"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "*** " + file +
                              " ***\r\n"
                              "   2\x8d\x73\x96\xda:[ \x87\x40 ] = 0x8740\r\n"
                              "*** \x83\x58\x83\x4c\x83\x83\x83\x93\x8f\x49\x97\xb9 ***\r\n");
}

TEST_F(CliTest, ScanOptionsAndUnreadableFiles) {
    work.Write("lf.txt", "a\nb\n\xed\x40\xf0\x40");
    auto result = Cli({"scan", "--unify-breaks", "--no-user", "--no-special", "lf.txt"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("   3行目:[ 纊 ] = 0xED40\n"), std::string::npos) << result.out;
    EXPECT_EQ(result.out.find("0xF040"), std::string::npos);

    result = Cli({"scan", "lf.txt", "missing.txt"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.out.find("エラー: ファイルをオープンできません。\n*** スキャン終了 ***\n"),
              std::string::npos)
        << result.out;
}

TEST_F(CliTest, ScanReadsAUtf8FileAsUtf8) {
    const auto file = work.Write("u.txt", "\xEF\xBB\xBF①😀\r\n\x82\xA0");
    const auto result = Cli({"scan", "u.txt"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "*** " + file +
                              " ***\n"
                              "   1行目:[ ① ] = U+2460 （シフトJISでは機種依存文字 0x8740）\n"
                              "   1行目:[ 😀 ] = U+1F600 （シフトJISにない文字）\n"
                              "   2行目:[ 82 A0 ] （UTF-8として読めないバイト）\n"
                              "*** スキャン終了 ***\n");
}

TEST_F(CliTest, LowerRenamesAndNeverReplaces) {
    work.Write("docs/README.TXT", "upper");
    work.Write("docs/Notes.TXT", "notes");
    const std::string docs = work.Path("docs/");
#ifdef _WIN32
    // Names that differ only in case are one name on Windows: no small-letter name is taken.
    auto result = Cli({"lower", "--ext-upper", "docs"});
    EXPECT_EQ(result.status, 0) << result.err;
#else
    work.Write("docs/KEEP.TXT", "keep upper");
    work.Write("docs/keep.txt", "keep lower");
    auto result = Cli({"lower", "--ext-upper", "docs"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("'" + docs + "KEEP.TXT' keeps its name"), std::string::npos)
        << result.err;
    EXPECT_EQ(ReadFile(docs + "KEEP.TXT"), "keep upper");
    EXPECT_EQ(ReadFile(docs + "keep.txt"), "keep lower");
#endif
    EXPECT_EQ(result.out, docs + "Notes.TXT -> " + docs + "notes.txt\n" + docs + "README.TXT -> " +
                              docs + "readme.txt\n");
    EXPECT_EQ(ReadFile(docs + "readme.txt"), "upper");

    work.Write("Mixed.txt", "");
    result = Cli({"lower", "--name-upper", "Mixed.txt"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(fs::exists(work.path() / "Mixed.txt"));
}

TEST_F(CliTest, RegexAppliesTheCommandWithTheRunsOptions) {
    program.AddRealPlugin("rulebook");
    const auto a = work.Write("a.txt", "\x82\x50\x82\x51 and 34");  // "１２ and 34"
    fs::create_directory(work.path() / "out");
    auto result = Cli({"regex", "-e", "tr/０-９/0-9/k", "-o", "out", "a.txt"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ReadFile(work.path() / "out/a.txt"), "12 and 34");
    EXPECT_NE(result.err.find("すべての処理を終了しました。（エラー：0）"), std::string::npos);

    // The destination exists: No without -y, Yes with it.
    result = Cli({"regex", "-e", "s/and/&/", "-o", "out", "a.txt"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("は上書きされます。よろしいですか？ -> いいえ"), std::string::npos)
        << result.err;
    result = Cli({"regex", "-e", "s/(\\d+)/[$1]/g", "-o", "out", "-y", "a.txt"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ReadFile(work.path() / "out/a.txt"), "\x82\x50\x82\x51 and [34]");

    result = Cli({"regex", "-e", "s/a/b/", "--overwrite", "a.txt"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ReadFile(a), "\x82\x50\x82\x51 bnd 34");

    // A command the rulebook cannot run fails the file, which stays as it was.
    result = Cli({"regex", "-e", "s/(/x/", "--overwrite", "a.txt"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("（エラー：1）"), std::string::npos) << result.err;
    EXPECT_EQ(ReadFile(a), "\x82\x50\x82\x51 bnd 34");
}

TEST_F(CliTest, RegexGivesTheCommandToEachFileInItsEncoding) {
    program.AddRealPlugin("rulebook");
    const auto utf8 = work.Write("u.txt", "\xEF\xBB\xBFひらがな１２");
    const auto sjis = work.Write("s.txt", "\x82\xd0\x82\xe7\x82\xaa\x82\xc8\x82\x50\x82\x51");
    auto result = Cli({"regex", "-e", "tr/ぁ-みむ-ん０-９/ァ-ミム-ン0-9/k", "--overwrite", "u.txt",
                       "s.txt"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ReadFile(utf8), "\xEF\xBB\xBFヒラガナ12");
    EXPECT_EQ(ReadFile(sjis), "\x83\x71\x83\x89\x83\x4b\x83\x69" "12");

    // A character code page 932 cannot hold is refused before any file is touched.
    result = Cli({"regex", "-e", "s/ヒ/😀/k", "--overwrite", "u.txt"});
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("'😀'"), std::string::npos) << result.err;
    EXPECT_EQ(ReadFile(utf8), "\xEF\xBB\xBFヒラガナ12");
}

TEST_F(CliTest, RegexWithoutTheRulebookFails) {
    work.Write("a.txt", "x");
    const auto result = Cli({"regex", "-e", "s/x/y/", "--overwrite", "a.txt"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(ReadFile(work.path() / "a.txt"), "x");
}

TEST_F(CliTest, AboutAndVersionShowEveryPlugin) {
    program.AddTestPlugin("tp_alpha");
    for (const char* command : {"about", "--version"}) {
        const auto result = Cli({command});
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.out.substr(0, 10), "Polyshift\n");
        EXPECT_NE(result.out.find("\nVer.1.0.0.5\n" + host_testing::Library("eolfix") +
                                  " v.1.0.0.2\n" + host_testing::Library("tp_alpha") +
                                  " v.1.2.3.4\n"),
                  std::string::npos)
            << result.out;
    }
}

TEST_F(CliTest, ToolUsageErrorsExitWith2) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"scan"},
             {"scan", "--bogus", "a.txt"},
             {"lower"},
             {"regex", "-o", "out", "a.txt"},
             {"regex", "-e", "s/a/b/", "a.txt"},
             {"regex", "-e"},
             {"about", "extra"},
         }) {
        const auto result = Cli(args);
        EXPECT_EQ(result.status, 2) << testing::PrintToString(args);
        EXPECT_NE(result.err.find("usage: polyshift-cli"), std::string::npos);
    }
}

}  // namespace
