// "変換結果のプレビュー" in the Windows window as a user drives it: the Tools item opens it
// on the first file, both sides are named by their form, the next changed line and the next
// file are a click away, the view paints a screen of a long file, and nothing is written.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "host/layout/main_menu.h"
#include "host/layout/tool_dialogs.h"
#include "host/win32/compare_view.h"
#include "host/win32/window_text.h"
#include "support/temp_folder.h"
#include "window_driver.h"

namespace window_test {
namespace {

namespace id = layout::preview_control;
namespace command = layout::command;
using testing_support::TempFolder;

class PreviewWindowTest : public testing::Test {
  protected:
    win32gui::StartUp StartUp(std::vector<std::string> paths) const {
        return {folder_.Path("polyshift.exe"), testing_support::NativePath(POLYSHIFT_BIN_DIR),
                folder_.Path("polyshift.ini"), std::move(paths)};
    }
    std::map<std::string, std::string> Files() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(folder_.Path("in"))) {
            files[entry.path().string()] = testing_support::ReadFile(entry.path().string());
        }
        return files;
    }

    TempFolder folder_;
};

void TickFunction(const WindowDriver& window, const std::string& titleUtf8) {
    const std::vector<std::wstring> items =
        window.ListItems(layout::main_control::kFunctionList);
    const auto found = std::find(items.begin(), items.end(), win32gui::Wide(titleUtf8));
    ASSERT_NE(found, items.end()) << titleUtf8;
    window.ToggleFunction(static_cast<int>(found - items.begin()));
}

// Waits until the dialog shows what the chain made of file `number` (1-based).
bool WaitForFile(HWND dialog, int number) {
    const std::wstring mark = L"（" + std::to_wstring(number) + L"/";
    for (int i = 0; i < 400; ++i) {
        const std::wstring summary = TextOf(::GetDlgItem(dialog, id::kSummary));
        if (summary.find(mark) != std::wstring::npos &&
            summary.find(L"変換中") == std::wstring::npos) {
            return true;
        }
        std::this_thread::sleep_for(50ms);
    }
    return false;
}

template <class Condition>
bool WaitFor(Condition condition) {
    for (int i = 0; i < 200 && !condition(); ++i) std::this_thread::sleep_for(25ms);
    return condition();
}

TEST_F(PreviewWindowTest, ShowsBothSidesStepsThroughChangesAndFilesAndWritesNothing) {
    const std::string first = folder_.Write("in/a.txt", "\x93\xFA\x96\x7B\r\n\xB6\xC5\r\n");
    std::string lines;
    for (int i = 0; i < 100000; ++i) lines += "line " + std::to_string(i) + "\r\n";
    folder_.Write("in/b.txt", lines);
    const auto before = Files();
    WindowDriver window(StartUp({folder_.Path("in")}));
    TickFunction(window, "改行をLF(UNIX)に変換");

    window.PostCommand(command::kConversionPreview);
    HWND dialog = window.WaitForWindow(L"変換結果のプレビュー");
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(WaitForFile(dialog, 1));
    EXPECT_EQ(TextOf(::GetDlgItem(dialog, id::kBeforeLabel)), L"変換前: Shift JIS");
    EXPECT_EQ(TextOf(::GetDlgItem(dialog, id::kAfterLabel)), L"変換後: Shift JIS");
    EXPECT_EQ(TextOf(::GetDlgItem(dialog, id::kSummary)),
              win32gui::Wide(first) + L"（1/2）  変更された行: 2");

    HWND view = ::GetDlgItem(dialog, id::kView);
    EXPECT_FALSE(win32gui::CompareCurrentRow(view));
    Press(dialog, id::kNextChange);
    EXPECT_TRUE(WaitFor([&] { return win32gui::CompareCurrentRow(view) == 0u; }));
    Press(dialog, id::kNextChange);
    EXPECT_TRUE(WaitFor([&] { return win32gui::CompareCurrentRow(view) == 1u; }));

    // The next file: a hundred thousand lines, of which the view paints a screen.
    Press(dialog, id::kNextFile);
    ASSERT_TRUE(WaitForFile(dialog, 2));
    EXPECT_EQ(TextOf(::GetDlgItem(dialog, id::kBeforeLabel)), L"変換前: ASCII");
    ::RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(WaitFor([&] { return win32gui::ComparePaintedRows(view) > 10; }));
    EXPECT_LT(win32gui::ComparePaintedRows(view), 200);
    ::PostMessageW(view, WM_KEYDOWN, VK_END, 0);
    EXPECT_TRUE(WaitFor([&] { return win32gui::CompareTopRow(view) > 99000; }));

    Press(dialog, IDCANCEL);
    ASSERT_TRUE(WindowDriver::WaitUntilGone(dialog));
    EXPECT_EQ(Files(), before);
}

TEST_F(PreviewWindowTest, AnEmptyListOpensNoPreview) {
    WindowDriver window(StartUp({}));
    window.PostCommand(command::kConversionPreview);
    HWND box = window.WaitForWindow(L"エラー");
    ASSERT_NE(box, nullptr);
    bool said = false;
    for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        said = said || TextOf(child) == L"プレビューするファイルがリストにありません。";
    }
    EXPECT_TRUE(said);
    Press(box, IDOK);
    EXPECT_TRUE(WindowDriver::WaitUntilGone(box));
}

// The text of cell (row, column) of a list view of the window's thread.
std::wstring CellText(HWND list, int row, int column) {
    wchar_t text[512] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 512;
    ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

std::vector<std::wstring> Column(HWND list, int column) {
    std::vector<std::wstring> cells;
    const auto rows = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) cells.push_back(CellText(list, row, column));
    return cells;
}

// A click on the header of `column`, as the list view tells its dialog.
void ClickHeader(HWND dialog, HWND list, int column) {
    NMLISTVIEW click{};
    click.hdr.hwndFrom = list;
    click.hdr.idFrom = layout::info_control::kTable;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = column;
    ::SendMessageW(dialog, WM_NOTIFY, layout::info_control::kTable,
                   reinterpret_cast<LPARAM>(&click));
}

TEST_F(PreviewWindowTest, FileInformationHasARowAFileAndSortsByAnyColumn) {
    folder_.Write("in/big.txt", std::string(10, 'x'));
    folder_.Write("in/euc.txt", "\xC6\xFC\xCB\xDC\xB8\xEC\n");
    folder_.Write("in/small.txt", std::string(9, 'y'));
    WindowDriver window(StartUp({folder_.Path("in")}));
    window.PostCommand(command::kFileInfo);
    HWND dialog = window.WaitForWindow(L"文字コードの判定");
    ASSERT_NE(dialog, nullptr);
    HWND list = ::GetDlgItem(dialog, layout::info_control::kTable);
    HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
    EXPECT_EQ(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 12);
    // In list order until a header is clicked.
    EXPECT_EQ(Column(list, 1), (std::vector<std::wstring>{L"ASCII", L"EUC-JP", L"ASCII"}));
    EXPECT_EQ(TextOf(::GetDlgItem(dialog, layout::info_control::kSummary)), L"ファイル数: 3");
    ClickHeader(dialog, list, 11);
    EXPECT_EQ(Column(list, 11), (std::vector<std::wstring>{L"7", L"9", L"10"}));
    ClickHeader(dialog, list, 11);
    EXPECT_EQ(Column(list, 11), (std::vector<std::wstring>{L"10", L"9", L"7"}));
    ClickHeader(dialog, list, 0);
    EXPECT_NE(Column(list, 0)[0].find(L"big.txt"), std::wstring::npos);
    Press(dialog, IDCANCEL);
    EXPECT_TRUE(WindowDriver::WaitUntilGone(dialog));
}

}  // namespace
}  // namespace window_test
