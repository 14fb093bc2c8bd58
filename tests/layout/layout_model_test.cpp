// The dialogs and the menu as data, checked for what every window built from them relies on:
// each dialog holds the controls it must hold, once each, inside its client area and without
// covering one another; every control can be found; the flags suit their kinds; and the menu
// carries every command once, with its access key.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "host/layout/all_dialogs.h"
#include "host/layout/main_menu.h"

namespace {

using layout::Control;
using layout::ControlKind;
using layout::Dialog;
using layout::Rect;

struct Listed {
    const Dialog& dialog;
    int resourceId;
    std::vector<int> ids;  // the ids each dialog must hold
    int withoutId;         // and how many controls nobody addresses
};

const Listed kListed[] = {
    {layout::kAboutDialog, 100, {1, 1015, 1020}, 4},
    {layout::kMainDialog,
     102,
     {1000, 1001, 1005, 1006, 1007, 1008, 1009, 1010, 1011, 1012, 1013, 1014, 1017, 1019},
     3},
    {layout::kScanDialog, 130, {2, 1011, 1012, 1013, 1018, 1028, 1030, 1031}, 2},
    {layout::kLowercaseDialog, 131, {1, 2, 1021, 1022, 1023}, 1},
    {layout::kRegexDialog, 132, {1, 2, 1024}, 1},
    {layout::kPreviewDialog, 133, {2, 1040, 1041, 1042, 1043, 1044, 1045}, 0},
    {layout::kFileInfoDialog, 134, {2, 1050, 1051}, 0},
};

std::string Where(const Dialog& dialog, const Control& control) {
    return std::string(dialog.title) + " / " +
           (control.id == layout::kNoId ? control.name : std::to_string(control.id));
}

bool Contains(const Rect& outer, const Rect& inner) {
    return inner.left >= outer.left && inner.top >= outer.top &&
           inner.left + inner.width <= outer.left + outer.width &&
           inner.top + inner.height <= outer.top + outer.height;
}

bool Overlap(const Rect& a, const Rect& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

// The character after the only "&" of `text`, or 0 when it has none or more than one.
char AccessKey(const std::string& text) {
    const auto at = text.find('&');
    if (at == std::string::npos || at + 1 >= text.size() || text.find('&', at + 1) != text.npos) {
        return 0;
    }
    return text[at + 1];
}

TEST(Dialogs, HoldEveryListedControlOnceUnderTheirResourceIds) {
    ASSERT_EQ(std::size(layout::kAllDialogs), std::size(kListed));
    for (const Listed& listed : kListed) {
        SCOPED_TRACE(listed.dialog.title);
        EXPECT_EQ(listed.dialog.resourceId, listed.resourceId);
        EXPECT_NE(std::find(std::begin(layout::kAllDialogs), std::end(layout::kAllDialogs),
                            &listed.dialog),
                  std::end(layout::kAllDialogs));
        std::vector<int> ids;
        int withoutId = 0;
        for (const Control& control : listed.dialog.controls) {
            if (control.id == layout::kNoId) {
                ++withoutId;
            } else {
                ids.push_back(control.id);
            }
        }
        std::sort(ids.begin(), ids.end());
        EXPECT_EQ(ids, listed.ids);
        EXPECT_EQ(withoutId, listed.withoutId);
    }
}

TEST(Dialogs, FontFrameAndMenu) {
    for (const Dialog* dialog : layout::kAllDialogs) {
        SCOPED_TRACE(dialog->title);
        EXPECT_STREQ(dialog->font.face, "ＭＳ Ｐゴシック");
        EXPECT_EQ(dialog->font.points, 9);
        const bool main = dialog == &layout::kMainDialog;
        EXPECT_EQ(dialog->frame, main ? layout::Frame::kMainWindow : layout::Frame::kModal);
        EXPECT_EQ(dialog->menuId, main ? layout::kMainMenu.resourceId : layout::kNoMenu);
    }
    EXPECT_EQ(layout::kMainMenu.resourceId, 129);
}

TEST(Dialogs, EveryControlCanBeFoundByItsIdOrItsName) {
    for (const Dialog* dialog : layout::kAllDialogs) {
        std::set<std::string> names;
        for (const Control& control : dialog->controls) {
            SCOPED_TRACE(Where(*dialog, control));
            // A resource keeps ids in 16 bits; kNoId is the one that addresses nothing.
            EXPECT_TRUE(control.id == layout::kNoId || (control.id > 0 && control.id < 0x10000));
            if (control.id == layout::kNoId) {
                ASSERT_NE(control.name, nullptr);
                const std::string name = control.name;
                EXPECT_FALSE(name.empty());
                EXPECT_FALSE(std::all_of(name.begin(), name.end(),
                                         [](unsigned char c) { return std::isdigit(c); }));
                EXPECT_TRUE(names.insert(name).second);
            } else {
                EXPECT_EQ(control.name, nullptr);
                EXPECT_TRUE(names.insert(std::to_string(control.id)).second);
            }
        }
    }
}

TEST(Dialogs, EveryControlLiesInsideTheClientArea) {
    for (const Dialog* dialog : layout::kAllDialogs) {
        const Rect client{0, 0, dialog->width, dialog->height};
        for (const Control& control : dialog->controls) {
            SCOPED_TRACE(Where(*dialog, control));
            EXPECT_GT(control.rect.width, 0);
            EXPECT_GT(control.rect.height, 0);
            EXPECT_TRUE(Contains(client, control.rect));
        }
    }
}

TEST(Dialogs, ControlsOverlapOnlyInsideTheirGroupBoxes) {
    for (const Dialog* dialog : layout::kAllDialogs) {
        const auto& controls = dialog->controls;
        for (std::size_t i = 0; i < controls.size(); ++i) {
            for (std::size_t j = i + 1; j < controls.size(); ++j) {
                const Control& a = controls[i];
                const Control& b = controls[j];
                const Rect ra = layout::VisibleRect(a);
                const Rect rb = layout::VisibleRect(b);
                if (!Overlap(ra, rb)) {
                    continue;
                }
                const bool framed = (a.kind == ControlKind::kGroupBox && Contains(ra, rb)) ||
                                    (b.kind == ControlKind::kGroupBox && Contains(rb, ra));
                EXPECT_TRUE(framed) << Where(*dialog, a) << " and " << Where(*dialog, b);
            }
        }
    }
}

TEST(Dialogs, FlagsSuitTheirKinds) {
    using K = ControlKind;
    const std::map<K, layout::Styles> heeded = {
        {K::kText, layout::kNoPrefix | layout::kWordWrap},
        {K::kRadioButton, layout::kGroupStart},
        {K::kPushButton, layout::kDefaultButton},
        {K::kListBox, layout::kVerticalScroll | layout::kHorizontalScroll |
                          layout::kScrollBarsAlways | layout::kSorted | layout::kExtendedSelection |
                          layout::kNotify},
        {K::kCheckListBox, layout::kVerticalScroll | layout::kHorizontalScroll | layout::kNotify},
        {K::kEdit,
         layout::kReadOnly | layout::kMultiLine | layout::kBorder | layout::kVerticalScroll},
        {K::kComboBox, layout::kEditable | layout::kVerticalScroll},
        {K::kCompareView, layout::kVerticalScroll | layout::kHorizontalScroll | layout::kBorder},
        {K::kTable, layout::kVerticalScroll | layout::kHorizontalScroll},
    };
    for (const Dialog* dialog : layout::kAllDialogs) {
        int defaults = 0;
        const Control* previous = nullptr;
        for (const Control& control : dialog->controls) {
            SCOPED_TRACE(Where(*dialog, control));
            const auto found = heeded.find(control.kind);
            const layout::Styles allowed = found == heeded.end() ? 0 : found->second;
            EXPECT_EQ(control.styles & ~allowed, 0u);
            defaults += (control.styles & layout::kDefaultButton) != 0;
            // A run of radio buttons is one group, and its first button says so.
            if (control.kind == K::kRadioButton) {
                const bool first = previous == nullptr || previous->kind != K::kRadioButton;
                EXPECT_EQ((control.styles & layout::kGroupStart) != 0, first);
            }
            previous = &control;
        }
        // Enter presses OK where a dialog has one, and nothing in the main window.
        const bool hasOk = std::any_of(dialog->controls.begin(), dialog->controls.end(),
                                       [](const Control& c) { return c.id == layout::kIdOk; });
        EXPECT_EQ(defaults, hasOk ? 1 : 0) << dialog->title;
    }
}

TEST(Dialogs, ToolDialogsCloseAndAccessKeysDiffer) {
    for (const Dialog* dialog : layout::kAllDialogs) {
        SCOPED_TRACE(dialog->title);
        if (dialog->frame == layout::Frame::kModal) {
            const bool closes =
                std::any_of(dialog->controls.begin(), dialog->controls.end(), [](const Control& c) {
                    return c.kind == ControlKind::kPushButton &&
                           (c.id == layout::kIdOk || c.id == layout::kIdCancel);
                });
            EXPECT_TRUE(closes);
        }
        std::set<char> keys;
        for (const Control& control : dialog->controls) {
            const std::string text = control.text;
            if ((control.styles & layout::kNoPrefix) != 0 || text.find('&') == std::string::npos) {
                continue;
            }
            const char key = AccessKey(text);
            EXPECT_NE(key, 0) << text;
            EXPECT_TRUE(keys.insert(key).second) << text;
        }
    }
}

TEST(MainMenu, EveryCommandOnceWithItsAccessKey) {
    const std::vector<int> listed = {2,     32771, 32772, 32773, 32774, 32775,
                                     32776, 32777, 32778, 32779, 32780, 32781,
                                     32782, 32783};
    std::vector<int> ids;
    std::set<char> titleKeys;
    for (const layout::Menu& menu : layout::kMainMenu.menus) {
        SCOPED_TRACE(menu.title);
        EXPECT_TRUE(titleKeys.insert(AccessKey(menu.title)).second);
        ASSERT_FALSE(menu.items.empty());
        EXPECT_FALSE(menu.items.front().separator());
        EXPECT_FALSE(menu.items.back().separator());
        for (std::size_t i = 0; i < menu.items.size(); ++i) {
            const layout::MenuItem& item = menu.items[i];
            if (item.separator()) {
                EXPECT_FALSE(menu.items[i - 1].separator());
                continue;
            }
            EXPECT_NE(AccessKey(item.text), 0) << item.text;
            ids.push_back(item.commandId);
        }
    }
    EXPECT_EQ(titleKeys.count(0), 0u);
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, listed);
    EXPECT_EQ(layout::command::kExit, layout::kIdCancel);
}

TEST(MainMenu, TheSystemMenuItemIsASystemCommand) {
    // A system command keeps its low four bits for the system; the item's id must not use them.
    EXPECT_EQ(layout::kSystemMenuAbout.commandId, 16);
    EXPECT_EQ(layout::kSystemMenuAbout.commandId & 0xF, 0);
    EXPECT_LT(layout::kSystemMenuAbout.commandId, 0xF000);
    EXPECT_EQ(layout::kSystemMenuAbout.stringId, 101);
    EXPECT_NE(AccessKey(layout::kSystemMenuAbout.text), 0);
}

}  // namespace
