// The plug-in registry over folders of real and test-only plug-ins.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>

#include "host/core/plugins/plugin_registry.h"
#include "host_fixture.h"
#include "scripted_ui.h"

namespace {

using host_testing::Library;
using host_testing::ProgramFolder;
using host_testing::ScriptedUi;

std::vector<std::string> Titles(const host::PluginRegistry& registry) {
    std::vector<std::string> titles;
    for (const auto& item : registry.functionList()) {
        titles.push_back(item.title + " #" + std::to_string(item.entry->functionIndex));
    }
    return titles;
}

TEST(Registry, EmptyFolderGivesNoFunctionsAndKeepsTheWorkingDirectory) {
    ProgramFolder program;
    ScriptedUi ui;
    const auto before = std::filesystem::current_path();
    host::PluginRegistry registry(program.path(), ui);
    registry.ScanPlugins();
    registry.FillFunctionList();
    EXPECT_TRUE(registry.functionList().empty());
    EXPECT_EQ(registry.pluginVersionText(), "");
    EXPECT_TRUE(ui.log.empty());
    EXPECT_EQ(std::filesystem::current_path(), before);
}

TEST(Registry, MissingFolderIsCreatedSilently) {
    ProgramFolder program;
    std::filesystem::remove_all(program.pluginFolder());
    ScriptedUi ui;
    host::PluginRegistry registry(program.path(), ui);
    registry.ScanPlugins();
    registry.FillFunctionList();
    EXPECT_TRUE(std::filesystem::is_directory(program.pluginFolder()));
    EXPECT_TRUE(registry.functionList().empty());
    EXPECT_TRUE(ui.log.empty());
}

TEST(Registry, ListsPluginsInNameOrderAndFunctionsInIndexOrder) {
    ProgramFolder program;
    program.AddTestPlugin("tp_beta");
    program.AddTestPlugin("tp_alpha");
    program.AddTestPlugin("tp_empty");
    program.AddRealPlugin("eolfix");
    ScriptedUi ui;
    host::PluginRegistry registry(program.path(), ui);
    registry.ScanPlugins();
    registry.FillFunctionList();
    EXPECT_EQ(registry.pluginVersionText(),
              Library("eolfix") + " v.1.0.0.2\r\n" + Library("tp_alpha") + " v.1.2.3.4\r\n" +
                  Library("tp_beta") + " v.1.0.0.0\r\n" + Library("tp_empty") +
                  " v.255.0.0.0\r\n");
    const auto titles = Titles(registry);
    ASSERT_EQ(titles.size(), 6u);
    EXPECT_EQ(titles[3], "Alpha 0 #0");
    EXPECT_EQ(titles[4], "Alpha 1 #1");
    EXPECT_EQ(titles[5], "Beta 0 #0");
    EXPECT_EQ(registry.functionList()[5].pluginFileName, Library("tp_beta"));
    EXPECT_TRUE(ui.log.empty());
}

TEST(Registry, LibraryWithoutVersionStaysLoadedButIsReportedOnEveryFill) {
    ProgramFolder program;
    program.AddTestPlugin("tp_noversion");
    program.AddTestPlugin("tp_beta");
    ScriptedUi ui;
    host::PluginRegistry registry(program.path(), ui);
    registry.ScanPlugins();
    EXPECT_EQ(registry.pluginHandles().size(), 2u);
    EXPECT_EQ(registry.pluginVersionText(), Library("tp_beta") + " v.1.0.0.0\r\n");
    registry.FillFunctionList();
    registry.FillFunctionList();
    EXPECT_EQ(Titles(registry), std::vector<std::string>{"Beta 0 #0"});
    const auto boxes = ui.Only("box");
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].rfind("box 16 エラー: ", 0), 0u) << boxes[0];
    EXPECT_NE(boxes[0].find("_XfmGetVersion@0"), std::string::npos) << boxes[0];
    EXPECT_EQ(ui.Only("status").size(), 2u);
}

TEST(Registry, FilesThatAreNotLibrariesAreSkippedWithoutMessage) {
    ProgramFolder program;
    program.AddJunk(Library("broken"));
    program.AddJunk("notes.txt");
#ifndef _WIN32  // Windows keeps no named pipes in folders
    // Loading a named pipe would wait for a writer forever.
    ASSERT_EQ(::mkfifo((program.pluginFolder() + "/pipe.so").c_str(), 0600), 0);
#endif
    program.AddTestPlugin("tp_beta");
    ScriptedUi ui;
    host::PluginRegistry registry(program.path(), ui);
    registry.ScanPlugins();
    registry.FillFunctionList();
    EXPECT_EQ(registry.pluginHandles().size(), 1u);
    EXPECT_EQ(Titles(registry), std::vector<std::string>{"Beta 0 #0"});
    EXPECT_TRUE(ui.log.empty());
}

TEST(Registry, ReloadAfterTheFolderWasEmptiedLeavesNothingAndEmptiesTheChain) {
    ProgramFolder program;
    program.AddTestPlugin("tp_alpha");
    ScriptedUi ui;
    host::PluginRegistry registry(program.path(), ui);
    registry.ScanPlugins();
    registry.FillFunctionList();
    host::Chain chain{{registry.functionList()[0].title, registry.functionList()[0].entry.get()}};
    // Moved out of the folder: Windows deletes no library that is loaded, but moves one.
    std::filesystem::rename(program.pluginFolder() + "/" + Library("tp_alpha"),
                            program.path() + "/" + Library("tp_alpha"));
    registry.ReloadPlugins(chain);
    EXPECT_TRUE(chain.empty());
    EXPECT_TRUE(registry.functionList().empty());
    EXPECT_TRUE(registry.pluginHandles().empty());
    EXPECT_EQ(registry.pluginVersionText(), "");
    // The reload also renews the tool's rulebook handle, which is missing here.
    EXPECT_FALSE(registry.regexToolAvailable());
}

TEST(Registry, RegexToolHandleIsLoadedApartAndReportsAMissingLibrary) {
    ProgramFolder program;
    ScriptedUi ui;
    host::PluginRegistry registry(program.path(), ui);
    registry.LoadRegexPlugin();
    EXPECT_EQ(registry.rulebookHandle(), nullptr);
    EXPECT_FALSE(registry.regexToolAvailable());
    ASSERT_EQ(ui.log.size(), 2u);
    EXPECT_EQ(ui.log[0].rfind("box 16 エラー: ", 0), 0u);
    EXPECT_EQ(ui.log[1].rfind("status ", 0), 0u);

    program.AddTestPlugin("tp_beta", Library("rulebook"));
    ui.log.clear();
    registry.LoadRegexPlugin();
    EXPECT_NE(registry.rulebookHandle(), nullptr);
    EXPECT_TRUE(registry.regexToolAvailable());
    EXPECT_TRUE(ui.log.empty());
    registry.ScanPlugins();
    EXPECT_EQ(registry.pluginHandles().size(), 1u);
    registry.FreeRegexPlugin();
    EXPECT_EQ(registry.rulebookHandle(), nullptr);
}

TEST(Registry, VersionWordsReadHighByteFirst) {
    EXPECT_EQ(host::VersionString(0x01020304u), "v.1.2.3.4");
    EXPECT_EQ(host::VersionString(0xFF000000u), "v.255.0.0.0");
    EXPECT_EQ(host::VersionString(0x01000003u), "v.1.0.0.3");
}

}  // namespace
