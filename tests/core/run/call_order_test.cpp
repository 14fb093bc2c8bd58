// The order in which a run calls a plug-in, as the contract lists it: per file and per step
// XfmIsUseTable, XfmGetBufferSize, XfmConvert after a size above 0, and XfmRenameFile after a
// conversion that succeeded. One job (as the windows run) keeps exactly that order; several
// jobs also ask every step's name ahead, and still ask again after each conversion.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <utility>

#include "host/core/plugins/function_lookup.h"
#include "host/core/plugins/plugin_registry.h"
#include "host/core/run/conversion_run.h"
#include "host/core/workbench/workbench.h"
#include "host_fixture.h"
#include "platform/library.h"
#include "platform/message_box.h"
#include "scripted_ui.h"
#include "support/sample_text.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;
using TestCallsFn = const char*(XFM_CALL*)(uint32_t clear);

class CallOrderTest : public ::testing::Test {
  protected:
    CallOrderTest() {
        program.AddTestPlugin("tp_recording");
        registry.ScanPlugins();
        registry.FillFunctionList();
        // The registry's module: loading the same file again hands out the same one.
        recorder = platform::LoadLibraryFile(program.pluginFolder() + "/" +
                                             host_testing::Library("tp_recording"));
        takeCalls = platform::BindEntryAs<TestCallsFn>(recorder, "_XfmTestCalls@4");
        fs::create_directories(work.Path("out"));
        options.outputFolder = work.Path("out");
        files.Add(work.Write("in/a.txt", "one\n"));
        files.Add(work.Write("in/b.txt", "two\n"));
        for (const char* title : {"Recording renames", "Recording fails", "Recording skips",
                                  "Recording copies", "Recording renames"}) {
            const auto& item =
                registry.functionList()[*host::FindFunctionByTitle(registry.functionList(), title)];
            chain.push_back({item.title, item.entry.get()});
        }
    }
    ~CallOrderTest() override { platform::FreeLibraryHandle(recorder); }

    // Every call since the last look, one a line.
    Lines Calls() {
        std::istringstream text(takeCalls(1));
        Lines lines;
        for (std::string line; std::getline(text, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    // What one file goes through with the chain above, in the contract's order.
    static Lines OneFile(const std::string& tag, const std::string& name) {
        return {"IsUseTable 0",   "GetBufferSize 0 " + tag, "Convert 0 " + tag,
                "RenameFile 0 " + name,                     // renames
                "IsUseTable 1",   "GetBufferSize 1 " + tag, "Convert 1 " + tag,  // fails
                "IsUseTable 2",   "GetBufferSize 2 " + tag,                      // skips
                "IsUseTable 3",   "GetBufferSize 3 " + tag, "Convert 3 " + tag,
                "RenameFile 3 " + name,                     // copies, keeps the name
                "IsUseTable 0",   "GetBufferSize 0 " + tag, "Convert 0 " + tag,
                "RenameFile 0 " + name};
    }

    // The calls on one file's bytes or name, in the order they came.
    static Lines CallsFor(const Lines& calls, const std::string& tag, const std::string& name) {
        Lines mine;
        for (const std::string& call : calls) {
            const std::string last = call.substr(call.rfind(' ') + 1);
            if (last == tag || last == name) {
                mine.push_back(call);
            }
        }
        return mine;
    }

    host_testing::ProgramFolder program;
    host_testing::ScriptedUi ui;
    host::PluginRegistry registry{program.path(), ui};
    platform::LibraryHandle recorder = nullptr;
    TestCallsFn takeCalls = nullptr;
    testing_support::TempFolder work;
    host::FileList files;
    host::Chain chain;
    host::RunOptions options;
};

TEST_F(CallOrderTest, OneJobCallsEveryStepInTheContractsOrder) {
    ASSERT_NE(takeCalls, nullptr);
    Calls();
    const host::RunResult result = host::ConversionRun(ui, files, chain, options).RunBatch();
    EXPECT_EQ(result.errorCount, 0);
    Lines expected = OneFile("one", "a.txt");
    const Lines second = OneFile("two", "b.txt");
    expected.insert(expected.end(), second.begin(), second.end());
    EXPECT_EQ(Calls(), expected);
    // The failed step was reported, and the last renaming step named the result.
    EXPECT_EQ(ui.Only("box 16").size(), 2u);
    EXPECT_EQ(testing_support::ReadFile(work.Path("out/a.rec")), "one\n");
    EXPECT_FALSE(fs::exists(work.Path("out/a.txt")));
}

// The windows' run command: the same order, through the working set behind both windows.
TEST_F(CallOrderTest, TheWindowsRunCallsEveryStepInTheContractsOrder) {
    ASSERT_NE(takeCalls, nullptr);
    host::Workbench bench{program.path(), program.path() + "/polyshift.ini", ui, ui};
    bench.Start(files.paths());
    for (std::size_t item = 0; item < 4; ++item) {  // renames, fails, skips, copies
        bench.SetFunctionChecked(item, true);
    }
    bench.SetOptions(options);
    Calls();
    bench.RunBatch();
    Lines expected;
    for (const auto& [tag, name] : {std::pair{"one", "a.txt"}, std::pair{"two", "b.txt"}}) {
        const Lines file = OneFile(tag, name);
        expected.insert(expected.end(), file.begin(), file.end() - 4);  // no second "renames"
    }
    EXPECT_EQ(Calls(), expected);
    EXPECT_EQ(testing_support::ReadFile(work.Path("out/b.rec")), "two\n");
}

TEST_F(CallOrderTest, SeveralJobsAskNamesAheadAndAgainAfterEachConversion) {
    ASSERT_NE(takeCalls, nullptr);
    Calls();
    const host::PresetAnswers answers = [](host::MessageKind, unsigned style) {
        return platform::DefaultAnswer(style);
    };
    const host::RunResult result =
        host::ConversionRun(ui, files, chain, options).RunBatch(2, answers);
    EXPECT_EQ(result.errorCount, 0);
    const Lines calls = Calls();
    for (const auto& [tag, name] : {std::pair{"one", "a.txt"}, std::pair{"two", "b.txt"}}) {
        Lines expected;
        for (int step : {0, 1, 2, 3, 0}) {
            expected.push_back("RenameFile " + std::to_string(step) + " " + name);
        }
        for (const std::string& call : OneFile(tag, name)) {
            if (call.rfind("IsUseTable", 0) != 0) {
                expected.push_back(call);
            }
        }
        EXPECT_EQ(CallsFor(calls, tag, name), expected) << name;
    }
    EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                            [](const std::string& call) { return call.rfind("IsUseTable", 0) == 0; }),
              10);
    EXPECT_EQ(testing_support::ReadFile(work.Path("out/b.rec")), "two\n");
}

}  // namespace
