#include "host/gui/window_dialogs.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

#include "host/layout/file_dialogs.h"

namespace gui {
namespace {

std::string Bytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}
QString Text(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

// A filter as Qt's file dialog reads it: the label, then the patterns in parentheses separated
// by blanks. The dialog is told to show the label alone, so the user reads the label as it
// stands while Qt matches its own patterns: "*.*" would need a point in the name, where the
// label means every file.
QString QtFilter(const layout::FileFilter& filter) {
    QStringList patterns;
    for (const QString& pattern : QString::fromUtf8(filter.patterns).split(QLatin1Char(';'))) {
        patterns << (pattern == QStringLiteral("*.*") ? QStringLiteral("*") : pattern);
    }
    return QString::fromUtf8(filter.label) + QStringLiteral(" (") +
           patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
}

void SetUp(QFileDialog& dialog, const layout::FileDialog& layout) {
    if (layout.title != nullptr) {
        dialog.setWindowTitle(QString::fromUtf8(layout.title));
    }
    if (layout.defaultExtension != nullptr) {
        dialog.setDefaultSuffix(QString::fromUtf8(layout.defaultExtension));
    }
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    QStringList filters;
    for (const layout::FileFilter& filter : layout.filters) {
        filters << QtFilter(filter);
    }
    dialog.setNameFilters(filters);
}

std::optional<std::string> ChosenFile(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return Bytes(dialog.selectedFiles().constFirst());
}

}  // namespace

std::vector<std::string> ChooseFilesToAdd(QWidget* owner) {
    QFileDialog dialog(owner);
    dialog.setObjectName(QStringLiteral("addFilesDialog"));
    dialog.setFileMode(QFileDialog::ExistingFiles);
    SetUp(dialog, layout::kAddFilesDialog);
    std::vector<std::string> paths;
    if (dialog.exec() == QDialog::Accepted) {
        for (const QString& path : dialog.selectedFiles()) {
            paths.push_back(Bytes(path));
        }
    }
    return paths;
}

std::optional<std::string> BrowseForFolder(QWidget* owner, const std::string& current) {
    QString start = Text(current);
    if (start.isEmpty() || !QFileInfo(start).isDir()) {
        start = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    }
    QFileDialog dialog(owner, QString::fromUtf8(layout::kFolderBrowserTitle), start);
    dialog.setObjectName(QStringLiteral("folderDialog"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    return ChosenFile(dialog);
}

std::optional<std::string> SelectTableFile(QWidget* owner, const std::string& current) {
    QFileDialog dialog(owner);
    dialog.setObjectName(QStringLiteral("tableDialog"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    SetUp(dialog, layout::kTableDialog);
    if (!current.empty()) {
        dialog.selectFile(Text(current));
    }
    return ChosenFile(dialog);
}

std::optional<std::string> ChooseSettingsList(QWidget* owner, bool forSaving) {
    QFileDialog dialog(owner);
    dialog.setObjectName(forSaving ? QStringLiteral("saveListDialog")
                                   : QStringLiteral("loadListDialog"));
    dialog.setAcceptMode(forSaving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(forSaving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    SetUp(dialog, layout::kSettingsListDialog);
    return ChosenFile(dialog);
}

}  // namespace gui
