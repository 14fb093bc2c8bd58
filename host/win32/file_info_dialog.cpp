// "文字コードの判定": the file information of every listed file in a list view of report
// form, one row a file; a click on a column header sorts by it, a second click the other way.
#include <windows.h>

#include <commctrl.h>

#include "host/core/tools/cell_order.h"
#include "host/layout/tool_dialogs.h"
#include "host/win32/modal_dialog.h"
#include "host/win32/tool_dialogs.h"
#include "host/win32/window_text.h"

namespace win32gui {
namespace {

namespace id = layout::info_control;

class FileInfoDialog {
  public:
    explicit FileInfoDialog(const host::FileInfoRows& table) : table_(table) {}

    INT_PTR Handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
            case WM_INITDIALOG:
                Open(dialog);
                return TRUE;
            case WM_NOTIFY: {
                const auto* header = reinterpret_cast<const NMHDR*>(lParam);
                if (header->idFrom == id::kTable && header->code == LVN_COLUMNCLICK) {
                    const auto* click = reinterpret_cast<const NMLISTVIEW*>(lParam);
                    SortBy(dialog, click->iSubItem);
                    return TRUE;
                }
                return FALSE;
            }
            case WM_COMMAND:
                if (LOWORD(wParam) == IDCANCEL && HIWORD(wParam) == BN_CLICKED) {
                    ::EndDialog(dialog, IDCANCEL);  // the close button, Esc, the close box
                    return TRUE;
                }
                return FALSE;
            default:
                return FALSE;
        }
    }

  private:
    void Open(HWND dialog) {
        HWND list = ::GetDlgItem(dialog, id::kTable);
        ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                       LVS_EX_FULLROWSELECT);
        for (std::size_t column = 0; column < table_.headers.size(); ++column) {
            std::wstring header = Wide(table_.headers[column]);
            LVCOLUMNW info{};
            info.mask = LVCF_TEXT | LVCF_SUBITEM;
            info.pszText = header.data();
            info.iSubItem = static_cast<int>(column);
            ::SendMessageW(list, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&info));
        }
        for (std::size_t row = 0; row < table_.rows.size(); ++row) {
            for (std::size_t column = 0; column < table_.rows[row].size(); ++column) {
                std::wstring text = Wide(table_.rows[row][column]);
                LVITEMW item{};
                item.iItem = static_cast<int>(row);
                item.iSubItem = static_cast<int>(column);
                item.pszText = text.data();
                if (column == 0) {
                    item.mask = LVIF_TEXT | LVIF_PARAM;
                    item.lParam = static_cast<LPARAM>(row);  // the row's place in the list
                    ::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
                } else {
                    item.mask = LVIF_TEXT;
                    ::SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
                }
            }
        }
        for (std::size_t column = 0; column < table_.headers.size(); ++column) {
            ::SendMessageW(list, LVM_SETCOLUMNWIDTH, column, LVSCW_AUTOSIZE_USEHEADER);
        }
        ::SetDlgItemTextW(dialog, id::kSummary,
                          WideDisplay(host::FileInfoSummary(table_)).c_str());
    }

    struct SortOrder {
        const host::FileInfoRows* table;
        std::size_t column;
        bool ascending;
    };

    static int CALLBACK Compare(LPARAM first, LPARAM second, LPARAM context) {
        const auto& order = *reinterpret_cast<const SortOrder*>(context);
        const auto cell = [&order](LPARAM row) -> const std::string& {
            static const std::string kEmpty;
            const auto& cells = order.table->rows[static_cast<std::size_t>(row)];
            return order.column < cells.size() ? cells[order.column] : kEmpty;
        };
        const std::string& a = cell(order.ascending ? first : second);
        const std::string& b = cell(order.ascending ? second : first);
        if (host::CellLess(a, b)) return -1;
        if (host::CellLess(b, a)) return 1;
        return first < second ? -1 : first > second ? 1 : 0;  // equal rows keep list order
    }

    void SortBy(HWND dialog, int column) {
        const auto chosen = static_cast<std::size_t>(column);
        ascending_ = sortedBy_ == chosen ? !ascending_ : true;
        sortedBy_ = chosen;
        SortOrder order{&table_, chosen, ascending_};
        ::SendDlgItemMessageW(dialog, id::kTable, LVM_SORTITEMS,
                              reinterpret_cast<WPARAM>(&order),
                              reinterpret_cast<LPARAM>(&FileInfoDialog::Compare));
    }

    const host::FileInfoRows& table_;
    std::size_t sortedBy_ = static_cast<std::size_t>(-1);
    bool ascending_ = true;
};

}  // namespace

void ShowFileInfo(HWND owner, const host::FileInfoRows& table) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
    FileInfoDialog dialog(table);
    RunModalDialog(owner, layout::kFileInfoDialog.resourceId, dialog);
}

}  // namespace win32gui
