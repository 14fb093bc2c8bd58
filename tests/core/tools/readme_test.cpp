// The read-me shipped beside the program: a UTF-8 HTML document that says its charset and
// describes every function of every shipped plug-in and every command of polyshift-cli.
#include <gtest/gtest.h>

#include <filesystem>

#include "host/core/plugins/plugin_registry.h"
#include "platform/text_encoding.h"
#include "platform/utf16.h"
#include "scripted_ui.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

TEST(ReadmeDocument, IsBesideTheProgramAndCoversEveryFunction) {
    const fs::path readme = POLYSHIFT_README;
    ASSERT_TRUE(fs::exists(readme));
    const std::string text = testing_support::ReadFile(readme);
    EXPECT_EQ(platform::Utf16ToUtf8(platform::Utf8ToUtf16(text)), text) << "not valid UTF-8";
    EXPECT_NE(text.find("<meta charset=\"UTF-8\">"), std::string::npos);

    host_testing::ScriptedUi ui;
    host::PluginRegistry registry(fs::path(POLYSHIFT_PLUGIN_DIR).parent_path().string(), ui);
    registry.ScanPlugins();
    registry.FillFunctionList();
    EXPECT_GE(registry.functionList().size(), 33u);
    for (const auto& item : registry.functionList()) {
        const std::string title = platform::Cp932ToUtf8(item.title);
        EXPECT_NE(text.find("<td>" + title + "</td>"), std::string::npos) << title;
    }
    for (const char* command : {"list", "run", "save", "scan", "lower", "regex", "about"}) {
        EXPECT_NE(text.find(std::string("polyshift-cli ") + command), std::string::npos) << command;
    }
}

}  // namespace
