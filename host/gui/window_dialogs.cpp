#include "host/gui/window_dialogs.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

namespace gui {
namespace {

// Filters name their patterns in parentheses separated by blanks, as the file dialog reads
// them; "*" stands for every file (a name needs no extension here).
const char* const kAllFiles = "すべてのファイル (*)";

std::string Bytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}
QString Text(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::optional<std::string> ChosenFile(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return Bytes(dialog.selectedFiles().constFirst());
}

}  // namespace

std::vector<std::string> ChooseFilesToAdd(QWidget* owner) {
    QFileDialog dialog(owner, QString::fromUtf8("ファイルの選択"));
    dialog.setObjectName(QStringLiteral("addFilesDialog"));
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setNameFilters({QString::fromUtf8(kAllFiles),
                           QString::fromUtf8("テキスト ファイル (*.txt)"),
                           QString::fromUtf8("HTML ファイル (*.htm *.html)")});
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
    QFileDialog dialog(owner, QString::fromUtf8("どのフォルダを選びますか？"), start);
    dialog.setObjectName(QStringLiteral("folderDialog"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    return ChosenFile(dialog);
}

std::optional<std::string> SelectTableFile(QWidget* owner, const std::string& current) {
    QFileDialog dialog(owner, QString::fromUtf8("変換テーブルの選択"));
    dialog.setObjectName(QStringLiteral("tableDialog"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    dialog.setNameFilters({QString::fromUtf8("変換テーブルファイル (*.txt *.tbl *.dic *.re)"),
                           QString::fromUtf8(kAllFiles)});
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
    dialog.setDefaultSuffix(QStringLiteral("pzl"));
    dialog.setNameFilters(
        {QString::fromUtf8("設定ファイル (*.pzl)"), QString::fromUtf8(kAllFiles)});
    return ChosenFile(dialog);
}

}  // namespace gui
