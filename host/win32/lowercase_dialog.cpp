// The file-name lower-casing's dialog: which files to rename.
#include "host/layout/tool_dialogs.h"
#include "host/win32/modal_dialog.h"
#include "host/win32/tool_dialogs.h"

namespace win32gui {
namespace {

namespace id = layout::lowercase_control;

class LowercaseDialog {
  public:
    INT_PTR Handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
        (void)lParam;
        if (message == WM_INITDIALOG) {
            ::CheckRadioButton(dialog, id::kAllFiles, id::kUpperName, id::kAllFiles);
            return TRUE;
        }
        if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) {
            return FALSE;
        }
        switch (LOWORD(wParam)) {
            case IDOK:
                selection_ = Chosen(dialog);
                ::EndDialog(dialog, IDOK);
                return TRUE;
            case IDCANCEL:
                ::EndDialog(dialog, IDCANCEL);
                return TRUE;
            default:
                return FALSE;
        }
    }

    const std::optional<host::LowercaseSelection>& selection() const { return selection_; }

  private:
    static host::LowercaseSelection Chosen(HWND dialog) {
        if (::IsDlgButtonChecked(dialog, id::kUpperExtension) == BST_CHECKED) {
            return host::LowercaseSelection::kUpperExtension;
        }
        if (::IsDlgButtonChecked(dialog, id::kUpperName) == BST_CHECKED) {
            return host::LowercaseSelection::kUpperName;
        }
        return host::LowercaseSelection::kAllFiles;
    }

    std::optional<host::LowercaseSelection> selection_;
};

}  // namespace

std::optional<host::LowercaseSelection> AskLowercaseSelection(HWND owner) {
    LowercaseDialog dialog;
    RunModalDialog(owner, layout::kLowercaseDialog.resourceId, dialog);
    return dialog.selection();
}

}  // namespace win32gui
