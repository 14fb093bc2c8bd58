// Running a dialog resource modally with an object of ours behind it: the object gets every
// message from WM_INITDIALOG on through its Handle method, which answers as a dialog
// procedure does (TRUE when it handled the message). Every such dialog's check boxes and
// radio buttons grow to their whole text once the object has set the dialog up.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "host/win32/static_text.h"

namespace win32gui {

namespace detail {
template <class Handler>
INT_PTR CALLBACK ModalDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    }
    auto* handler = reinterpret_cast<Handler*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    const INT_PTR handled = handler != nullptr ? handler->Handle(dialog, message, wParam, lParam)
                                               : FALSE;
    if (message == WM_INITDIALOG) {
        WidenChoicesToFitText(dialog);
    }
    return handled;
}
}  // namespace detail

// Shows dialog resource `resourceId` on `owner` until EndDialog; what EndDialog was given, or
// -1 when the dialog could not be made.
template <class Handler>
INT_PTR RunModalDialog(HWND owner, int resourceId, Handler& handler) {
    return ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId), owner,
                             &detail::ModalDialogProc<Handler>, reinterpret_cast<LPARAM>(&handler));
}

// `utf8` for a multi-line field: every line break (CR LF, lone LF, lone CR) as CR LF.
std::wstring FieldLines(std::string_view utf8);

}  // namespace win32gui
