#include "host/win32/window_text.h"

#include "platform/text_encoding.h"
#include "platform/win32/wide_text.h"

namespace win32gui {

std::wstring Wide(std::string_view utf8) {
    if (auto exact = platform::win32::WideFromUtf8(utf8)) {
        return std::move(*exact);
    }
    std::wstring wide(utf8.size(), L'\0');
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                             wide.data(), static_cast<int>(wide.size()));
    wide.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return wide;
}

std::wstring WideDisplay(const host::DisplayText& text) {
    return Wide(text.utf8());
}

std::wstring WideFromCp932(std::string_view cp932) {
    return Wide(platform::Cp932ToUtf8(cp932));
}

std::string Utf8(std::wstring_view wide) {
    return platform::win32::Utf8FromWide(wide);
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring ItemText(HWND dialog, int id) {
    return WindowText(::GetDlgItem(dialog, id));
}

void SetItemText(HWND dialog, int id, std::string_view utf8) {
    ::SetDlgItemTextW(dialog, id, Wide(utf8).c_str());
}

}  // namespace win32gui
