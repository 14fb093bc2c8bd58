// The regular-expression tool's command dialog: the command field, whose drop-down list offers
// the history, the examples, OK and Cancel. What is accepted and remembered is the core's
// RegexCommandEntry's to decide.
#include "host/core/settings/ini_regex_history.h"
#include "host/core/tools/regex_command_entry.h"
#include "host/layout/tool_dialogs.h"
#include "host/win32/modal_dialog.h"
#include "host/win32/static_text.h"
#include "host/win32/tool_dialogs.h"
#include "host/win32/window_text.h"

namespace win32gui {
namespace {

using layout::regex_control::kCommand;

// What the field takes from the keyboard; the core then holds the command to 260 bytes of
// Shift JIS, where a full-width character counts twice.
constexpr WPARAM kFieldCharacters = 260;

class RegexDialog {
  public:
    RegexDialog(host::RegexCommandEntry& entry, host::UserInterface& ui) : entry_(entry), ui_(ui) {}

    INT_PTR Handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG) {
            ::SendDlgItemMessageW(dialog, kCommand, CB_LIMITTEXT, kFieldCharacters, 0);
            if (HWND examples = FirstTabbedText(dialog)) {
                DrawInColumns(examples);
            }
            return TRUE;
        }
        if (message == WM_DRAWITEM) {
            DrawColumns(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        }
        if (message != WM_COMMAND) {
            return FALSE;
        }
        if (LOWORD(wParam) == kCommand && HIWORD(wParam) == CBN_DROPDOWN) {
            OfferHistory(::GetDlgItem(dialog, kCommand));
            return TRUE;
        }
        if (HIWORD(wParam) != BN_CLICKED) {
            return FALSE;
        }
        switch (LOWORD(wParam)) {
            case IDOK:
                Accept(dialog);
                return TRUE;
            case IDCANCEL:
                ::EndDialog(dialog, IDCANCEL);
                return TRUE;
            default:
                return FALSE;
        }
    }

    const std::optional<std::string>& command() const { return command_; }

  private:
    // The list is filled anew each time it opens, keeping what was typed.
    void OfferHistory(HWND combo) {
        if (entry_.history().front().empty()) {
            return;
        }
        const std::wstring typed = WindowText(combo);
        ::SendMessageW(combo, CB_RESETCONTENT, 0, 0);
        ::SetWindowTextW(combo, typed.c_str());
        for (const std::string& command : entry_.DropDownEntries()) {
            ::SendMessageW(combo, CB_ADDSTRING, 0,
                           reinterpret_cast<LPARAM>(WideFromCp932(command).c_str()));
        }
    }

    // A refused command leaves the dialog open; the core has said why.
    void Accept(HWND dialog) {
        std::optional<std::string> command =
            entry_.AcceptTyped(ui_, Utf8(ItemText(dialog, kCommand)));
        if (command) {
            command_ = std::move(command);
            ::EndDialog(dialog, IDOK);
        }
    }

    host::RegexCommandEntry& entry_;
    host::UserInterface& ui_;
    std::optional<std::string> command_;
};

}  // namespace

std::optional<std::string> AskRegexCommand(HWND owner, host::UserInterface& ui,
                                           const std::string& iniPath) {
    host::IniRegexHistoryStore store(iniPath);
    host::RegexCommandEntry entry(store);
    RegexDialog dialog(entry, ui);
    RunModalDialog(owner, layout::kRegexDialog.resourceId, dialog);
    entry.Close();
    return dialog.command();
}

}  // namespace win32gui
