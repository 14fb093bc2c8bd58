// What the layout's frames, control kinds and flags are in Win32 terms: the window class and
// style names of every control, and the styles of every dialog, spelled as the resource script
// writes them (the names come from windows.h when the script is compiled).
#pragma once

#include <string>
#include <vector>

#include "host/layout/layout_model.h"

namespace rc {

struct Win32Control {
    const char* windowClass;
    std::vector<const char*> styles;
};

namespace detail {

using layout::ControlKind;
using layout::Styles;

inline void AddIf(std::vector<const char*>& styles, Styles flags, Styles flag, const char* name) {
    if (flags & flag)
        styles.push_back(name);
}

// Both list kinds: flags as the layout sets them, bars that need one and a frame. Without
// LBS_NOINTEGRALHEIGHT a list would shrink to whole lines and leave its rectangle.
inline Win32Control ListBox(Styles flags, bool ownerDrawn) {
    std::vector<const char*> styles;
    if (ownerDrawn)
        styles = {"LBS_OWNERDRAWFIXED", "LBS_HASSTRINGS"};
    AddIf(styles, flags, layout::kSorted, "LBS_SORT");
    AddIf(styles, flags, layout::kExtendedSelection, "LBS_EXTENDEDSEL");
    AddIf(styles, flags, layout::kNotify, "LBS_NOTIFY");
    AddIf(styles, flags, layout::kScrollBarsAlways, "LBS_DISABLENOSCROLL");
    AddIf(styles, flags, layout::kVerticalScroll, "WS_VSCROLL");
    AddIf(styles, flags, layout::kHorizontalScroll, "WS_HSCROLL");
    styles.insert(styles.end(), {"LBS_NOINTEGRALHEIGHT", "WS_BORDER", "WS_TABSTOP"});
    return {"ListBox", styles};
}

inline Win32Control Edit(Styles flags) {
    std::vector<const char*> styles{"ES_LEFT"};
    if (flags & layout::kMultiLine) {
        styles.insert(styles.end(), {"ES_MULTILINE", "ES_AUTOVSCROLL"});
    } else {
        styles.push_back("ES_AUTOHSCROLL");
    }
    AddIf(styles, flags, layout::kReadOnly, "ES_READONLY");
    AddIf(styles, flags, layout::kBorder, "WS_BORDER");
    AddIf(styles, flags, layout::kVerticalScroll, "WS_VSCROLL");
    styles.push_back("WS_TABSTOP");
    return {"Edit", styles};
}

// A text wraps only where the layout asks for it; otherwise it keeps its lines (it still
// breaks at line feeds) and expands tabs.
inline Win32Control Text(Styles flags) {
    std::vector<const char*> styles{(flags & layout::kWordWrap) ? "SS_LEFT" : "SS_LEFTNOWORDWRAP"};
    AddIf(styles, flags, layout::kNoPrefix, "SS_NOPREFIX");
    return {"Static", styles};
}

}  // namespace detail

// The class and styles of a control, without WS_CHILD and WS_VISIBLE, which every control has.
inline Win32Control ControlOf(const layout::Control& control) {
    using K = layout::ControlKind;
    const layout::Styles flags = control.styles;
    switch (control.kind) {
        case K::kEtchedLine:
            return {"Static", {"SS_ETCHEDHORZ"}};
        case K::kGroupBox:
            return {"Button", {"BS_GROUPBOX"}};
        case K::kText:
            return detail::Text(flags);
        case K::kIcon:
            return {"Static", {"SS_ICON"}};
        case K::kCheckBox:
            return {"Button", {"BS_AUTOCHECKBOX", "WS_TABSTOP"}};
        case K::kRadioButton:
            if (flags & layout::kGroupStart) {
                return {"Button", {"BS_AUTORADIOBUTTON", "WS_GROUP", "WS_TABSTOP"}};
            }
            return {"Button", {"BS_AUTORADIOBUTTON"}};
        case K::kPushButton:
            return {"Button",
                    {(flags & layout::kDefaultButton) ? "BS_DEFPUSHBUTTON" : "BS_PUSHBUTTON",
                     "WS_TABSTOP"}};
        case K::kListBox:
            return detail::ListBox(flags, false);
        case K::kCheckListBox:
            return detail::ListBox(flags, true);
        case K::kEdit:
            return detail::Edit(flags);
        case K::kComboBox: {
            Win32Control combo{"ComboBox",
                               {(flags & layout::kEditable) ? "CBS_DROPDOWN" : "CBS_DROPDOWNLIST",
                                "CBS_AUTOHSCROLL"}};
            detail::AddIf(combo.styles, flags, layout::kVerticalScroll, "WS_VSCROLL");
            combo.styles.push_back("WS_TABSTOP");
            return combo;
        }
        case K::kProgressBar:
            return {"msctls_progress32", {"WS_BORDER"}};
        case K::kCompareView: {
            // A window class of the program's own (host/win32/compare_view.h).
            Win32Control view{"PolyshiftCompareView", {}};
            detail::AddIf(view.styles, flags, layout::kVerticalScroll, "WS_VSCROLL");
            detail::AddIf(view.styles, flags, layout::kHorizontalScroll, "WS_HSCROLL");
            detail::AddIf(view.styles, flags, layout::kBorder, "WS_BORDER");
            view.styles.push_back("WS_TABSTOP");
            return view;
        }
        case K::kTable: {
            // A list view in report form: the common controls scroll it themselves.
            return {"SysListView32",
                    {"LVS_REPORT", "LVS_SINGLESEL", "LVS_SHOWSELALWAYS", "WS_BORDER",
                     "WS_TABSTOP"}};
        }
    }
    return {"Static", {}};
}

// The dialog's style and extended style. The main window has no modal frame, which would hide
// its icon in the caption; every dialog opens centred.
struct Win32Frame {
    std::vector<const char*> styles;
    std::vector<const char*> extendedStyles;
};

inline Win32Frame FrameOf(layout::Frame frame) {
    if (frame == layout::Frame::kMainWindow) {
        return {
            {"WS_POPUP", "WS_CAPTION", "WS_SYSMENU", "WS_MINIMIZEBOX", "DS_SETFONT", "DS_CENTER"},
            {"WS_EX_APPWINDOW", "WS_EX_ACCEPTFILES"}};
    }
    return {{"DS_MODALFRAME", "WS_POPUP", "WS_CAPTION", "WS_SYSMENU", "DS_SETFONT", "DS_CENTER"},
            {}};
}

// Names joined with " | ", or "0" for none.
inline std::string Joined(const std::vector<const char*>& names) {
    if (names.empty())
        return "0";
    std::string joined;
    for (const char* name : names) {
        if (!joined.empty())
            joined += " | ";
        joined += name;
    }
    return joined;
}

}  // namespace rc
