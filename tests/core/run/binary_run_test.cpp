// Binary files in a run: text functions pass them on unchanged with one note per file and a
// count in the final report; functions that take any bytes, and plug-ins that do not say,
// convert them as before; and a folder of real binary files comes out of every text function
// of every shipped plug-in byte for byte as it went in.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "host/core/plugins/function_lookup.h"
#include "host/core/plugins/plugin_function.h"
#include "host/core/plugins/plugin_registry.h"
#include "host/core/run/conversion_run.h"
#include "host_fixture.h"
#include "platform/message_box.h"
#include "platform/utf8_path.h"
#include "scripted_ui.h"
#include "support/binary_samples.h"
#include "support/sample_text.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using host_testing::ProgramFolder;
using host_testing::ScriptedUi;
using testing_support::ReadFile;
using testing_support::TempFolder;

const std::string kPng = "\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR image bytes"s;

std::string Skipped(const std::string& path) {
    return "'" + path + "' はバイナリファイルのため、テキストの処理をスキップしました。";
}

class BinaryRunTest : public ::testing::Test {
  protected:
    BinaryRunTest() {
        for (const char* name : {"tp_text_upper", "tp_bytes_upper", "tp_upper"}) {
            program.AddTestPlugin(name);
        }
        program.AddRealPlugin("base64");
        registry.ScanPlugins();
        registry.FillFunctionList();
        fs::create_directories(work.Path("out"));
        options.outputFolder = work.Path("out");
    }

    std::string AddFile(const std::string& name, const std::string& bytes) {
        const std::string path = work.Write("in/" + name, bytes);
        files.Add(path);
        return path;
    }

    void Use(const std::string& title) {
        const auto found =
            host::FindFunctionByTitle(registry.functionList(), testing_support::Sjis(title));
        ASSERT_TRUE(found.has_value()) << title;
        const auto& item = registry.functionList()[*found];
        chain.push_back({item.title, item.entry.get()});
    }

    host::RunResult Run(unsigned jobs = 1) {
        host::ConversionRun run(ui, files, chain, options);
        return run.RunBatch(jobs, [](host::MessageKind, unsigned style) {
            return platform::DefaultAnswer(style);
        });
    }

    ProgramFolder program;
    ScriptedUi ui;
    host::PluginRegistry registry{program.path(), ui};
    TempFolder work;
    host::FileList files;
    host::Chain chain;
    host::RunOptions options;
};

TEST_F(BinaryRunTest, TextStepPassesABinaryFileOnWithANoteAndACount) {
    AddFile("a.txt", "abc\n");
    const auto png = AddFile("b.png", kPng);
    AddFile("c.txt", "def\n");
    Use("TextUpper");
    const host::RunResult result = Run();
    EXPECT_EQ(result.errorCount, 0);
    EXPECT_EQ(result.skippedBinary, 1);
    EXPECT_EQ(ReadFile(work.Path("out/a.txt")), "ABC\n");
    EXPECT_EQ(ReadFile(work.Path("out/b.png")), kPng);  // copied along, as it was
    EXPECT_EQ(ReadFile(work.Path("out/c.txt")), "DEF\n");
    const std::string final =
        "すべての処理を終了しました。（エラー：0）（スキップしたバイナリファイル：1）";
    EXPECT_EQ(ui.Only("box"), (std::vector<std::string>{
                                  "box 36 確認: 変換を実行します。よろしいですか？",
                                  "box 64 処理終了: " + final}));
    EXPECT_EQ(ui.Only("note"), (std::vector<std::string>{"note " + Skipped(png)}));
    // The status line keeps the note until the next file.
    const auto status = ui.Only("status");
    EXPECT_NE(std::find(status.begin(), status.end(), "status " + Skipped(png)), status.end());
    EXPECT_EQ(status.back(), "status " + final);
}

TEST_F(BinaryRunTest, AnyBytesFunctionsUndeclaredPluginsAndTheBinaryOptionConvertIt) {
    AddFile("b.png", kPng);
    std::string upper = kPng;
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    for (const char* function : {"BytesUpper", "Upper"}) {
        chain.clear();
        ui.log.clear();
        Use(function);
        EXPECT_EQ(Run().skippedBinary, 0) << function;
        EXPECT_EQ(ReadFile(work.Path("out/b.png")), upper) << function;
        EXPECT_TRUE(ui.Only("note").empty());
        fs::remove(work.Path("out/b.png"));
    }
    chain.clear();
    Use("TextUpper");
    options.convertBinary = true;
    EXPECT_EQ(Run().skippedBinary, 0);
    EXPECT_EQ(ReadFile(work.Path("out/b.png")), upper);
}

TEST_F(BinaryRunTest, EachStepSeesWhatTheStepBeforeMade) {
    // Decoded Base64 may be binary, and binary encoded is text.
    AddFile("binary.b64", "AAECYWJj");  // 00 01 02 "abc"
    AddFile("text.b64", "YWJj");        // "abc"
    Use("base64デコード");
    Use("TextUpper");
    Use("base64エンコード");
    Use("TextUpper");
    const host::RunResult result = Run();
    EXPECT_EQ(result.skippedBinary, 1);
    EXPECT_EQ(ui.Only("note").size(), 1u);
    // 00 01 02 "abc" passed the first TextUpper unchanged; its Base64 was upper-cased.
    EXPECT_EQ(ReadFile(work.Path("out/binary.txt")), "AAECYWJJ");
    EXPECT_EQ(ReadFile(work.Path("out/text.txt")), "QUJD");
}

TEST_F(BinaryRunTest, NoOutputLeavesPassedBinaryFilesOut) {
    AddFile("a.txt", "abc");
    AddFile("b.png", kPng);
    Use("TextUpper");
    options.noOutput = true;
    EXPECT_EQ(Run().skippedBinary, 1);
    EXPECT_EQ(ReadFile(work.Path("out/a.txt")), "ABC");
    EXPECT_FALSE(fs::exists(work.Path("out/b.png")));
}

TEST_F(BinaryRunTest, InPlaceABinaryFileIsNotEvenRewritten) {
    const auto png = AddFile("b.png", kPng);
    const auto text = AddFile("a.txt", "abc");
    struct stat before {};
    ASSERT_EQ(::stat(png.c_str(), &before), 0);
    Use("TextUpper");
    options.overWrite = true;
    EXPECT_EQ(Run().skippedBinary, 1);
    struct stat after {};
    ASSERT_EQ(::stat(png.c_str(), &after), 0);
#ifndef _WIN32
    EXPECT_EQ(after.st_ino, before.st_ino);  // a rewrite replaces the file by a new one
#endif
    EXPECT_EQ(ReadFile(png), kPng);
    EXPECT_EQ(ReadFile(text), "ABC");
}

TEST_F(BinaryRunTest, CancelledRunsCountThemTooAndJobsReportAsOneAtATime) {
    AddFile("a.png", kPng);
    AddFile("b.txt", "abc");
    work.Write("out/b.txt", "there before");
    Use("TextUpper");
    ui.answers = {platform::kAnswerYes, platform::kAnswerCancel};
    Run();
    EXPECT_EQ(ui.log.back(), "box 64 処理終了: 処理はキャンセルされました。（エラー：1）"
                             "（スキップしたバイナリファイル：1）");

    for (int i = 0; i < 6; ++i) {
        AddFile("more" + std::to_string(i) + (i % 2 ? ".txt" : ".png"), i % 2 ? "text" : kPng);
    }
    options.outputFolder = work.Path("alone");
    fs::create_directories(options.outputFolder);
    ui.log.clear();
    const host::RunResult alone = Run(1);
    const std::vector<std::string> aloneLog = ui.log;
    options.outputFolder = work.Path("at-once");
    fs::create_directories(options.outputFolder);
    ui.log.clear();
    const host::RunResult atOnce = Run(3);
    EXPECT_EQ(alone.skippedBinary, 4);
    EXPECT_EQ(atOnce.skippedBinary, 4);
    ASSERT_EQ(ui.log.size(), aloneLog.size());
    for (std::size_t i = 0; i < aloneLog.size(); ++i) {
        // The logs differ only in the output folder's name.
        std::string expected = aloneLog[i];
        for (auto at = expected.find("/alone/"); at != std::string::npos;
             at = expected.find("/alone/")) {
            expected.replace(at, 7, "/at-once/");
        }
        EXPECT_EQ(ui.log[i], expected);
    }
}

// Every text function of every shipped plug-in over a copy of a folder of binary files,
// converted in place: every file stays as it was, and is named once per run.
TEST(BinaryFolder, EveryTextFunctionLeavesEveryBinaryFileAsItWas) {
    ProgramFolder program;
    for (const char* name : {"base64", "encswap", "eolfix", "glyphport", "pictile", "rulebook",
                             "unibridge", "widthfold"}) {
        program.AddRealPlugin(name);
    }
    ScriptedUi ui;
    host::PluginRegistry registry{program.path(), ui};
    registry.ScanPlugins();
    registry.FillFunctionList();

    TempFolder originals;
    std::size_t count = 0;
    for (const auto& found : testing_support::BinariesOnThisMachine(6, 4 << 20)) {
        fs::copy_file(found.path, originals.path() / (std::to_string(count++) + "-" +
                                                      found.path.filename().string()));
    }
    for (const auto& sample : testing_support::GeneratedBinarySamples()) {
        originals.Write(std::to_string(count++) + "-" + sample.fileName, sample.bytes);
    }
    const fs::path pictures = fs::path(POLYSHIFT_SOURCE_DIR) / "examples/pictile";
    for (const auto& entry : fs::directory_iterator(pictures)) {
        if (entry.path().extension() == ".bmp") {
            fs::copy_file(entry.path(), originals.path() / (std::to_string(count++) + "-" +
                                                           entry.path().filename().string()));
        }
    }
    TempFolder work;
    host::FileList files;
    for (const auto& entry : fs::directory_iterator(originals.path())) {
        const fs::path copy = work.path() / entry.path().filename();
        fs::copy_file(entry.path(), copy);
        files.Add(platform::Utf8FromPath(copy));
    }
    host::RunOptions options;
    options.overWrite = true;
    std::size_t textFunctions = 0;
    for (const auto& item : registry.functionList()) {
        if (!host::PluginFunction(*item.entry).isTextFunction()) {
            continue;
        }
        ++textFunctions;
        const host::Chain chain{{item.title, item.entry.get()}};
        ui.log.clear();
        const host::RunResult result = host::ConversionRun(ui, files, chain, options).RunBatch();
        EXPECT_EQ(result.errorCount, 0) << item.pluginFileName;
        EXPECT_EQ(result.skippedBinary, static_cast<std::int32_t>(count)) << item.pluginFileName;
        EXPECT_EQ(ui.Only("note").size(), count);
        EXPECT_EQ(ui.Only("box").size(), 2u) << testing::PrintToString(ui.Only("box"));
        EXPECT_TRUE(ui.Only("table").empty());
    }
    // Every function of encswap, eolfix, glyphport, widthfold, rulebook and unibridge.
    EXPECT_EQ(textFunctions, 30u);
    for (const auto& entry : fs::directory_iterator(originals.path())) {
        EXPECT_EQ(ReadFile(work.path() / entry.path().filename()), ReadFile(entry.path()))
            << entry.path().filename();
    }
    std::printf("binary folder: %zu files through %zu text functions, in place\n", count,
                textFunctions);

    // The same folder with --binary: the protection is what kept the files.
    options.convertBinary = true;
    std::size_t changed = 0;
    const auto eolfix = host::FindFunctionByTitle(registry.functionList(),
                                                  testing_support::Sjis("改行をLF"));
    ASSERT_TRUE(eolfix.has_value());
    const auto& item = registry.functionList()[*eolfix];
    host::ConversionRun(ui, files, {{item.title, item.entry.get()}}, options).RunBatch();
    for (const auto& entry : fs::directory_iterator(originals.path())) {
        changed += ReadFile(work.path() / entry.path().filename()) != ReadFile(entry.path());
    }
    EXPECT_GT(changed, count / 2);
}

}  // namespace
