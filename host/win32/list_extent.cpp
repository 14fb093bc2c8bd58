#include "host/win32/list_extent.h"

#include <algorithm>
#include <string>

namespace win32gui {

void RefreshHorizontalExtent(HWND list, int extra) {
    HDC dc = ::GetDC(list);
    const HGDIOBJ previous =
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(list, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    int widest = 0;
    const LRESULT count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
    std::wstring text;
    for (LRESULT item = 0; item < count; ++item) {
        const auto index = static_cast<WPARAM>(item);
        text.assign(static_cast<std::size_t>(::SendMessageW(list, LB_GETTEXTLEN, index, 0)) + 1,
                    L'\0');
        text.resize(static_cast<std::size_t>(
            ::SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()))));
        SIZE size{};
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        widest = std::max<int>(widest, size.cx + metrics.tmAveCharWidth);
    }
    ::SelectObject(dc, previous);
    ::ReleaseDC(list, dc);
    ::SendMessageW(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(extra + widest), 0);
}

}  // namespace win32gui
