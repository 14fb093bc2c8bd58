// The function list: an owner-drawn list box with a check box before each item. A click on an
// item's check box, or the space bar on the item at the caret, toggles it: the list makes the
// item the selected one and tells its owner with the notification kCheckToggled; the owner
// keeps the check marks and says which are on through the callback given to Attach.
#pragma once

#include <windows.h>

#include <functional>

namespace win32gui {

class CheckList {
public:
    // The WM_COMMAND notification code of a toggled check mark.
    static constexpr WORD kCheckToggled = 0x0100;

    // Takes over the list box `list` (a child of a dialog); `isChecked` tells whether an item
    // is checked when it is drawn.
    void Attach(HWND list, std::function<bool(int item)> isChecked);

    // The dialog's WM_MEASUREITEM and WM_DRAWITEM for the list. WM_MEASUREITEM comes while
    // the dialog is created, before anything is attached, so it needs only the dialog.
    static void Measure(HWND dialog, MEASUREITEMSTRUCT& item);
    void Draw(const DRAWITEMSTRUCT& item) const;

    // The width the check box takes before each item's text.
    static int CheckWidth();
    // Toggles `item` as a click on its check box does.
    void Toggle(int item);

private:
    static LRESULT CALLBACK Procedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR self);
    bool OnCheckBox(LPARAM point, int& item) const;

    HWND list_ = nullptr;
    std::function<bool(int)> isChecked_;
};

}  // namespace win32gui
