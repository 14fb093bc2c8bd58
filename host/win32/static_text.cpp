#include "host/win32/static_text.h"

#include <string>
#include <string_view>

#include "host/layout/text_columns.h"
#include "host/win32/window_text.h"

namespace win32gui {
namespace {

// A device context of `window` with the window's font selected, for measuring its text.
class FontContext {
public:
    explicit FontContext(HWND window)
        : window_(window), dc_(::GetDC(window)),
          previous_(::SelectObject(
              dc_, reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0)))) {}
    FontContext(const FontContext&) = delete;
    FontContext& operator=(const FontContext&) = delete;
    ~FontContext() {
        ::SelectObject(dc_, previous_);
        ::ReleaseDC(window_, dc_);
    }
    HDC dc() const { return dc_; }
    int Width(std::wstring_view text) const {
        SIZE size{};
        ::GetTextExtentPoint32W(dc_, text.data(), static_cast<int>(text.size()), &size);
        return size.cx;
    }

private:
    HWND window_;
    HDC dc_;
    HGDIOBJ previous_;
};

// The tab stop distance in pixels at which the columns of `text` line up in `dc`'s font.
int TabDistance(const FontContext& font, const std::wstring& text) {
    const std::string utf8 = Utf8(text);
    const auto distance = layout::AligningTabDistance(
        utf8, [&font](std::string_view piece) { return font.Width(Wide(piece)); },
        font.Width(L"\x3000"));  // a full-width space between the columns
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(font.dc(), &metrics);
    return distance.value_or(8 * metrics.tmAveCharWidth);  // the system's own tab stops
}

}  // namespace

void WidenToFitText(HWND label) {
    const FontContext font(label);
    const int needed = font.Width(WindowText(label));
    RECT rect{};
    ::GetWindowRect(label, &rect);
    if (needed > rect.right - rect.left) {
        ::SetWindowPos(label, nullptr, 0, 0, needed, rect.bottom - rect.top,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

bool IsCheckOrRadio(HWND control) {
    wchar_t className[16] = {};
    ::GetClassNameW(control, className, 16);
    if (::lstrcmpiW(className, L"Button") != 0) {
        return false;
    }
    switch (::GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK) {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            return true;
        default:
            return false;
    }
}

void WidenChoicesToFitText(HWND dialog) {
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!IsCheckOrRadio(child)) {
            continue;
        }
        const FontContext font(child);
        const std::wstring text = WindowText(child);
        RECT textRect{};
        // Measured as the button draws it: "&" marks the access key and takes no room.
        ::DrawTextW(font.dc(), text.c_str(), static_cast<int>(text.size()), &textRect,
                    DT_CALCRECT | DT_SINGLELINE);
        TEXTMETRICW metrics{};
        ::GetTextMetricsW(font.dc(), &metrics);
        // The box, then a gap of about a character before the text.
        const int needed = ::GetSystemMetrics(SM_CXMENUCHECK) + metrics.tmAveCharWidth +
                           (textRect.right - textRect.left);
        RECT rect{};
        ::GetWindowRect(child, &rect);
        if (needed > rect.right - rect.left) {
            ::SetWindowPos(child, nullptr, 0, 0, needed, rect.bottom - rect.top,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
}

std::vector<HWND> StaticControls(HWND dialog) {
    std::vector<HWND> statics;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[16] = {};
        ::GetClassNameW(child, className, 16);
        if (::lstrcmpiW(className, L"Static") == 0) {
            statics.push_back(child);
        }
    }
    return statics;
}

HWND FirstTabbedText(HWND dialog) {
    for (HWND label : StaticControls(dialog)) {
        if (WindowText(label).find(L'\t') != std::wstring::npos) {
            return label;
        }
    }
    return nullptr;
}

void DrawInColumns(HWND label) {
    const LONG_PTR style = ::GetWindowLongPtrW(label, GWL_STYLE);
    ::SetWindowLongPtrW(label, GWL_STYLE, (style & ~SS_TYPEMASK) | SS_OWNERDRAW);
    ::InvalidateRect(label, nullptr, TRUE);
}

void DrawColumns(const DRAWITEMSTRUCT& item) {
    const FontContext font(item.hwndItem);
    const std::wstring text = WindowText(item.hwndItem);
    int tabStop = TabDistance(font, text);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(font.dc(), &metrics);

    const HGDIOBJ previous = ::SelectObject(item.hDC, ::GetCurrentObject(font.dc(), OBJ_FONT));
    ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(COLOR_BTNFACE));
    ::SetBkMode(item.hDC, TRANSPARENT);
    ::SetTextColor(item.hDC, ::GetSysColor(COLOR_BTNTEXT));
    int y = item.rcItem.top;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find(L'\n', start), text.size());
        std::wstring_view line(text.data() + start, end - start);
        if (!line.empty() && line.back() == L'\r') {
            line.remove_suffix(1);
        }
        ::TabbedTextOutW(item.hDC, item.rcItem.left, y, line.data(), static_cast<int>(line.size()),
                         1, &tabStop, item.rcItem.left);
        y += metrics.tmHeight;
        start = end + 1;
    }
    ::SelectObject(item.hDC, previous);
}

}  // namespace win32gui
