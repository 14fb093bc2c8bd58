// The main window: the main dialog and menu bar of the layout model, built as Qt widgets and
// wired to the workbench that holds the file list, the function list, the chain and the
// options. The window only shows the workbench and turns clicks into its commands; a run
// works on a thread of its own while the window keeps painting and takes no input.
//
// Commands of other parts of the program (the Tools and Help menus) come in through
// setCommandHandler(): their menu items stay disabled until a handler is set.
#pragma once

#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/core/ui/user_interface.h"
#include "host/core/workbench/workbench.h"
#include "host/gui/window_ui.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QThread;

namespace gui {

class InputGuard;

class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    // `programFolder` holds the program and its plug-ins, `iniPath` the settings.
    MainWindow(std::string programFolder, std::string iniPath);
    ~MainWindow() override;

    // Start-up: the placement, the command-line paths, the settings and the plug-ins.
    void Start(const std::vector<std::string>& commandLinePaths);

    // The command behind the menu item `commandId`; the item is enabled from then on (the
    // regular-expression tool's only while the rulebook library is loaded).
    void setCommandHandler(int commandId, std::function<void()> handler);
    // Carries out a menu command, as choosing its item does.
    void runCommand(int commandId);
    QAction* commandAction(int commandId) const;

    host::Workbench& workbench() { return *workbench_; }
    host::UserInterface& ui() { return *ui_; }
    const std::string& iniPath() const { return iniPath_; }
    bool running() const { return runThread_ != nullptr; }
    // The rows of the file list the user has selected, top to bottom.
    std::vector<std::size_t> selectedFiles() const;
    // Shows the workbench again after something changed it behind the window's back.
    void refresh();

signals:
    void runFinished();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildControls();
    void BuildMenu();
    void Connect();

    void StartRun();
    void ReloadPlugins();

    void ShowFiles();
    void ShowFunctions();
    void ShowChain(std::optional<std::size_t> selected = std::nullopt);
    void ShowOptions();
    void ShowRegexTool();
    std::optional<std::size_t> SelectedChainRow() const;

    std::string iniPath_;
    QWidget* client_ = nullptr;
    QListWidget* fileList_ = nullptr;
    QListWidget* chainList_ = nullptr;
    QListWidget* functionList_ = nullptr;
    QLineEdit* outputField_ = nullptr;
    QLineEdit* tableField_ = nullptr;
    QCheckBox* overWriteBox_ = nullptr;
    QCheckBox* noOutputBox_ = nullptr;
    QLabel* statusLine_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    std::map<int, QAction*> actions_;
    std::map<int, std::function<void()>> handlers_;

    WindowUi* ui_ = nullptr;
    InputGuard* inputGuard_ = nullptr;
    std::unique_ptr<host::PluginMessageRoute> messageRoute_;
    std::unique_ptr<host::Workbench> workbench_;
    QThread* runThread_ = nullptr;
    bool closed_ = false;
};

}  // namespace gui
