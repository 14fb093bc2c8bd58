// The shape of every dialog of the program, as plain data that needs no toolkit: a dialog has a
// resource id, a title, a size in dialog units, a font, a frame and its controls; a control has
// a numeric id, a kind, style flags, a text and a rectangle in dialog units. The flags say what
// a control must do (several items selectable, read-only, default button, ...), not how a
// toolkit spells it: each window maps them onto its own widgets.
#pragma once

#include <span>

namespace layout {

// Ids of controls that nobody addresses (the static texts, group boxes and lines).
inline constexpr int kNoId = -1;
// The buttons that accept and dismiss a dialog.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
// The program's icon, shown in the window's frame and in the About box.
inline constexpr int kProgramIconId = 128;

enum class ControlKind {
    kEtchedLine,   // a horizontal etched line
    kGroupBox,     // a frame with a title around other controls
    kText,         // static text
    kIcon,         // the program's icon
    kCheckBox,     // a check box that toggles itself
    kRadioButton,  // a radio button that selects itself
    kPushButton,
    kListBox,
    kCheckListBox,  // a list drawn by its owner with a check box before each item
    kEdit,          // a text field
    kComboBox,      // a field with a drop-down list
    kProgressBar,
    kCompareView,  // two texts side by side, drawn line by line by the program itself
    kTable,        // rows of cells under column headers; a click on a header sorts by it
};

// Style flags; which of them a kind heeds is told beside each.
using Styles = unsigned;
enum Style : Styles {
    kDefaultButton = 1u << 0,       // push button: Enter presses it
    kGroupStart = 1u << 1,          // the first of a group of radio buttons
    kNoPrefix = 1u << 2,            // text: "&" stands as it is and marks no access key
    kWordWrap = 1u << 3,            // text: a line too long for the rectangle wraps
    kReadOnly = 1u << 4,            // edit
    kMultiLine = 1u << 5,           // edit
    kBorder = 1u << 6,              // edit
    kVerticalScroll = 1u << 7,      // list boxes, edit, combo box
    kHorizontalScroll = 1u << 8,    // list boxes
    kScrollBarsAlways = 1u << 9,    // list box: its scroll bars show even with nothing to scroll
    kSorted = 1u << 10,             // list box: items in alphabetical order, ignoring case
    kExtendedSelection = 1u << 11,  // list box: several items selectable with Shift and Ctrl
    kNotify = 1u << 12,             // list boxes: tell their owner of double-clicks
    kEditable = 1u << 13,           // combo box: the user types into its field
};

struct Rect {
    int left, top, width, height;  // dialog units
};

struct Control {
    int id;  // kNoId for a control that nobody addresses
    ControlKind kind;
    const char* text;  // UTF-8; "&" marks the access key unless kNoPrefix is set
    Rect rect;
    Styles styles = 0;
    const char* name = nullptr;  // how the program finds a control that has no id
};

struct Font {
    const char* face;
    int points;
};
inline constexpr Font kDialogFont{"ＭＳ Ｐゴシック", 9};

enum class Frame {
    kMainWindow,  // fixed size, caption and system menu, shown in the taskbar
    kModal,       // modal frame with caption and system menu
};

inline constexpr int kNoMenu = 0;

struct Dialog {
    int resourceId;
    const char* title;
    int width, height;  // dialog units
    Font font;
    Frame frame;
    int menuId;  // kNoMenu for a dialog without a menu bar
    std::span<const Control> controls;
};

// A combo box's rectangle reaches down over its drop-down list; the field alone is this high
// (dialog units), and each line of the list takes the height of one line of text.
inline constexpr int kComboFieldHeight = 12;
inline constexpr int kListLineHeight = 8;

// The part of the dialog a control covers while nothing is dropped down.
constexpr Rect VisibleRect(const Control& control) {
    Rect rect = control.rect;
    if (control.kind == ControlKind::kComboBox && rect.height > kComboFieldHeight) {
        rect.height = kComboFieldHeight;
    }
    return rect;
}

}  // namespace layout
