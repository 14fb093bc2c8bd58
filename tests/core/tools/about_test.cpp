// The About texts and the read-me command.
#include <gtest/gtest.h>

#include <regex>

#include "host/core/tools/about_text.h"
#include "scripted_ui.h"
#include "support/temp_folder.h"

namespace {

using host_testing::ScriptedUi;
using testing_support::TempFolder;

TEST(About, BuildStampHasTheDateAndTimeForms) {
    const std::string stamp = host::BuildStamp();
    EXPECT_TRUE(std::regex_match(
        stamp, std::regex("Build: (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) "
                          "[ 1-3][0-9] [0-9]{4} @ [0-2][0-9]:[0-5][0-9]:[0-6][0-9]")))
        << stamp;
}

TEST(About, TextHasOnePluginPerLineAndNothingWithoutPlugins) {
    const std::string head = "Polyshift\n" + host::BuildStamp() + "\nVer.1.0.0.5\n";
    EXPECT_EQ(host::AboutText(""), head);
    EXPECT_EQ(host::AboutText("a.so v.1.0.0.2\r\nb.so v.1.2.3.4\r\n"),
              head + "a.so v.1.0.0.2\nb.so v.1.2.3.4\n");
}

TEST(Readme, IsNamedAfterTheExecutable) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"/usr/lib/polyshift/polyshift", "/usr/lib/polyshift/polyshift.htm"},
        {"/opt/tools.d/tool", "/opt/tools.d/tool.htm"},
        {"/opt/tool.exe", "/opt/tool.htm"},
        {"/opt/tool.v2.bin", "/opt/tool.v2.htm"},
    };
    for (const auto& [executable, readme] : cases) {
        EXPECT_EQ(host::ReadmePath(executable), readme);
    }
}

TEST(Readme, OpensTheDocumentOrReportsItsFullPath) {
    TempFolder folder;
    ScriptedUi ui;
    const std::string executable = folder.Path("tool");
    std::vector<std::string> opened;
    auto open = [&](const std::string& path) {
        opened.push_back(path);
        return true;
    };

    EXPECT_FALSE(host::OpenReadme(ui, executable, open));
    const std::string message = "'" + folder.Path("tool.htm") + "' が見つかりません。";
    EXPECT_EQ(ui.log, (std::vector<std::string>{"box 16 エラー: " + message, "status " + message}));
    EXPECT_TRUE(opened.empty());

    ui.log.clear();
    folder.Write("tool.htm", "<html></html>");
    EXPECT_TRUE(host::OpenReadme(ui, executable, open));
    EXPECT_EQ(opened, std::vector<std::string>{folder.Path("tool.htm")});
    EXPECT_TRUE(ui.log.empty());

    // There, but nothing opens it: the document is not called missing.
    EXPECT_FALSE(host::OpenReadme(ui, executable, [](const std::string&) { return false; }));
    const std::string noViewer =
        "'" + folder.Path("tool.htm") + "' を開くプログラムが見つかりません。";
    EXPECT_EQ(ui.log,
              (std::vector<std::string>{"box 16 エラー: " + noViewer, "status " + noViewer}));
}

}  // namespace
