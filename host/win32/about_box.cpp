// The About box: the program's icon, its build stamp and the plug-ins' versions.
#include "host/core/tools/about_text.h"
#include "host/layout/about_dialog.h"
#include "host/win32/modal_dialog.h"
#include "host/win32/static_text.h"
#include "host/win32/tool_dialogs.h"
#include "host/win32/window_text.h"

namespace win32gui {
namespace {

namespace id = layout::about_control;

bool IsIcon(HWND control) {
    return (::GetWindowLongPtrW(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
}

// The box's icon control: the static that shows an icon (it has no id of its own).
HWND IconControl(HWND dialog) {
    for (HWND control : StaticControls(dialog)) {
        if (IsIcon(control)) {
            return control;
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

// The name, build stamp and version are never cut off, whatever the font draws them as.
void WidenLabels(HWND dialog) {
    for (HWND control : StaticControls(dialog)) {
        if (!IsIcon(control)) {
            WidenToFitText(control);
        }
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
            WidenLabels(dialog);
            // OK has the focus, not the versions, which would show all selected.
            ::SetFocus(::GetDlgItem(dialog, IDOK));
            return FALSE;
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
