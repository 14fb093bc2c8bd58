// "変換結果のプレビュー": the form of each side above it, both sides in the compare view, the
// file and what the chain did under them, and the steps to the next change and the next file.
// The preview's worker reports by a posted message, so the dialog keeps painting while a large
// file is worked on.
#include <memory>

#include "host/core/tools/tool_texts.h"
#include "host/core/workbench/conversion_preview.h"
#include "host/layout/tool_dialogs.h"
#include "host/win32/compare_view.h"
#include "host/win32/modal_dialog.h"
#include "host/win32/tool_dialogs.h"
#include "host/win32/window_text.h"

namespace win32gui {
namespace {

namespace id = layout::preview_control;

// Posted by the worker: a result is ready.
constexpr UINT kResultReady = WM_APP + 40;

class PreviewDialog {
  public:
    PreviewDialog(const PreviewRequest& request) : request_(request) {}

    INT_PTR Handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
        (void)lParam;
        switch (message) {
            case WM_INITDIALOG:
                Open(dialog);
                return TRUE;
            case kResultReady:
                ShowResult(dialog);
                return TRUE;
            case WM_COMMAND:
                if (HIWORD(wParam) == BN_CLICKED) {
                    return OnButton(dialog, LOWORD(wParam));
                }
                return FALSE;
            default:
                return FALSE;
        }
    }

    // After the dialog has closed: waits for the worker, which may be waiting itself for the
    // window to show a plug-in's box, so the window's messages go on meanwhile.
    void StopWorking() {
        if (!preview_) {
            return;
        }
        preview_->Stop();
        while (preview_->busy()) {
            MSG message;
            while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (message.message == WM_QUIT) {  // for the loop it was meant for
                    ::PostQuitMessage(static_cast<int>(message.wParam));
                    break;
                }
                ::TranslateMessage(&message);
                ::DispatchMessageW(&message);
            }
            ::Sleep(5);
        }
    }

  private:
    void Open(HWND dialog) {
        // The view shows the result that the dialog holds; the worker reports to the dialog.
        preview_ = std::make_unique<host::ConversionPreview>(
            request_.paths, request_.chain, request_.options,
            [dialog] { ::PostMessageW(dialog, kResultReady, 0, 0); });
        preview_->Show(request_.first);
        ShowWorking(dialog);
    }

    INT_PTR OnButton(HWND dialog, int button) {
        switch (button) {
            case id::kNextChange:
                if (!preview_->busy()) {
                    HWND view = ::GetDlgItem(dialog, id::kView);
                    if (const auto row = preview_->NextChangedRow(CompareCurrentRow(view))) {
                        SetCompareCurrentRow(view, *row);
                    }
                }
                return TRUE;
            case id::kNextFile:
                preview_->ShowNextFile();
                ShowWorking(dialog);
                return TRUE;
            case IDCANCEL:  // the close button, Esc and the close box
                // The view lets go of the result before the dialog does.
                SetCompareResult(::GetDlgItem(dialog, id::kView), nullptr);
                ::EndDialog(dialog, IDCANCEL);
                return TRUE;
            default:
                return FALSE;
        }
    }

    void ShowWorking(HWND dialog) {
        if (!preview_->busy()) {
            return;
        }
        ::EnableWindow(::GetDlgItem(dialog, id::kNextChange), FALSE);
        const std::size_t file = preview_->wanted().value_or(0);
        ::SetDlgItemTextW(dialog, id::kSummary,
                          WideDisplay(host::texts::PreviewFileOf(preview_->paths()[file], file + 1,
                                                                 preview_->fileCount()) +
                                      "  " + host::texts::kPreviewWorking)
                              .c_str());
    }

    void ShowResult(HWND dialog) {
        if (preview_->busy()) {
            return;  // a newer file is on its way
        }
        shown_ = preview_->result();
        if (!shown_) {
            return;
        }
        const auto set = [dialog](int control, const host::DisplayText& text) {
            ::SetDlgItemTextW(dialog, control, WideDisplay(text).c_str());
        };
        set(id::kBeforeLabel, host::SideLabel(*shown_, host::PreviewSide::kBefore));
        set(id::kAfterLabel, host::SideLabel(*shown_, host::PreviewSide::kAfter));
        set(id::kSummary, host::PreviewSummary(*shown_, preview_->fileCount()));
        ::EnableWindow(::GetDlgItem(dialog, id::kNextChange), !shown_->changedRows.empty());
        SetCompareResult(::GetDlgItem(dialog, id::kView), shown_.get());
    }

    const PreviewRequest& request_;
    std::shared_ptr<const host::PreviewResult> shown_;
    // Declared last: waits for its worker before the rest goes.
    std::unique_ptr<host::ConversionPreview> preview_;
};

}  // namespace

void ShowConversionPreview(HWND owner, const PreviewRequest& request) {
    RegisterCompareView();
    PreviewDialog dialog(request);
    RunModalDialog(owner, layout::kPreviewDialog.resourceId, dialog);
    dialog.StopWorking();
}

}  // namespace win32gui
