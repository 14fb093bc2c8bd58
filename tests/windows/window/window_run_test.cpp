// Every example through the window's own commands: its files on the command line, its chain
// ticked in the function list, its table and output folder in the ini file, the run button,
// the questions answered as a user who goes on would. The results must be those of
// polyshift-cli.exe, byte for byte. And a table picked when the run asks for one.
#include <gtest/gtest.h>

#include <windows.h>

#include <dlgs.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "host/layout/file_dialogs.h"
#include "host/layout/main_dialog.h"
#include "host/win32/window_text.h"
#include "support/run_program.h"
#include "support/temp_folder.h"
#include "window_driver.h"

namespace window_test {
namespace {

namespace fs = std::filesystem;
namespace id = layout::main_control;
using testing_support::TempFolder;

struct Example {
    std::string table;                  // relative to the example's folder; empty for none
    std::vector<std::string> functions;  // "plugin:index"
    std::vector<std::string> inputs;     // relative to the example's folder
    std::vector<std::string> chainArguments;
};

Example ReadExample(const fs::path& folder) {
    Example example;
    std::ifstream chain(folder / "chain");
    for (std::string word; chain >> word;) {
        example.chainArguments.push_back(word);
        if (word == "-t" && chain >> word) {
            example.table = word;
            example.chainArguments.push_back(word);
        } else if (word == "-f" && chain >> word) {
            example.functions.push_back(word);
            example.chainArguments.push_back(word);
        }
    }
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string relative = fs::relative(entry.path(), folder).generic_string();
        if (entry.is_regular_file() && relative != "chain" && relative.rfind("tables/", 0) != 0) {
            example.inputs.push_back(relative);
        }
    }
    std::sort(example.inputs.begin(), example.inputs.end());
    return example;
}

std::string Cli() {
    return testing_support::NativePath(std::string(POLYSHIFT_BIN_DIR) + "/polyshift-cli.exe");
}

// "plugin:index" -> the function's title, as the command line lists them (UTF-8).
std::map<std::string, std::string> FunctionTitles() {
    const auto listed = testing_support::RunProgram(fs::current_path(), Cli(), {"list"});
    std::map<std::string, std::string> titles;
    std::istringstream lines(listed.out);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (const std::size_t tab = line.find('\t'); tab != std::string::npos) {
            titles[line.substr(0, tab)] = line.substr(tab + 1);
        }
    }
    return titles;
}

std::map<std::string, std::string> FilesBelow(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files[fs::relative(entry.path(), folder).generic_string()] =
                testing_support::ReadFile(entry.path());
        }
    }
    return files;
}

// Answers the run's boxes until its final report; the texts of any other box.
std::vector<std::wstring> AnswerTheRun(const WindowDriver& window) {
    std::vector<std::wstring> others;
    for (;;) {
        HWND box = window.WaitForWindow();
        if (box == nullptr) {
            ADD_FAILURE() << "the run did not end";
            return others;
        }
        const std::wstring title = TextOf(box);
        const bool last = title == L"処理終了";
        if (title != L"確認" && !last) {
            others.push_back(title);
        }
        Press(box, ::GetDlgItem(box, IDYES) != nullptr ? IDYES : IDOK);
        WindowDriver::WaitUntilGone(box);
        if (last) {
            return others;
        }
    }
}

TEST(WindowRunTest, ConvertsEveryExampleAsTheCommandLineDoes) {
    const std::map<std::string, std::string> titles = FunctionTitles();
    ASSERT_FALSE(titles.empty());
    const TempFolder work;
    std::size_t compared = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(POLYSHIFT_SOURCE_DIR) / "examples")) {
        if (!fs::exists(entry.path() / "chain")) {
            continue;
        }
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        const Example example = ReadExample(entry.path());
        const fs::path cliOut = work.path() / "cli" / name;
        const fs::path windowOut = work.path() / "window" / name;
        fs::create_directories(cliOut);
        fs::create_directories(windowOut);

        std::vector<std::string> arguments = {"run", "-y", "-o", cliOut.string()};
        arguments.insert(arguments.end(), example.chainArguments.begin(),
                         example.chainArguments.end());
        arguments.insert(arguments.end(), example.inputs.begin(), example.inputs.end());
        testing_support::RunProgram(entry.path(), Cli(), arguments);

        const std::string ini = work.Path("window-" + name + ".ini");
        std::ofstream(ini, std::ios::binary)
            << "[Settings]\r\nOutputFolder=" << windowOut.string() << "\r\nTablePath="
            << (example.table.empty() ? std::string()
                                      : testing_support::NativePath((entry.path() / example.table).string()))
            << "\r\nOverWrite=0\r\nNoOutput=0\r\n";
        std::vector<std::string> inputs;
        for (const std::string& input : example.inputs) {
            inputs.push_back(testing_support::NativePath((entry.path() / input).string()));
        }
        WindowDriver window({work.Path("polyshift.exe"),
                             testing_support::NativePath(POLYSHIFT_BIN_DIR), ini, inputs});
        const std::vector<std::wstring> functions = window.ListItems(id::kFunctionList);
        for (const std::string& function : example.functions) {
            const auto item = std::find(functions.begin(), functions.end(),
                                        win32gui::Wide(titles.at(function)));
            ASSERT_NE(item, functions.end()) << function;
            window.ToggleFunction(static_cast<int>(item - functions.begin()));
        }
        window.PostCommand(id::kRunButton, BN_CLICKED);
        const std::vector<std::wstring> others = AnswerTheRun(window);
        EXPECT_TRUE(others.empty()) << win32gui::Utf8(others.front());

        const auto expected = FilesBelow(cliOut);
        EXPECT_FALSE(expected.empty());
        EXPECT_EQ(FilesBelow(windowOut), expected);
        ++compared;
    }
    EXPECT_GE(compared, 10u);
}

TEST(WindowRunTest, ATableChosenWhenTheRunAsksShowsInTheFieldAtOnce) {
    const std::map<std::string, std::string> titles = FunctionTitles();
    const TempFolder work;
    const std::string input = work.Write("in/a.txt", "a\r\n");
    const std::string table = work.Write("tables/strings.tbl", "a\tb\r\n");
    work.Write("out/.keep", "");
    const std::string ini = work.Path("polyshift.ini");
    std::ofstream(ini, std::ios::binary) << "[Settings]\r\nOutputFolder=" << work.Path("out")
                                         << "\r\nTablePath=\r\nOverWrite=0\r\nNoOutput=0\r\n";
    WindowDriver window({work.Path("polyshift.exe"), testing_support::NativePath(POLYSHIFT_BIN_DIR),
                         ini, {input}});
    const std::vector<std::wstring> functions = window.ListItems(id::kFunctionList);
    const auto strings =
        std::find(functions.begin(), functions.end(), win32gui::Wide(titles.at("rulebook:1")));
    ASSERT_NE(strings, functions.end());
    window.ToggleFunction(static_cast<int>(strings - functions.begin()));
    window.PostCommand(id::kRunButton, BN_CLICKED);

    HWND question = window.WaitForWindow(L"確認");
    ASSERT_NE(question, nullptr);
    Press(question, IDYES);
    ASSERT_TRUE(WindowDriver::WaitUntilGone(question));
    HWND choose = window.WaitForWindow(win32gui::Wide(layout::kTableDialog.title));
    ASSERT_NE(choose, nullptr);
    HWND name = ::GetDlgItem(choose, cmb13) != nullptr ? ::GetDlgItem(choose, cmb13)
                                                        : ::GetDlgItem(choose, edt1);
    ::SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(win32gui::Wide(table).c_str()));
    Press(choose, IDOK);
    ASSERT_TRUE(WindowDriver::WaitUntilGone(choose));

    // While the final report is still open, the field already shows the table.
    HWND finished = window.WaitForWindow(L"処理終了");
    ASSERT_NE(finished, nullptr);
    EXPECT_EQ(TextOf(window.Item(id::kTableField)), win32gui::Wide(table));
    Press(finished, IDOK);
    ASSERT_TRUE(WindowDriver::WaitUntilGone(finished));
    EXPECT_EQ(testing_support::ReadFile(work.Path("out/a.txt")), "b\r\n");
}

}  // namespace
}  // namespace window_test
