// The main window on Windows: dialog resource 102 with menu 129, shown modally until the user
// closes it, over the workbench that holds the file list, the function list, the chain and the
// options. The window shows the workbench and turns the user's clicks, keys and drops into its
// commands; a run works on a thread of its own while the window keeps painting and takes no
// input, and its questions come up modally on the window.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "host/core/workbench/workbench.h"
#include "host/win32/check_list.h"
#include "host/win32/window_face.h"

namespace win32gui {

struct StartUp {
    std::string executablePath;  // names the read-me
    std::string programFolder;   // holds the folder "plugin"
    std::string iniPath;
    std::vector<std::string> commandLinePaths;
};

class MainWindow {
public:
    explicit MainWindow(StartUp startUp);
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;
    ~MainWindow();

    // Shows the window and returns when it has closed; false when it could not be shown.
    bool Run(HINSTANCE instance);

private:
    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);

    void OnInit();
    void OnCommand(int id, int code);
    bool OnMenuCommand(int id);
    void OnToolCommand(int id);
    void OnDrop(HDROP drop);
    void Close();

    void StartRun();
    void OnRunFinished();
    void ReloadPlugins();

    void ShowAll();
    void ShowFiles();
    void ShowFunctions();
    void ShowChain(std::optional<std::size_t> selected = std::nullopt);
    void ShowOptions();
    void ShowRegexTool();
    std::vector<std::size_t> SelectedFiles() const;
    std::optional<std::size_t> FileAtCaret() const;
    std::optional<std::size_t> SelectedChainRow() const;
    HWND Control(int id) const { return ::GetDlgItem(dialog_, id); }

    StartUp startUp_;
    HWND dialog_ = nullptr;
    HICON largeIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    CheckList functionList_;
    std::unique_ptr<WindowFace> face_;
    std::unique_ptr<host::PluginMessageRoute> messageRoute_;
    std::unique_ptr<host::Workbench> workbench_;
    std::thread runThread_;
    bool running_ = false;
    bool closed_ = false;
};

// The program: the main window until it closes. Common controls and COM are made ready on the
// calling thread first.
int RunMainWindow(HINSTANCE instance, StartUp startUp);

}  // namespace win32gui
