// The chain applied to bytes in memory, with the host's test plug-ins: the order of steps,
// table questions and failures, what passes on when a step fails or has nothing to do, and
// which name the result ends up with.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/core/run/apply_chain.h"
#include "host/core/plugins/function_lookup.h"
#include "host/core/plugins/plugin_registry.h"
#include "host_fixture.h"
#include "scripted_ui.h"

namespace {

using Lines = std::vector<std::string>;

// Answers every step with one table and writes down who asked.
class LoggedTable : public host::TableSource {
  public:
    explicit LoggedTable(Lines& log) : log_(log) {}
    const std::string& TableFor(const host::ChainEntry& step, bool usesTable) override {
        log_.push_back("table " + step.title + (usesTable ? " wanted" : ""));
        return path_;
    }

  private:
    Lines& log_;
    std::string path_ = "t.tbl";
};

class ApplyChainTest : public ::testing::Test {
  protected:
    ApplyChainTest() {
        for (const char* name :
             {"tp_upper", "tp_failing", "tp_table", "tp_rename_one", "tp_rename_two"}) {
            program.AddTestPlugin(name);
        }
        registry.ScanPlugins();
        registry.FillFunctionList();
    }

    host::Chain ChainOf(const Lines& titles) const {
        host::Chain chain;
        for (const std::string& title : titles) {
            const auto& item =
                registry.functionList()[*host::FindFunctionByTitle(registry.functionList(), title)];
            chain.push_back({item.title, item.entry.get()});
        }
        return chain;
    }

    host::ChainOutcome Apply(const host::Chain& chain, const std::string& input,
                             const std::string& outputPath = "/o/a.txt") {
        LoggedTable tables(log);
        host::ChainEvents events;
        events.stepFailed = [&](const host::ChainEntry& step) {
            log.push_back("failed " + step.title);
        };
        events.renamed = [&](const std::string& name) { log.push_back("renamed " + name); };
        const auto* bytes = reinterpret_cast<const unsigned char*>(input.data());
        return host::ApplyChain({bytes, input.size()}, chain, &outputPath, tables, pool, events);
    }

    static std::string Text(const host::ChainOutcome& outcome) {
        return {reinterpret_cast<const char*>(outcome.bytes.data()), outcome.bytes.size()};
    }

    host_testing::ProgramFolder program;
    host_testing::ScriptedUi ui;
    host::PluginRegistry registry{program.path(), ui};
    host::BufferPool pool;
    Lines log;
};

// Each step converts the last step's output; a failed step is heard of before the next step
// asks for its table, and its input passes on.
TEST_F(ApplyChainTest, StepsComposeInOrderAndFailuresPassTheirBytesOn) {
    const auto outcome = Apply(ChainOf({"Failing 0", "Upper 0", "Table 0", "Failing 0"}), "ab");
    EXPECT_TRUE(outcome.converted);
    EXPECT_EQ(Text(outcome), "AB[t.tbl]");
    EXPECT_EQ(outcome.failedSteps, (std::vector<std::size_t>{0, 3}));
    EXPECT_EQ(log, (Lines{"table Failing 0", "failed Failing 0", "table Upper 0",
                          "table Table 0 wanted", "table Failing 0", "failed Failing 0"}));
    EXPECT_FALSE(outcome.newName);
}

// The name is the last converting step's, each heard of as the step converts; steps with
// nothing to do (an empty input) give none.
TEST_F(ApplyChainTest, TheLastConvertingRenamingStepNamesTheResult) {
    const auto chain = ChainOf({"RenameOne 0", "RenameTwo 0", "Upper 0"});
    std::vector<std::optional<std::string>> names;
    for (const host::CarriedName& name : host::NamesGivenBy(chain, "/o/a.txt")) {
        EXPECT_FALSE(name.lost);
        names.push_back(name.path);
    }
    EXPECT_EQ(names,
              (std::vector<std::optional<std::string>>{"/o/a.one", "/o/a.two", std::nullopt}));
    const auto outcome = Apply(chain, "x");
    EXPECT_EQ(outcome.newName, "/o/a.two");
    EXPECT_EQ(Text(outcome), "X");
    EXPECT_EQ(log, (Lines{"table RenameOne 0", "renamed /o/a.one", "table RenameTwo 0",
                          "renamed /o/a.two", "table Upper 0"}));

    log.clear();
    const auto empty = Apply(chain, "");
    EXPECT_FALSE(empty.converted);
    EXPECT_FALSE(empty.newName);
    EXPECT_EQ(log, (Lines{"table RenameOne 0", "table RenameTwo 0", "table Upper 0"}));
}

TEST_F(ApplyChainTest, NothingConvertsWithoutSteps) {
    const auto outcome = Apply({}, "abc");
    EXPECT_FALSE(outcome.converted);
    EXPECT_TRUE(outcome.failedSteps.empty());
    EXPECT_TRUE(log.empty());
}

}  // namespace
