// The tools' dialogs as the user meets them: what each shows when it opens, and what it hands
// back for what was chosen or typed.
#include <gtest/gtest.h>

#include "dialog_script.h"
#include "host/core/tools/about_text.h"
#include "host/core/settings/ini_regex_history.h"
#include "host/layout/about_dialog.h"
#include "host/layout/tool_dialogs.h"
#include "host/win32/tool_dialogs.h"
#include "host/win32/window_text.h"
#include "scripted_ui.h"
#include "support/sample_text.h"
#include "support/temp_folder.h"

namespace {

using namespace dialog_test;
using host::LowercaseSelection;
namespace scan = layout::scan_control;
namespace lower = layout::lowercase_control;
using layout::regex_control::kCommand;

TEST(LowercaseDialog, StartsAtAllFilesEachTimeAndHandsBackTheChoice) {
    struct Case {
        const char* name;
        int click;  // 0: none
        int button;
        std::optional<LowercaseSelection> expected;
    };
    const Case cases[] = {
        {"OK as it opens", 0, IDOK, LowercaseSelection::kAllFiles},
        {"upper-case extensions", lower::kUpperExtension, IDOK,
         LowercaseSelection::kUpperExtension},
        {"upper-case names", lower::kUpperName, IDOK, LowercaseSelection::kUpperName},
        {"cancelled", lower::kUpperName, IDCANCEL, std::nullopt},
    };
    for (const Case& c : cases) {
        bool startedAtAll = false;
        std::optional<LowercaseSelection> chosen;
        {
            DialogScript script(layout::kLowercaseDialog.title, [&](HWND dialog) {
                startedAtAll = Checked(dialog, lower::kAllFiles) &&
                               !Checked(dialog, lower::kUpperExtension) &&
                               !Checked(dialog, lower::kUpperName);
                if (c.click != 0) {
                    Click(dialog, c.click);
                }
                Click(dialog, c.button);
            });
            chosen = win32gui::AskLowercaseSelection(nullptr);
        }
        EXPECT_TRUE(startedAtAll) << c.name;
        EXPECT_EQ(chosen, c.expected) << c.name;
    }
}

TEST(ScanDialog, ScansWithTheRangesOnAndShowsTheReportInAFixedPitchJapaneseFont) {
    testing_support::TempFolder folder;
    const std::string path =
        folder.Write("sample.txt", testing_support::Sjis("一行目\r\n二行目\r\n丸数字①と半角ｱ\r\n"));
    host_testing::ScriptedUi ui;
    bool rangesOn = false;
    std::wstring report;
    LOGFONTW font{};
    HFONT fontHandle = nullptr;
    bool closedByEscape = false;
    {
        DialogScript script(layout::kScanDialog.title, [&](HWND dialog) {
            rangesOn = Checked(dialog, scan::kKanaBox) && Checked(dialog, scan::kSpecialBox) &&
                       Checked(dialog, scan::kExtendedBox) && Checked(dialog, scan::kUserAreaBox) &&
                       !Checked(dialog, scan::kUnifyBreaksBox);
            Click(dialog, scan::kScanButton);
            report = TextOf(dialog, scan::kResult);
            fontHandle = reinterpret_cast<HFONT>(
                ::SendDlgItemMessageW(dialog, scan::kResult, WM_GETFONT, 0, 0));
            ::GetObjectW(fontHandle, sizeof font, &font);
            closedByEscape = PressEscape(dialog, scan::kResult);
        });
        win32gui::ShowCharacterScan(nullptr, ui, {path});
    }
    EXPECT_TRUE(rangesOn);
    EXPECT_TRUE(closedByEscape);  // even from the multi-line field
    EXPECT_EQ(report, win32gui::Wide("*** " + path + " ***\r\n" +
                                     "   3行目:[ ① ] = 0x8740\r\n"
                                     "   3行目:[ ｱ  ] = 0xB1\r\n"
                                     "*** スキャン終了 ***\r\n"));
    EXPECT_EQ(ui.log, std::vector<std::string>{"beep"});
    EXPECT_EQ(std::wstring(font.lfFaceName), L"ＭＳ ゴシック");
    EXPECT_EQ(font.lfPitchAndFamily & 3, FIXED_PITCH);
    EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET);
    EXPECT_LT(font.lfHeight, 0);  // a size in points, not in cells
    // The font goes with the dialog.
    EXPECT_EQ(::GetObjectW(fontHandle, sizeof font, &font), 0);
}

// The history as the tool keeps it in the ini file.
std::vector<std::string> Stored(const std::string& ini) {
    std::vector<std::string> entries;
    for (const std::string& entry : host::IniRegexHistoryStore(ini).Load()) {
        if (!entry.empty()) {
            entries.push_back(entry);
        }
    }
    return entries;
}

TEST(RegexDialog, DropDownOffersTheHistoryAndKeepsWhatWasTyped) {
    testing_support::TempFolder folder;
    const std::string ini = folder.Path("polyshift.ini");
    host::IniRegexHistoryStore(ini).Save({"s/a/b/", testing_support::Sjis("tr/０-９/0-9/k")});
    host_testing::ScriptedUi ui;
    std::vector<std::wstring> items;
    std::wstring typed;
    std::optional<std::string> command;
    {
        DialogScript script(layout::kRegexDialog.title, [&](HWND dialog) {
            HWND combo = ::GetDlgItem(dialog, kCommand);
            Type(dialog, kCommand, "s/x/y/");
            for (int pass = 0; pass < 2; ++pass) {  // the list is filled anew, not twice
                ::SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
                ::SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
            }
            const auto count = ::SendMessageW(combo, CB_GETCOUNT, 0, 0);
            for (LRESULT i = 0; i < count; ++i) {
                std::wstring item(
                    static_cast<std::size_t>(::SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)) + 1,
                    L'\0');
                item.resize(static_cast<std::size_t>(
                    ::SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()))));
                items.push_back(item);
            }
            typed = TextOf(dialog, kCommand);
            Click(dialog, IDOK);
        });
        command = win32gui::AskRegexCommand(nullptr, ui, ini);
    }
    EXPECT_EQ(items, (std::vector<std::wstring>{L"s/a/b/", L"tr/０-９/0-9/k"}));
    EXPECT_EQ(typed, L"s/x/y/");
    EXPECT_EQ(command, "s/x/y/");
    EXPECT_EQ(Stored(ini), (std::vector<std::string>{"s/x/y/", "s/a/b/",
                                                     testing_support::Sjis("tr/０-９/0-9/k")}));
}

TEST(RegexDialog, RefusedCommandsKeepTheDialogOpenAndCancelKeepsTheHistory) {
    testing_support::TempFolder folder;
    const std::string ini = folder.Path("polyshift.ini");
    host::IniRegexHistoryStore(ini).Save({"s/a/b/"});
    host_testing::ScriptedUi ui;
    bool openAfterRefusals = false;
    std::optional<std::string> command;
    {
        DialogScript script(layout::kRegexDialog.title, [&](HWND dialog) {
            Type(dialog, kCommand, "s/a/\xF0\x9F\x98\x80/g");  // no Shift JIS for it
            Click(dialog, IDOK);
            std::string tooLong;
            for (int i = 0; i < 131; ++i) {  // 262 bytes in Shift JIS
                tooLong += "あ";
            }
            Type(dialog, kCommand, tooLong);
            Click(dialog, IDOK);
            openAfterRefusals = ::IsWindowVisible(dialog) != FALSE;
            Type(dialog, kCommand, "tr/ぁ-ん/ァ-ン/k");
            Click(dialog, IDOK);
        });
        command = win32gui::AskRegexCommand(nullptr, ui, ini);
    }
    EXPECT_TRUE(openAfterRefusals);
    ASSERT_EQ(ui.Only("box").size(), 2u);
    EXPECT_NE(ui.Only("box")[0].find("\xF0\x9F\x98\x80"), std::string::npos);
    EXPECT_NE(ui.Only("box")[1].find("260"), std::string::npos);
    EXPECT_EQ(command, testing_support::Sjis("tr/ぁ-ん/ァ-ン/k"));
    EXPECT_EQ(Stored(ini),
              (std::vector<std::string>{testing_support::Sjis("tr/ぁ-ん/ァ-ン/k"), "s/a/b/"}));

    {
        DialogScript script(layout::kRegexDialog.title, [&](HWND dialog) {
            Type(dialog, kCommand, "s/never/kept/");
            Click(dialog, IDCANCEL);
        });
        command = win32gui::AskRegexCommand(nullptr, ui, ini);
    }
    EXPECT_EQ(command, std::nullopt);
    EXPECT_EQ(Stored(ini),
              (std::vector<std::string>{testing_support::Sjis("tr/ぁ-ん/ァ-ン/k"), "s/a/b/"}));
}

TEST(AboutBox, ShowsTheIconTheBuildStampAndOnePluginPerLine) {
    namespace about = layout::about_control;
    std::wstring stamp;
    std::wstring versions;
    bool hasIcon = false;
    {
        DialogScript script(layout::kAboutDialog.title, [&](HWND dialog) {
            stamp = TextOf(dialog, about::kBuildStamp);
            versions = TextOf(dialog, about::kPluginVersions);
            for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr;
                 child = ::GetWindow(child, GW_HWNDNEXT)) {
                hasIcon = hasIcon || ::SendMessageW(child, STM_GETICON, 0, 0) != 0;
            }
            Click(dialog, IDOK);
        });
        win32gui::ShowAboutBox(nullptr, "eolfix.dll v.1.0.0.3\r\nbase64.dll v.1.0.0.1\n");
    }
    EXPECT_TRUE(hasIcon);
    EXPECT_EQ(stamp, win32gui::Wide(host::BuildStamp()));
    EXPECT_EQ(versions, L"eolfix.dll v.1.0.0.3\r\nbase64.dll v.1.0.0.1\r\n");
}

}  // namespace
