// How the main window shows the workbench: the three lists, the options and the fields. The
// file list sorts itself, so each item carries its place in the workbench's list.
#include <algorithm>

#include "host/layout/main_dialog.h"
#include "host/win32/list_extent.h"
#include "host/win32/main_window.h"
#include "host/win32/window_text.h"

namespace win32gui {
namespace {
namespace id = layout::main_control;

// Refills `list` without drawing each step.
template <typename Fill>
void Refill(HWND list, Fill fill) {
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
    fill();
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
}

LRESULT AddItem(HWND list, const std::wstring& text) {
    return ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace

void MainWindow::ShowAll() {
    ShowFiles();
    ShowFunctions();
    ShowChain();
    ShowOptions();
}

void MainWindow::ShowFiles() {
    HWND list = Control(id::kFileList);
    Refill(list, [&] {
        const std::vector<std::string>& paths = workbench_->files().paths();
        for (std::size_t i = 0; i < paths.size(); ++i) {
            const LRESULT item = AddItem(list, Wide(paths[i]));
            ::SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(item), static_cast<LPARAM>(i));
        }
    });
    RefreshHorizontalExtent(list, 0);
}

void MainWindow::ShowFunctions() {
    HWND list = Control(id::kFunctionList);
    const LRESULT current = ::SendMessageW(list, LB_GETCURSEL, 0, 0);
    const LRESULT top = ::SendMessageW(list, LB_GETTOPINDEX, 0, 0);
    Refill(list, [&] {
        for (const host::FunctionListItem& function : workbench_->functions()) {
            AddItem(list, WideFromCp932(function.title));
        }
        ::SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(std::max<LRESULT>(top, 0)), 0);
        ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(current), 0);
    });
    RefreshHorizontalExtent(list, CheckList::CheckWidth());
}

void MainWindow::ShowChain(std::optional<std::size_t> selected) {
    HWND list = Control(id::kChainList);
    Refill(list, [&] {
        for (const host::ChainEntry& entry : workbench_->chain()) {
            AddItem(list, WideFromCp932(entry.title));
        }
        if (selected) {
            ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(*selected), 0);
        }
    });
    RefreshHorizontalExtent(list, 0);
}

void MainWindow::ShowOptions() {
    const host::RunOptions& options = workbench_->options();
    SetItemText(dialog_, id::kOutputField, options.outputFolder);
    SetItemText(dialog_, id::kTableField, options.tablePath);
    ::CheckDlgButton(dialog_, id::kOverWriteBox, options.overWrite ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(dialog_, id::kNoOutputBox, options.noOutput ? BST_CHECKED : BST_UNCHECKED);
}

std::vector<std::size_t> MainWindow::SelectedFiles() const {
    HWND list = Control(id::kFileList);
    const LRESULT count = ::SendMessageW(list, LB_GETSELCOUNT, 0, 0);
    std::vector<int> items(static_cast<std::size_t>(std::max<LRESULT>(count, 0)));
    if (!items.empty()) {
        ::SendMessageW(list, LB_GETSELITEMS, items.size(), reinterpret_cast<LPARAM>(items.data()));
    }
    std::vector<std::size_t> rows;
    for (int item : items) {
        rows.push_back(static_cast<std::size_t>(
            ::SendMessageW(list, LB_GETITEMDATA, static_cast<WPARAM>(item), 0)));
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::optional<std::size_t> MainWindow::FileAtCaret() const {
    HWND list = Control(id::kFileList);
    const LRESULT item = ::SendMessageW(list, LB_GETCARETINDEX, 0, 0);
    if (item == LB_ERR || ::SendMessageW(list, LB_GETCOUNT, 0, 0) == 0) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(
        ::SendMessageW(list, LB_GETITEMDATA, static_cast<WPARAM>(item), 0));
}

std::optional<std::size_t> MainWindow::SelectedChainRow() const {
    const LRESULT item = ::SendMessageW(Control(id::kChainList), LB_GETCURSEL, 0, 0);
    if (item == LB_ERR) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(item);
}

}  // namespace win32gui
