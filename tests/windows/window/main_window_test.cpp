// The main window as a user meets it: its dialog and menus as the layout data has them, the
// files of the command line, the check marks and the chain, the keys, the settings kept from
// one start to the next, a run that holds the window, and the tools' dialogs.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include <shlobj.h>

#include "host/core/settings/settings.h"
#include "host/layout/all_dialogs.h"
#include "host/layout/main_menu.h"
#include "host/win32/window_text.h"
#include "layout_check.h"
#include "support/temp_folder.h"
#include "window_driver.h"

namespace window_test {
namespace {

namespace id = layout::main_control;
namespace command = layout::command;
using testing_support::TempFolder;

class MainWindowTest : public testing::Test {
protected:
    win32gui::StartUp StartUp(std::vector<std::string> paths = {}) const {
        return {folder_.Path("polyshift.exe"),
                testing_support::NativePath(POLYSHIFT_BIN_DIR), folder_.Path("polyshift.ini"),
                std::move(paths)};
    }
    std::string Ini() const {
        return std::filesystem::exists(folder_.Path("polyshift.ini"))
                   ? testing_support::ReadFile(folder_.Path("polyshift.ini"))
                   : std::string();
    }

    TempFolder folder_;
};

std::wstring MenuText(HMENU menu, UINT position) {
    wchar_t text[256] = {};
    ::GetMenuStringW(menu, position, text, 256, MF_BYPOSITION);
    return text;
}

TEST_F(MainWindowTest, ShowsTheMainDialogAndMenusOfTheLayout) {
    WindowDriver window(StartUp());
    ExpectMatchesLayout(window.main(), layout::kMainDialog);

    HMENU bar = ::GetMenu(window.main());
    ASSERT_EQ(::GetMenuItemCount(bar), static_cast<int>(layout::kMainMenu.menus.size()));
    for (UINT m = 0; m < layout::kMainMenu.menus.size(); ++m) {
        const layout::Menu& menu = layout::kMainMenu.menus[m];
        EXPECT_EQ(MenuText(bar, m), win32gui::Wide(menu.title));
        HMENU items = ::GetSubMenu(bar, static_cast<int>(m));
        ASSERT_EQ(::GetMenuItemCount(items), static_cast<int>(menu.items.size()));
        for (UINT i = 0; i < menu.items.size(); ++i) {
            const layout::MenuItem& item = menu.items[i];
            SCOPED_TRACE(item.separator() ? "separator" : item.text);
            if (item.separator()) {
                EXPECT_NE(::GetMenuState(items, i, MF_BYPOSITION) & MF_SEPARATOR, 0u);
                continue;
            }
            EXPECT_EQ(MenuText(items, i), win32gui::Wide(item.text));
            EXPECT_EQ(::GetMenuItemID(items, static_cast<int>(i)),
                      static_cast<UINT>(item.commandId));
            // Every item can be chosen; the regular-expression tool's needs rulebook, which
            // the build has.
            EXPECT_EQ(::GetMenuState(items, i, MF_BYPOSITION) & MF_GRAYED, 0u);
        }
    }

    HMENU system = ::GetSystemMenu(window.main(), FALSE);
    const int last = ::GetMenuItemCount(system) - 1;
    EXPECT_EQ(::GetMenuItemID(system, last), static_cast<UINT>(layout::kSystemMenuAbout.commandId));
    EXPECT_EQ(MenuText(system, static_cast<UINT>(last)),
              win32gui::Wide(layout::kSystemMenuAbout.text));
    EXPECT_NE(::GetMenuState(system, static_cast<UINT>(last - 1), MF_BYPOSITION) & MF_SEPARATOR,
              0u);
}

TEST_F(MainWindowTest, StartsWithTheFilesOfTheCommandLineSorted) {
    const std::string b = folder_.Write("in/b.txt", "b");
    folder_.Write("in/sub/A.txt", "a");
    folder_.Write("in/sub/deeper/c.txt", "c");
    WindowDriver window(StartUp({b, folder_.Path("in/sub"), folder_.Path("missing.txt")}));
    const std::vector<std::wstring> expected = {
        win32gui::Wide(folder_.Path("in/b.txt")), win32gui::Wide(folder_.Path("in/sub/A.txt")),
        win32gui::Wide(folder_.Path("in/sub/deeper/c.txt"))};
    EXPECT_EQ(window.ListItems(id::kFileList), expected);
    EXPECT_EQ(TextOf(window.Item(id::kStatusLine)), L"");
}

TEST_F(MainWindowTest, CheckMarksBuildTheChainAndTheArrowsOrderIt) {
    WindowDriver window(StartUp());
    const std::vector<std::wstring> functions = window.ListItems(id::kFunctionList);
    ASSERT_GE(functions.size(), 3u);
    window.ToggleFunction(0);
    window.ToggleFunction(2);
    EXPECT_EQ(window.ListItems(id::kChainList),
              (std::vector<std::wstring>{functions[0], functions[2]}));

    ::SendMessageW(window.Item(id::kChainList), LB_SETCURSEL, 1, 0);
    window.Command(id::kUpButton, BN_CLICKED);
    EXPECT_EQ(window.ListItems(id::kChainList),
              (std::vector<std::wstring>{functions[2], functions[0]}));
    EXPECT_EQ(::SendMessageW(window.Item(id::kChainList), LB_GETCURSEL, 0, 0), 0);
    window.Command(id::kUpButton, BN_CLICKED);  // already first
    EXPECT_EQ(window.ListItems(id::kChainList)[0], functions[2]);

    // A double-click takes the entry out of the chain and its check mark off.
    window.Command(id::kChainList, LBN_DBLCLK);
    EXPECT_EQ(window.ListItems(id::kChainList), std::vector<std::wstring>{functions[0]});
    window.ToggleFunction(2);  // on again, at the end
    window.ToggleFunction(0);  // off
    EXPECT_EQ(window.ListItems(id::kChainList), std::vector<std::wstring>{functions[2]});
}

TEST_F(MainWindowTest, EnterDoesNothingEscClosesAndTheSettingsLastToTheNextStart) {
    {
        WindowDriver window(StartUp());
        ::SendMessageW(window.Item(id::kOverWriteBox), BM_CLICK, 0, 0);
        ::PostMessageW(window.Item(id::kFileList), WM_KEYDOWN, VK_RETURN, 0);
        std::this_thread::sleep_for(500ms);
        ASSERT_TRUE(::IsWindow(window.main()));
        ::PostMessageW(window.Item(id::kFileList), WM_KEYDOWN, VK_ESCAPE, 0);
        ASSERT_TRUE(window.WaitUntilClosed());
    }
    const std::string ini = Ini();
    EXPECT_NE(ini.find("OverWrite=1"), std::string::npos) << ini;
    EXPECT_NE(ini.find("NoOutput=0"), std::string::npos) << ini;
    const std::size_t placement = ini.find("Window=");
    ASSERT_NE(placement, std::string::npos) << ini;
    const std::string letters = ini.substr(placement + 7, ini.find_first_of("\r\n", placement) -
                                                              placement - 7);
    EXPECT_EQ(letters.size(), 88u);

    WindowDriver again(StartUp());
    EXPECT_EQ(::SendMessageW(again.Item(id::kOverWriteBox), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(::SendMessageW(again.Item(id::kNoOutputBox), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(MainWindowTest, ARunHoldsTheWindowUntilItEnds) {
    const std::string file = folder_.Write("in/a.txt", "a\n");
    WindowDriver window(StartUp({file}));
    window.ToggleFunction(0);
    window.PostCommand(id::kRunButton, BN_CLICKED);
    HWND question = window.WaitForWindow(L"確認");
    ASSERT_NE(question, nullptr);
    ::PostMessageW(window.main(), WM_CLOSE, 0, 0);
    ::PostMessageW(window.main(), WM_COMMAND, IDCANCEL, 0);
    std::this_thread::sleep_for(500ms);
    EXPECT_TRUE(::IsWindow(window.main()));
    Press(question, IDNO);
    ASSERT_TRUE(WindowDriver::WaitUntilGone(question));
    // Once the run has ended the window takes input and closes again.
    for (int i = 0; i < 100 && !::IsWindowEnabled(window.main()); ++i) {
        std::this_thread::sleep_for(50ms);
    }
    EXPECT_TRUE(::IsWindowEnabled(window.main()));
    ::PostMessageW(window.main(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(window.WaitUntilClosed());
}

// A drop of `paths` as the shell hands it to a window.
HDROP DropOf(const std::vector<std::string>& paths) {
    std::wstring names;
    for (const std::string& path : paths) {
        names += win32gui::Wide(path) + L'\0';
    }
    names += L'\0';
    HGLOBAL memory = ::GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(::GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::copy(names.begin(), names.end(), reinterpret_cast<wchar_t*>(drop + 1));
    ::GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

TEST_F(MainWindowTest, DroppedFoldersAddEveryFileBelowThemAndVanishedPathsNothing) {
    const std::string listed = folder_.Write("listed.txt", "x");
    WindowDriver window(StartUp({listed}));
    const std::string file = folder_.Write("drop/one.txt", "1");
    folder_.Write("drop/folder/two.txt", "2");
    folder_.Write("drop/folder/deep/three.txt", "3");
    ::SendMessageW(window.main(), WM_DROPFILES,
                   reinterpret_cast<WPARAM>(DropOf({folder_.Path("drop/folder"), file,
                                                    folder_.Path("drop/gone.txt")})),
                   0);
    const std::vector<std::wstring> expected = {
        win32gui::Wide(folder_.Path("drop/folder/deep/three.txt")),
        win32gui::Wide(folder_.Path("drop/folder/two.txt")),
        win32gui::Wide(folder_.Path("drop/one.txt")), win32gui::Wide(listed)};
    EXPECT_EQ(window.ListItems(id::kFileList), expected);

    // The list sorts itself; deleting goes by what is selected, not by where it stands.
    HWND list = window.Item(id::kFileList);
    ::SendMessageW(list, LB_SETSEL, TRUE, 1);
    ::SendMessageW(list, LB_SETSEL, TRUE, 3);
    window.Command(command::kDeleteFiles);
    EXPECT_EQ(window.ListItems(id::kFileList),
              (std::vector<std::wstring>{expected[0], expected[2]}));
}

TEST_F(MainWindowTest, TheWindowComesBackWhereItWasUnlessNoScreenShowsThatPlace) {
    const auto placeAt = [this](int left, int top) {
        host::WindowPlacement placement;
        placement.left = left;
        placement.top = top;
        placement.right = left + 600;
        placement.bottom = top + 500;
        std::ofstream(folder_.Path("polyshift.ini"), std::ios::binary)
            << "[Settings]\r\nWindow=" << host::EncodePlacement(placement.ToBytes()) << "\r\n";
    };
    const auto topLeft = [](HWND window) {
        RECT rect{};
        ::GetWindowRect(window, &rect);
        return std::pair{rect.left, rect.top};
    };
    placeAt(40, 30);
    {
        WindowDriver window(StartUp());
        EXPECT_EQ(topLeft(window.main()), std::pair(40L, 30L));
    }
    placeAt(-30000, 40);
    WindowDriver window(StartUp());
    const auto [left, top] = topLeft(window.main());
    EXPECT_GT(left, -100);
    EXPECT_GE(top, 0);
}

struct ToolDialog {
    int command;
    const layout::Dialog* dialog;
    int closeButton;
};

TEST_F(MainWindowTest, ToolDialogsOpenWithTheControlsOfTheLayout) {
    const std::string file = folder_.Write("in/README.TXT", "text");
    WindowDriver window(StartUp({file}));
    const ToolDialog tools[] = {
        {command::kCharacterScan, &layout::kScanDialog, IDCANCEL},
        {command::kLowerCaseNames, &layout::kLowercaseDialog, IDCANCEL},
        {command::kRegexConversion, &layout::kRegexDialog, IDCANCEL},
        {command::kConversionPreview, &layout::kPreviewDialog, IDCANCEL},
        {command::kFileInfo, &layout::kFileInfoDialog, IDCANCEL},
        {command::kAbout, &layout::kAboutDialog, IDOK},
    };
    for (const ToolDialog& tool : tools) {
        SCOPED_TRACE(tool.dialog->title);
        window.PostCommand(tool.command);
        HWND dialog = window.WaitForWindow(win32gui::Wide(tool.dialog->title));
        ASSERT_NE(dialog, nullptr);
        ExpectMatchesLayout(dialog, *tool.dialog);
        Press(dialog, tool.closeButton);
        ASSERT_TRUE(WindowDriver::WaitUntilGone(dialog));
    }
    // The system menu's item opens the About box too, with every plug-in's version.
    ::PostMessageW(window.main(), WM_SYSCOMMAND, layout::kSystemMenuAbout.commandId, 0);
    HWND about = window.WaitForWindow(win32gui::Wide(layout::kAboutDialog.title));
    ASSERT_NE(about, nullptr);
    const std::wstring versions =
        TextOf(::GetDlgItem(about, layout::about_control::kPluginVersions));
    EXPECT_NE(versions.find(L"rulebook.dll v."), std::wstring::npos) << win32gui::Utf8(versions);
    EXPECT_EQ(TextOf(::GetDlgItem(about, layout::about_control::kBuildStamp)).rfind(L"Build: ", 0),
              0u);
    // The name, stamp and version show whole, however wide the font draws them.
    for (HWND label = ::GetWindow(about, GW_CHILD); label != nullptr;
         label = ::GetWindow(label, GW_HWNDNEXT)) {
        const std::wstring text = TextOf(label);
        if (text.empty() || text.find(L'\n') != std::wstring::npos) {
            continue;
        }
        HDC dc = ::GetDC(label);
        const HGDIOBJ previous = ::SelectObject(
            dc, reinterpret_cast<HFONT>(::SendMessageW(label, WM_GETFONT, 0, 0)));
        SIZE size{};
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        ::SelectObject(dc, previous);
        ::ReleaseDC(label, dc);
        RECT rect{};
        ::GetWindowRect(label, &rect);
        EXPECT_GE(rect.right - rect.left, size.cx) << win32gui::Utf8(text);
    }
    Press(about, IDOK);
    EXPECT_TRUE(WindowDriver::WaitUntilGone(about));
    // Nothing was renamed: the lower-casing was cancelled.
    EXPECT_EQ(window.ListItems(id::kFileList), std::vector<std::wstring>{win32gui::Wide(file)});
}

}  // namespace
}  // namespace window_test
