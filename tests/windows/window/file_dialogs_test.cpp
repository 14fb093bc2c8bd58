// The system's file and folder dialogs as the main window opens them: their titles and the
// filters the user reads, a file chosen by typing its path, and what a dialog that lets several
// files be chosen hands back.
#include <gtest/gtest.h>

#include <windows.h>

#include <dlgs.h>

#include "host/layout/file_dialogs.h"
#include "host/layout/main_dialog.h"
#include "host/layout/main_menu.h"
#include "host/win32/file_dialogs.h"
#include "host/win32/window_text.h"
#include "support/temp_folder.h"
#include "window_driver.h"

namespace window_test {
namespace {

namespace id = layout::main_control;
namespace command = layout::command;
using testing_support::TempFolder;

TEST(ChosenPaths, OnePathOrAFolderWithItsNames) {
    using win32gui::ChosenPaths;
    using Paths = std::vector<std::wstring>;
    EXPECT_EQ(ChosenPaths(std::wstring(L"C:\\in\\a.txt\0\0", 14)), Paths{L"C:\\in\\a.txt"});
    EXPECT_EQ(ChosenPaths(std::wstring(L"C:\\in\0a.txt\0b c.txt\0\0", 22)),
              (Paths{L"C:\\in\\a.txt", L"C:\\in\\b c.txt"}));
    // A folder at the root of a drive ends in its separator already.
    EXPECT_EQ(ChosenPaths(std::wstring(L"C:\\\0a.txt\0b.txt\0\0", 17)),
              (Paths{L"C:\\a.txt", L"C:\\b.txt"}));
    EXPECT_EQ(ChosenPaths(std::wstring(L"\0\0", 2)), Paths{});
}

std::vector<std::wstring> FilterLabels(HWND dialog) {
    HWND types = ::GetDlgItem(dialog, cmb1);
    std::vector<std::wstring> labels;
    const LRESULT count = ::SendMessageW(types, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring label(static_cast<std::size_t>(::SendMessageW(types, CB_GETLBTEXTLEN, i, 0)) + 1,
                           L'\0');
        label.resize(static_cast<std::size_t>(
            ::SendMessageW(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(label.data()))));
        labels.push_back(label);
    }
    return labels;
}

std::vector<std::wstring> LabelsOf(const layout::FileDialog& dialog) {
    std::vector<std::wstring> labels;
    for (const layout::FileFilter& filter : dialog.filters) {
        labels.push_back(win32gui::Wide(filter.label));
    }
    return labels;
}

TEST(FileDialogs, OpenWithTheirTitlesAndFiltersAndTakeATypedPath) {
    const TempFolder folder;
    const std::string table = folder.Write("table.tbl", "a\tb\r\n");
    WindowDriver window({folder.Path("polyshift.exe"), testing_support::NativePath(POLYSHIFT_BIN_DIR),
                         folder.Path("polyshift.ini"), {}});

    window.PostCommand(command::kAddFiles);
    HWND add = window.WaitForWindow(win32gui::Wide(layout::kAddFilesDialog.title));
    ASSERT_NE(add, nullptr);
    EXPECT_EQ(FilterLabels(add), LabelsOf(layout::kAddFilesDialog));
    Press(add, IDCANCEL);
    ASSERT_TRUE(WindowDriver::WaitUntilGone(add));

    window.PostCommand(command::kLoadSettingsList);
    HWND load = window.WaitForWindow();
    ASSERT_NE(load, nullptr);
    EXPECT_EQ(FilterLabels(load), LabelsOf(layout::kSettingsListDialog));
    Press(load, IDCANCEL);
    ASSERT_TRUE(WindowDriver::WaitUntilGone(load));

    window.PostCommand(id::kTableButton, BN_CLICKED);
    HWND choose = window.WaitForWindow(win32gui::Wide(layout::kTableDialog.title));
    ASSERT_NE(choose, nullptr);
    EXPECT_EQ(FilterLabels(choose), LabelsOf(layout::kTableDialog));
    HWND name = ::GetDlgItem(choose, cmb13) != nullptr ? ::GetDlgItem(choose, cmb13)
                                                        : ::GetDlgItem(choose, edt1);
    ::SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(win32gui::Wide(table).c_str()));
    Press(choose, IDOK);
    ASSERT_TRUE(WindowDriver::WaitUntilGone(choose));
    EXPECT_EQ(TextOf(window.Item(id::kTableField)), win32gui::Wide(table));

    window.PostCommand(id::kOutputButton, BN_CLICKED);
    HWND browser = window.WaitForWindow();
    ASSERT_NE(browser, nullptr);
    const std::wstring before = TextOf(window.Item(id::kOutputField));
    Press(browser, IDCANCEL);
    ASSERT_TRUE(WindowDriver::WaitUntilGone(browser));
    EXPECT_EQ(TextOf(window.Item(id::kOutputField)), before);  // cancelled: unchanged
}

}  // namespace
}  // namespace window_test
