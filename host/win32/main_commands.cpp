// What the main window does for each command, notification and menu item.
#include <algorithm>

#include "host/core/tools/lowercase_file_name.h"
#include "host/core/tools/regex_tool.h"
#include "host/core/workbench/conversion_preview.h"
#include "host/layout/main_dialog.h"
#include "host/layout/main_menu.h"
#include "host/win32/main_window.h"
#include "host/win32/tool_dialogs.h"

namespace win32gui {
namespace {
namespace id = layout::main_control;
namespace command = layout::command;
}  // namespace

void MainWindow::OnCommand(int control, int code) {
    if (running_) {
        return;
    }
    switch (control) {
        case layout::kIdOk:
            return;  // Enter leaves the window as it is
        case layout::kIdCancel:  // Esc and "終了(&X)"
            Close();
            return;
        case id::kRunButton:
            StartRun();
            return;
        case id::kOutputButton:
            workbench_->ChooseOutputFolder();
            ShowOptions();
            return;
        case id::kTableButton:
            workbench_->ChooseTableFile();
            ShowOptions();
            return;
        case id::kUpButton:
            ShowChain(workbench_->MoveChainEntryUp(SelectedChainRow()));
            return;
        case id::kDownButton:
            ShowChain(workbench_->MoveChainEntryDown(SelectedChainRow()));
            return;
        case id::kOverWriteBox:
        case id::kNoOutputBox:
            if (code == BN_CLICKED) {
                workbench_->SetOverWrite(::IsDlgButtonChecked(dialog_, id::kOverWriteBox) != 0);
                workbench_->SetNoOutput(::IsDlgButtonChecked(dialog_, id::kNoOutputBox) != 0);
            }
            return;
        case id::kFunctionList:
            if (code == CheckList::kCheckToggled) {
                const LRESULT item = ::SendMessageW(Control(id::kFunctionList), LB_GETCURSEL, 0, 0);
                if (item != LB_ERR) {
                    const auto row = static_cast<std::size_t>(item);
                    workbench_->SetFunctionChecked(row, !workbench_->functions()[row].checked);
                    ShowChain();
                }
            }
            return;
        case id::kChainList:
            if (code == LBN_DBLCLK) {
                if (const auto row = SelectedChainRow()) {
                    workbench_->RemoveChainEntryAt(*row);
                    ShowChain();
                    ShowFunctions();
                }
            }
            return;
        case id::kFileList:
            if (code == LBN_DBLCLK) {
                if (const auto row = FileAtCaret()) {
                    workbench_->RemoveFileAt(*row);
                    ShowFiles();
                }
            }
            return;
        default:
            if (!OnMenuCommand(control)) {
                OnToolCommand(control);
            }
    }
}

bool MainWindow::OnMenuCommand(int id) {
    switch (id) {
        case command::kAddFiles:
            workbench_->AddFilesByDialog();
            ShowFiles();
            return true;
        case command::kDeleteFiles:
            workbench_->DeleteSelectedFiles(SelectedFiles());
            ShowFiles();
            return true;
        case command::kDeleteAllFiles:
            workbench_->DeleteAllFiles();
            ShowFiles();
            return true;
        case command::kReloadPlugins:
            ReloadPlugins();
            return true;
        case command::kLoadSettingsList:
            workbench_->LoadSettingsListByDialog();
            ShowAll();
            return true;
        case command::kSaveSettingsList:
            workbench_->SaveSettingsListByDialog();
            return true;
        default:
            return false;
    }
}

void MainWindow::OnToolCommand(int id) {
    switch (id) {
        case command::kCharacterScan:
            ShowCharacterScan(dialog_, *face_, workbench_->files().paths());
            return;
        case command::kLowerCaseNames:
            host::LowercaseListedFiles(*face_, workbench_->files(),
                                       [this] { return AskLowercaseSelection(dialog_); });
            ShowFiles();
            return;
        case command::kRegexConversion:
            if (workbench_->registry().regexToolAvailable()) {
                host::RunRegexTool(*face_, workbench_->registry().rulebookHandle(),
                                   workbench_->files().paths(), workbench_->options(), [this] {
                                       return AskRegexCommand(dialog_, *face_, startUp_.iniPath);
                                   });
            }
            return;
        case command::kConversionPreview:
            if (const auto first = host::FirstPreviewFile(*face_, workbench_->files().size(),
                                                          SelectedFiles())) {
                ShowConversionPreview(dialog_, {workbench_->files().paths(), workbench_->chain(),
                                                workbench_->options(), *first});
            }
            return;
        case command::kFileInfo: {
            const host::FileInfoRows table =
                host::DescribeListedFiles(*face_, workbench_->files().paths());
            if (table.shown) {
                ShowFileInfo(dialog_, table);
            }
            return;
        }
        case command::kReadMe:
            OpenReadme(dialog_, *face_, startUp_.executablePath);
            return;
        case command::kAbout:
            ShowAboutBox(dialog_, workbench_->registry().pluginVersionText());
            return;
        default:
            return;
    }
}

}  // namespace win32gui
