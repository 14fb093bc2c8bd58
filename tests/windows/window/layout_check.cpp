#include "layout_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/layout/about_dialog.h"
#include "host/win32/window_text.h"
#include "window_driver.h"

namespace window_test {
namespace {

using layout::ControlKind;

std::wstring ClassOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::kEtchedLine:
        case ControlKind::kText:
        case ControlKind::kIcon:
            return L"static";
        case ControlKind::kGroupBox:
        case ControlKind::kCheckBox:
        case ControlKind::kRadioButton:
        case ControlKind::kPushButton:
            return L"button";
        case ControlKind::kListBox:
        case ControlKind::kCheckListBox:
            return L"listbox";
        case ControlKind::kEdit:
            return L"edit";
        case ControlKind::kComboBox:
            return L"combobox";
        case ControlKind::kProgressBar:
            return L"msctls_progress32";
        case ControlKind::kCompareView:
            return L"polyshiftcompareview";
        case ControlKind::kTable:
            return L"syslistview32";
    }
    return {};
}

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) {
        c = static_cast<wchar_t>(::towlower(c));
    }
    return text;
}

// Controls whose text the layout fixes (fields show the options, the build stamp is replaced).
bool TextIsFixed(const layout::Control& control) {
    switch (control.kind) {
        case ControlKind::kEdit:
        case ControlKind::kComboBox:
        case ControlKind::kListBox:
        case ControlKind::kCheckListBox:
        case ControlKind::kProgressBar:
        case ControlKind::kIcon:
        case ControlKind::kCompareView:
        case ControlKind::kTable:
            return false;
        default:
            // An empty text is given when the dialog opens (the preview's labels).
            return control.id != layout::about_control::kBuildStamp && *control.text != '\0';
    }
}

std::vector<HWND> Children(HWND dialog) {
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

// What a check box or radio button needs to show its whole text: its box, the gap the system
// leaves after it (half a digit's width) and the text in its font.
int ChoiceWidthNeeded(HWND button) {
    HDC dc = ::GetDC(button);
    const HGDIOBJ previous =
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(button, WM_GETFONT, 0, 0)));
    const std::wstring text = TextOf(button);
    RECT rect{};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
                DT_CALCRECT | DT_SINGLELINE);
    INT digit = 0;
    ::GetCharWidth32W(dc, L'0', L'0', &digit);
    ::SelectObject(dc, previous);
    ::ReleaseDC(button, dc);
    return ::GetSystemMetrics(SM_CXMENUCHECK) + digit / 2 + (rect.right - rect.left);
}

void ExpectControl(HWND dialog, HWND child, const layout::Control& control) {
    const int id = ::GetDlgCtrlID(child);
    if (control.id == layout::kNoId) {
        EXPECT_TRUE(id == -1 || id == 0xFFFF) << id;
    } else {
        EXPECT_EQ(id, control.id);
        EXPECT_EQ(::GetDlgItem(dialog, control.id), child);
    }
    wchar_t className[64] = {};
    ::GetClassNameW(child, className, 64);
    EXPECT_EQ(Lower(className), ClassOf(control.kind));
    if (TextIsFixed(control)) {
        EXPECT_EQ(TextOf(child), win32gui::Wide(control.text));
    }
    // The dialog maps a control's place and size each on its own, as here.
    const layout::Rect units = layout::VisibleRect(control);
    RECT expected{units.left, units.top, units.width, units.height};
    ::MapDialogRect(dialog, &expected);
    expected.right += expected.left;
    expected.bottom += expected.top;
    RECT actual{};
    ::GetWindowRect(child, &actual);
    ::MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&actual), 2);
    EXPECT_EQ(actual.left, expected.left);
    EXPECT_EQ(actual.top, expected.top);
    // An icon takes the size of its image; Wine draws an etched line a little longer; a label,
    // check box or radio button whose text the font draws wider than its rectangle is
    // widened, never narrowed.
    if (control.kind == ControlKind::kText) {
        EXPECT_GE(actual.right, expected.right);
    } else if (control.kind == ControlKind::kCheckBox ||
               control.kind == ControlKind::kRadioButton) {
        EXPECT_GE(actual.right, expected.right);
        EXPECT_GE(actual.right - actual.left, ChoiceWidthNeeded(child))
            << win32gui::Utf8(TextOf(child));
    } else if (control.kind != ControlKind::kIcon && control.kind != ControlKind::kEtchedLine) {
        EXPECT_EQ(actual.right, expected.right);
    }
    if (control.kind != ControlKind::kIcon && control.kind != ControlKind::kComboBox) {
        EXPECT_EQ(actual.bottom, expected.bottom);
    }
}

}  // namespace

void ExpectMatchesLayout(HWND dialog, const layout::Dialog& layout) {
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(TextOf(dialog), win32gui::Wide(layout.title));
    RECT expected{0, 0, layout.width, layout.height};
    ::MapDialogRect(dialog, &expected);
    RECT client{};
    ::GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, expected.right);
    EXPECT_EQ(client.bottom, expected.bottom);
    const std::vector<HWND> children = Children(dialog);
    ASSERT_EQ(children.size(), layout.controls.size()) << win32gui::Utf8(TextOf(dialog));
    for (std::size_t i = 0; i < children.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "control " << i << " (" << layout.controls[i].text
                                        << ", id " << layout.controls[i].id << ")");
        ExpectControl(dialog, children[i], layout.controls[i]);
    }
}

}  // namespace window_test
