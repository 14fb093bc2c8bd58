// The About box: the program's icon, its build stamp and the plug-ins' versions.
#include "host/core/about_text.h"
#include "host/layout/about_dialog.h"
#include "host/win32/modal_dialog.h"
#include "host/win32/tool_dialogs.h"
#include "host/win32/window_text.h"

namespace win32gui {
namespace {

namespace id = layout::about_control;

// The box's icon control: the static that shows an icon (it has no id of its own).
HWND IconControl(HWND dialog) {
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[16] = {};
        ::GetClassNameW(child, className, 16);
        const LONG_PTR style = ::GetWindowLongPtrW(child, GWL_STYLE);
        if (::lstrcmpiW(className, L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON) {
            return child;
        }
    }
    return nullptr;
}

void ShowProgramIcon(HWND dialog) {
    HWND icon = IconControl(dialog);
    if (icon == nullptr || ::SendMessageW(icon, STM_GETICON, 0, 0) != 0) {
        return;
    }
    HICON program =
        ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(layout::kProgramIconId));
    if (program != nullptr) {
        ::SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(program), 0);
    }
}

class AboutBox {
  public:
    explicit AboutBox(const std::string& pluginVersionText) : versions_(pluginVersionText) {}

    INT_PTR Handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
        (void)lParam;
        if (message == WM_INITDIALOG) {
            ShowProgramIcon(dialog);
            SetItemText(dialog, id::kBuildStamp, host::BuildStamp());
            ::SetDlgItemTextW(dialog, id::kPluginVersions, FieldLines(versions_).c_str());
            return TRUE;
        }
        if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
            ::EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    }

  private:
    const std::string& versions_;
};

}  // namespace

void ShowAboutBox(HWND owner, const std::string& pluginVersionText) {
    AboutBox box(pluginVersionText);
    RunModalDialog(owner, layout::kAboutDialog.resourceId, box);
}

}  // namespace win32gui
