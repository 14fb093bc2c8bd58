#include "host/win32/check_list.h"

#include <commctrl.h>
#include <windowsx.h>

#include <string>

namespace win32gui {
namespace {

constexpr int kCheckMargin = 2;  // pixels around the check box

}  // namespace

int CheckList::CheckWidth() {
    return ::GetSystemMetrics(SM_CXMENUCHECK) + 2 * kCheckMargin;
}

void CheckList::Attach(HWND list, std::function<bool(int)> isChecked) {
    list_ = list;
    isChecked_ = std::move(isChecked);
    ::SetWindowSubclass(list_, Procedure, 1, reinterpret_cast<DWORD_PTR>(this));
}

void CheckList::Measure(HWND dialog, MEASUREITEMSTRUCT& item) {
    HDC dc = ::GetDC(dialog);
    const HGDIOBJ previous =
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(dialog, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    ::SelectObject(dc, previous);
    ::ReleaseDC(dialog, dc);
    const int checkHeight = ::GetSystemMetrics(SM_CYMENUCHECK) + kCheckMargin;
    item.itemHeight = static_cast<UINT>(std::max<int>(metrics.tmHeight + 2, checkHeight));
}

void CheckList::Draw(const DRAWITEMSTRUCT& item) const {
    if (item.itemID == static_cast<UINT>(-1)) {
        return;
    }
    const int index = static_cast<int>(item.itemID);
    RECT check = item.rcItem;
    check.left += kCheckMargin;
    check.right = check.left + ::GetSystemMetrics(SM_CXMENUCHECK);
    const int height = ::GetSystemMetrics(SM_CYMENUCHECK);
    check.top += (item.rcItem.bottom - item.rcItem.top - height) / 2;
    check.bottom = check.top + height;
    ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(COLOR_WINDOW));
    ::DrawFrameControl(item.hDC, &check, DFC_BUTTON,
                       DFCS_BUTTONCHECK | (isChecked_ && isChecked_(index) ? DFCS_CHECKED : 0));

    RECT text = item.rcItem;
    text.left += CheckWidth();
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    ::FillRect(item.hDC, &text, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    ::SetBkMode(item.hDC, TRANSPARENT);
    ::SetTextColor(item.hDC, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    std::wstring title(static_cast<std::size_t>(
                           ::SendMessageW(item.hwndItem, LB_GETTEXTLEN, item.itemID, 0)) + 1,
                       L'\0');
    title.resize(static_cast<std::size_t>(::SendMessageW(
        item.hwndItem, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(title.data()))));
    text.left += 1;
    ::DrawTextW(item.hDC, title.c_str(), static_cast<int>(title.size()), &text,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if ((item.itemState & ODS_FOCUS) != 0) {
        text.left -= 1;
        ::DrawFocusRect(item.hDC, &text);
    }
}

void CheckList::Toggle(int item) {
    if (item < 0 || item >= static_cast<int>(::SendMessageW(list_, LB_GETCOUNT, 0, 0))) {
        return;
    }
    ::SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(item), 0);
    ::SendMessageW(::GetParent(list_), WM_COMMAND,
                   MAKEWPARAM(::GetDlgCtrlID(list_), kCheckToggled),
                   reinterpret_cast<LPARAM>(list_));
    RECT rect{};
    if (::SendMessageW(list_, LB_GETITEMRECT, static_cast<WPARAM>(item),
                       reinterpret_cast<LPARAM>(&rect)) != LB_ERR) {
        ::InvalidateRect(list_, &rect, FALSE);
    }
}

bool CheckList::OnCheckBox(LPARAM point, int& item) const {
    const LRESULT hit = ::SendMessageW(list_, LB_ITEMFROMPOINT, 0, point);
    if (HIWORD(hit) != 0) {
        return false;  // below the last item
    }
    item = LOWORD(hit);
    // The list scrolls sideways: the check box moves with the text.
    const int scrolled = ::GetScrollPos(list_, SB_HORZ);
    const int x = GET_X_LPARAM(point) + scrolled;
    return x >= 0 && x < CheckWidth();
}

LRESULT CALLBACK CheckList::Procedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR /*id*/, DWORD_PTR self) {
    auto& checkList = *reinterpret_cast<CheckList*>(self);
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            const LRESULT result = ::DefSubclassProc(list, message, wParam, lParam);
            int item = 0;
            if (checkList.OnCheckBox(lParam, item)) {
                checkList.Toggle(item);
            }
            return result;
        }
        case WM_KEYDOWN:
            if (wParam == VK_SPACE) {
                checkList.Toggle(static_cast<int>(::SendMessageW(list, LB_GETCARETINDEX, 0, 0)));
                return 0;
            }
            break;
        case WM_CHAR:
            if (wParam == L' ') {
                return 0;  // the key itself toggled the item
            }
            break;
        case WM_NCDESTROY:
            ::RemoveWindowSubclass(list, Procedure, 1);
            break;
        default:
            break;
    }
    return ::DefSubclassProc(list, message, wParam, lParam);
}

}  // namespace win32gui
