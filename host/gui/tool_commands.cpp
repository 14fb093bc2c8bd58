#include "host/gui/tool_commands.h"

#include <QDesktopServices>
#include <QUrl>

#include "host/core/tools/about_text.h"
#include "host/core/settings/ini_regex_history.h"
#include "host/core/tools/lowercase_file_name.h"
#include "host/core/tools/regex_tool.h"
#include "host/gui/about_box.h"
#include "host/gui/lowercase_dialog.h"
#include "host/gui/main_window.h"
#include "host/gui/file_info_dialog.h"
#include "host/gui/preview_dialog.h"
#include "host/gui/regex_dialog.h"
#include "host/gui/scan_dialog.h"
#include "host/layout/main_menu.h"

namespace gui {
namespace {

namespace command = layout::command;

void CharacterScan(MainWindow& window) {
    ScanDialog dialog(window.workbench().files().paths(), window.ui(), &window);
    dialog.exec();
}

void LowercaseNames(MainWindow& window) {
    host::LowercaseListedFiles(window.ui(), window.workbench().files(),
                               [&window]() -> std::optional<host::LowercaseSelection> {
                                   LowercaseDialog dialog(&window);
                                   if (dialog.exec() != QDialog::Accepted) {
                                       return std::nullopt;
                                   }
                                   return dialog.selection();
                               });
    window.refresh();
}

void RegexConversion(MainWindow& window) {
    host::Workbench& workbench = window.workbench();
    host::RunRegexTool(window.ui(), workbench.registry().rulebookHandle(),
                       workbench.files().paths(), workbench.options(),
                       [&window]() -> std::optional<std::string> {
                           host::IniRegexHistoryStore store(window.iniPath());
                           host::RegexCommandEntry entry(store);
                           RegexDialog dialog(entry, window.ui(), &window);
                           if (dialog.exec() != QDialog::Accepted) {
                               return std::nullopt;
                           }
                           return dialog.command();
                       });
}

void ConversionPreview(MainWindow& window) {
    host::Workbench& workbench = window.workbench();
    const std::optional<std::size_t> first =
        host::FirstPreviewFile(window.ui(), workbench.files().size(), window.selectedFiles());
    if (first) {
        PreviewDialog dialog(workbench.files().paths(), workbench.chain(), workbench.options(),
                             *first, &window);
        dialog.exec();
    }
}

void FileInfo(MainWindow& window) {
    const host::FileInfoRows table =
        host::DescribeListedFiles(window.ui(), window.workbench().files().paths());
    if (table.shown) {
        FileInfoDialog dialog(table, &window);
        dialog.exec();
    }
}

bool OpenInViewer(const std::string& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

}  // namespace

void InstallToolCommands(MainWindow& window, const std::string& executablePath) {
    window.setCommandHandler(command::kCharacterScan, [&window] { CharacterScan(window); });
    window.setCommandHandler(command::kLowerCaseNames, [&window] { LowercaseNames(window); });
    window.setCommandHandler(command::kRegexConversion, [&window] { RegexConversion(window); });
    window.setCommandHandler(command::kConversionPreview,
                             [&window] { ConversionPreview(window); });
    window.setCommandHandler(command::kFileInfo, [&window] { FileInfo(window); });
    window.setCommandHandler(command::kReadMe, [&window, executablePath] {
        host::OpenReadme(window.ui(), executablePath, OpenInViewer);
    });
    window.setCommandHandler(command::kAbout, [&window] {
        AboutBox box(window.workbench().registry().pluginVersionText(), &window);
        box.exec();
    });
}

}  // namespace gui
