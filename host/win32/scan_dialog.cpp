// The character scan's dialog: the range options, the scan button and the report field.
#include <memory>
#include <type_traits>

#include "host/core/tools/character_scan.h"
#include "host/layout/tool_dialogs.h"
#include "host/win32/modal_dialog.h"
#include "host/win32/tool_dialogs.h"

namespace win32gui {
namespace {

namespace id = layout::scan_control;

// A fixed-pitch face that has the Japanese characters the report quotes.
constexpr const wchar_t* kResultFace = L"ＭＳ ゴシック";
constexpr int kResultPoints = 14;

struct FontDeleter {
    void operator()(HFONT font) const { ::DeleteObject(font); }
};
using FontHandle = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

FontHandle ResultFont(HWND dialog) {
    HDC screen = ::GetDC(dialog);
    const int height = -::MulDiv(kResultPoints, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
    ::ReleaseDC(dialog, screen);
    return FontHandle(::CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                    SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                    DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, kResultFace));
}

class ScanDialog {
  public:
    ScanDialog(host::UserInterface& ui, const std::vector<std::string>& paths)
        : ui_(ui), paths_(paths) {}

    INT_PTR Handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
        (void)lParam;
        if (message == WM_INITDIALOG) {
            Open(dialog);
            return TRUE;
        }
        if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) {
            return FALSE;
        }
        switch (LOWORD(wParam)) {
            case id::kScanButton:
                Scan(dialog);
                return TRUE;
            case IDCANCEL:  // the close button, Esc and the close box
                ::EndDialog(dialog, IDCANCEL);
                return TRUE;
            default:
                return FALSE;
        }
    }

  private:
    void Open(HWND dialog) {
        for (int box : {id::kKanaBox, id::kSpecialBox, id::kExtendedBox, id::kUserAreaBox}) {
            ::CheckDlgButton(dialog, box, BST_CHECKED);
        }
        ::CheckDlgButton(dialog, id::kUnifyBreaksBox, BST_UNCHECKED);
        // The report of many files may well pass the field's usual limit of what can be typed.
        ::SendDlgItemMessageW(dialog, id::kResult, EM_SETLIMITTEXT, 0, 0);
        font_ = ResultFont(dialog);
        if (font_) {
            ::SendDlgItemMessageW(dialog, id::kResult, WM_SETFONT,
                                  reinterpret_cast<WPARAM>(font_.get()), TRUE);
        }
    }

    host::ScanOptions Options(HWND dialog) const {
        auto on = [dialog](int box) { return ::IsDlgButtonChecked(dialog, box) == BST_CHECKED; };
        host::ScanOptions options;
        options.halfWidthKana = on(id::kKanaBox);
        options.specialRows = on(id::kSpecialBox);
        options.extendedArea = on(id::kExtendedBox);
        options.userArea = on(id::kUserAreaBox);
        options.unifyLineBreaks = on(id::kUnifyBreaksBox);
        return options;
    }

    void Scan(HWND dialog) {
        const host::ScanReport report = host::ScanFiles(ui_, paths_, Options(dialog));
        if (report.ran) {
            ::SetDlgItemTextW(dialog, id::kResult, FieldLines(report.text.utf8()).c_str());
        }
    }

    host::UserInterface& ui_;
    const std::vector<std::string>& paths_;
    // Outlives the field: released once the dialog and its controls are gone.
    FontHandle font_;
};

}  // namespace

void ShowCharacterScan(HWND owner, host::UserInterface& ui, const std::vector<std::string>& paths) {
    ScanDialog dialog(ui, paths);
    RunModalDialog(owner, layout::kScanDialog.resourceId, dialog);
}

}  // namespace win32gui
