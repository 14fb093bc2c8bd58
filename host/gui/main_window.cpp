#include "host/gui/main_window.h"

#include <algorithm>

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QThread>
#include <QUrl>

#include "host/core/workbench/uri_list.h"
#include "host/gui/dialog_builder.h"
#include "host/gui/input_guard.h"
#include "host/gui/window_placement.h"
#include "host/layout/main_dialog.h"
#include "host/layout/main_menu.h"
#include "platform/text_encoding.h"

namespace gui {
namespace {

namespace command = layout::command;

QString FromUtf8(const char* text) {
    return QString::fromUtf8(text);
}
QString PathText(const std::string& path) {
    return QString::fromStdString(path);
}

}  // namespace

MainWindow::MainWindow(std::string programFolder, std::string iniPath)
    : iniPath_(std::move(iniPath)) {
    setWindowTitle(FromUtf8(layout::kMainDialog.title));
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/polyshift/polyshift-%1.png").arg(size));
    }
    setWindowIcon(icon);
    BuildControls();
    ui_ = new WindowUi(this, statusLine_, progressBar_, tableField_);
    inputGuard_ = new InputGuard(this);
    BuildMenu();
    messageRoute_ = std::make_unique<host::PluginMessageRoute>(*ui_);
    workbench_ =
        std::make_unique<host::Workbench>(std::move(programFolder), iniPath_, *ui_, *ui_);
    Connect();
}

MainWindow::~MainWindow() {
    if (runThread_ != nullptr) {
        // A window closed before its run's end was reported still owns the thread.
        runThread_->wait();
        delete runThread_;
    }
    if (!closed_) {
        workbench_->Close(PlacementOf(*this));
    }
}

void MainWindow::BuildControls() {
    client_ = new QWidget(this);
    gui::BuildControls(*client_, layout::kMainDialog);
    setCentralWidget(client_);

    namespace id = layout::main_control;
    fileList_ = FindControl<QListWidget>(*client_, id::kFileList);
    chainList_ = FindControl<QListWidget>(*client_, id::kChainList);
    functionList_ = FindControl<QListWidget>(*client_, id::kFunctionList);
    outputField_ = FindControl<QLineEdit>(*client_, id::kOutputField);
    tableField_ = FindControl<QLineEdit>(*client_, id::kTableField);
    overWriteBox_ = FindControl<QCheckBox>(*client_, id::kOverWriteBox);
    noOutputBox_ = FindControl<QCheckBox>(*client_, id::kNoOutputBox);
    statusLine_ = FindControl<QLabel>(*client_, id::kStatusLine);
    progressBar_ = FindControl<QProgressBar>(*client_, id::kProgressBar);
}

void MainWindow::BuildMenu() {
    QMenuBar* bar = menuBar();
    bar->setFont(client_->font());
    for (const layout::Menu& menuLayout : layout::kMainMenu.menus) {
        QMenu* menu = bar->addMenu(FromUtf8(menuLayout.title));
        for (const layout::MenuItem& item : menuLayout.items) {
            if (item.separator()) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(FromUtf8(item.text));
            action->setData(item.commandId);
            const int id = item.commandId;
            connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
            actions_[id] = action;
        }
    }
    // Commands of the host's tools wait for their handlers.
    for (int id :
         {command::kCharacterScan, command::kLowerCaseNames, command::kConversionPreview,
          command::kFileInfo, command::kReadMe, command::kAbout}) {
        actions_[id]->setEnabled(false);
    }
    actions_[command::kRegexConversion]->setEnabled(false);
    setFixedSize(client_->width(), client_->height() + bar->sizeHint().height());
}

void MainWindow::Connect() {
    namespace id = layout::main_control;
    auto button = [this](int control) { return FindControl<QPushButton>(*client_, control); };
    connect(button(id::kRunButton), &QPushButton::clicked, this, &MainWindow::StartRun);
    connect(button(id::kOutputButton), &QPushButton::clicked, this, [this] {
        workbench_->ChooseOutputFolder();
        ShowOptions();
    });
    connect(button(id::kTableButton), &QPushButton::clicked, this, [this] {
        workbench_->ChooseTableFile();
        ShowOptions();
    });
    connect(button(id::kUpButton), &QPushButton::clicked, this,
            [this] { ShowChain(workbench_->MoveChainEntryUp(SelectedChainRow())); });
    connect(button(id::kDownButton), &QPushButton::clicked, this,
            [this] { ShowChain(workbench_->MoveChainEntryDown(SelectedChainRow())); });
    connect(overWriteBox_, &QCheckBox::toggled, this,
            [this](bool on) { workbench_->SetOverWrite(on); });
    connect(noOutputBox_, &QCheckBox::toggled, this,
            [this](bool on) { workbench_->SetNoOutput(on); });
    connect(functionList_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        const int row = functionList_->row(item);
        functionList_->setCurrentRow(row);
        workbench_->SetFunctionChecked(static_cast<std::size_t>(row),
                                       item->checkState() == Qt::Checked);
        ShowChain();
    });
    connect(chainList_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        workbench_->RemoveChainEntryAt(static_cast<std::size_t>(chainList_->row(item)));
        ShowChain();
        ShowFunctions();
    });
    connect(fileList_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        workbench_->RemoveFileAt(static_cast<std::size_t>(fileList_->row(item)));
        ShowFiles();
    });
}

void MainWindow::Start(const std::vector<std::string>& commandLinePaths) {
    if (const auto placement = workbench_->SavedPlacement()) {
        ApplyPlacement(*this, *placement);
    }
    workbench_->Start(commandLinePaths);
    ShowRegexTool();
    ShowFiles();
    ShowFunctions();
    ShowChain();
    ShowOptions();
    setAcceptDrops(true);
}

void MainWindow::setCommandHandler(int commandId, std::function<void()> handler) {
    handlers_[commandId] = std::move(handler);
    if (QAction* action = commandAction(commandId);
        action != nullptr && commandId != command::kRegexConversion) {
        action->setEnabled(true);
    }
}

QAction* MainWindow::commandAction(int commandId) const {
    const auto found = actions_.find(commandId);
    return found == actions_.end() ? nullptr : found->second;
}

void MainWindow::runCommand(int commandId) {
    if (running()) {
        return;
    }
    switch (commandId) {
        case command::kExit:
            close();
            return;
        case command::kAddFiles:
            workbench_->AddFilesByDialog();
            ShowFiles();
            return;
        case command::kDeleteFiles:
            workbench_->DeleteSelectedFiles(selectedFiles());
            ShowFiles();
            return;
        case command::kDeleteAllFiles:
            workbench_->DeleteAllFiles();
            ShowFiles();
            return;
        case command::kReloadPlugins:
            ReloadPlugins();
            return;
        case command::kLoadSettingsList:
            workbench_->LoadSettingsListByDialog();
            refresh();
            return;
        case command::kSaveSettingsList:
            workbench_->SaveSettingsListByDialog();
            return;
        default:
            break;
    }
    const auto handler = handlers_.find(commandId);
    if (handler != handlers_.end() && handler->second) {
        handler->second();
        refresh();
    }
}

std::vector<std::size_t> MainWindow::selectedFiles() const {
    std::vector<std::size_t> rows;
    for (const QModelIndex& index : fileList_->selectionModel()->selectedRows()) {
        rows.push_back(static_cast<std::size_t>(index.row()));
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

void MainWindow::StartRun() {
    if (running()) {
        return;
    }
    inputGuard_->setActive(true);
    runThread_ = QThread::create([this] { workbench_->RunBatch(); });
    connect(runThread_, &QThread::finished, this, [this] {
        runThread_->wait();
        delete runThread_;
        runThread_ = nullptr;
        inputGuard_->setActive(false);
        // A table chosen during the run stays chosen.
        ShowOptions();
        emit runFinished();
    });
    runThread_->start();
}

void MainWindow::ReloadPlugins() {
    workbench_->ReloadPlugins();
    ShowRegexTool();
    ShowFunctions();
    ShowChain();
}

void MainWindow::ShowRegexTool() {
    // The Tools menu item follows the rulebook library of the tool.
    actions_[command::kRegexConversion]->setEnabled(workbench_->registry().regexToolAvailable());
}

void MainWindow::refresh() {
    ShowFiles();
    ShowFunctions();
    ShowChain();
    ShowOptions();
}

void MainWindow::ShowFiles() {
    fileList_->clear();
    for (const std::string& path : workbench_->files().paths()) {
        fileList_->addItem(PathText(path));
    }
}

void MainWindow::ShowFunctions() {
    const QSignalBlocker blocker(functionList_);
    const int current = functionList_->currentRow();
    functionList_->clear();
    for (const host::FunctionListItem& function : workbench_->functions()) {
        const QString title = QString::fromStdString(platform::Cp932ToUtf8(function.title));
        auto* item = new QListWidgetItem(title, functionList_);
        item->setToolTip(title);  // the list is narrower than the longer titles
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(function.checked ? Qt::Checked : Qt::Unchecked);
    }
    if (current >= 0 && current < functionList_->count()) {
        functionList_->setCurrentRow(current);
    }
}

void MainWindow::ShowChain(std::optional<std::size_t> selected) {
    chainList_->clear();
    for (const host::ChainEntry& entry : workbench_->chain()) {
        const QString title = QString::fromStdString(platform::Cp932ToUtf8(entry.title));
        auto* item = new QListWidgetItem(title, chainList_);
        item->setToolTip(title);
    }
    if (selected && *selected < static_cast<std::size_t>(chainList_->count())) {
        chainList_->setCurrentRow(static_cast<int>(*selected));
    }
}

void MainWindow::ShowOptions() {
    const host::RunOptions& options = workbench_->options();
    outputField_->setText(PathText(options.outputFolder));
    tableField_->setText(PathText(options.tablePath));
    const QSignalBlocker overWriteBlocker(overWriteBox_);
    const QSignalBlocker noOutputBlocker(noOutputBox_);
    overWriteBox_->setChecked(options.overWrite);
    noOutputBox_->setChecked(options.noOutput);
}

std::optional<std::size_t> MainWindow::SelectedChainRow() const {
    const QList<QListWidgetItem*> selected = chainList_->selectedItems();
    if (selected.isEmpty()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(chainList_->row(selected.constFirst()));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (running()) {
        event->ignore();
        return;
    }
    if (!closed_) {
        closed_ = true;
        workbench_->Close(PlacementOf(*this));
    }
    event->accept();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
            close();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // Enter leaves the window as it is.
            event->accept();
            return;
        default:
            QMainWindow::keyPressEvent(event);
    }
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    activateWindow();
    const QMimeData* data = event->mimeData();
    std::vector<std::string> paths;
    const QByteArray uriList = data->data(QStringLiteral("text/uri-list"));
    if (!uriList.isEmpty()) {
        paths = host::LocalPathsFromUriList(uriList.toStdString());
    } else {
        for (const QUrl& url : data->urls()) {
            if (url.isLocalFile()) {
                paths.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
            }
        }
    }
    workbench_->AddDroppedPaths(paths);
    event->acceptProposedAction();
    ShowFiles();
}

}  // namespace gui
