#include "host/win32/modal_dialog.h"

#include "host/win32/window_text.h"

namespace win32gui {

std::wstring FieldLines(std::string_view utf8) {
    const std::wstring text = Wide(utf8);
    std::wstring lines;
    lines.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' || text[i] == L'\n') {
            lines += L"\r\n";
            if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') {
                ++i;
            }
        } else {
            lines += text[i];
        }
    }
    return lines;
}

}  // namespace win32gui
