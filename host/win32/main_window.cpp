#include "host/win32/main_window.h"

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include "host/layout/main_dialog.h"
#include "host/layout/main_menu.h"
#include "host/win32/static_text.h"
#include "host/win32/window_placement.h"
#include "host/win32/window_text.h"
#include "platform/win32/wide_text.h"

namespace win32gui {
namespace {
namespace id = layout::main_control;
}  // namespace

MainWindow::MainWindow(StartUp startUp) : startUp_(std::move(startUp)) {}

MainWindow::~MainWindow() {
    if (runThread_.joinable()) {
        runThread_.join();
    }
    for (HICON icon : {largeIcon_, smallIcon_}) {
        if (icon != nullptr) {
            ::DestroyIcon(icon);
        }
    }
}

bool MainWindow::Run(HINSTANCE instance) {
    return ::DialogBoxParamW(instance, MAKEINTRESOURCEW(layout::kMainDialog.resourceId), nullptr,
                             Procedure, reinterpret_cast<LPARAM>(this)) != -1;
}

INT_PTR CALLBACK MainWindow::Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* window = reinterpret_cast<MainWindow*>(lParam);
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        window->dialog_ = dialog;
        window->OnInit();
        return TRUE;
    }
    if (message == WM_MEASUREITEM) {
        // Comes while the controls are made, before WM_INITDIALOG.
        CheckList::Measure(dialog, *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
        return TRUE;
    }
    auto* window = reinterpret_cast<MainWindow*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    return window == nullptr ? FALSE : window->Handle(message, wParam, lParam);
}

INT_PTR MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WindowFace::kQueueMessage:
            face_->DrainQueue();
            return TRUE;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == static_cast<WPARAM>(layout::kSystemMenuAbout.commandId)) {
                OnToolCommand(layout::command::kAbout);
                return TRUE;
            }
            return FALSE;
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item.CtlID == static_cast<UINT>(id::kFunctionList)) {
                functionList_.Draw(item);
                return TRUE;
            }
            return FALSE;
        }
        case WM_DROPFILES:
            OnDrop(reinterpret_cast<HDROP>(wParam));
            return TRUE;
        case WM_SETCURSOR:
            if (face_ != nullptr && face_->waiting()) {
                ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
                ::SetWindowLongPtrW(dialog_, DWLP_MSGRESULT, TRUE);
                return TRUE;
            }
            return FALSE;
        case WM_CLOSE:
            Close();
            return TRUE;
        default:
            return FALSE;
    }
}

void MainWindow::OnInit() {
    // The system menu's About item, under a separator.
    std::wstring about(64, L'\0');
    about.resize(static_cast<std::size_t>(
        ::LoadStringW(::GetModuleHandleW(nullptr), layout::kSystemMenuAbout.stringId, about.data(),
                      static_cast<int>(about.size()))));
    if (HMENU system = ::GetSystemMenu(dialog_, FALSE); system != nullptr && !about.empty()) {
        ::AppendMenuW(system, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuW(system, MF_STRING, static_cast<UINT_PTR>(layout::kSystemMenuAbout.commandId),
                      about.c_str());
    }
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    const auto icon = [instance](int metricX, int metricY) {
        return static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(layout::kProgramIconId),
                                               IMAGE_ICON, ::GetSystemMetrics(metricX),
                                               ::GetSystemMetrics(metricY), LR_DEFAULTCOLOR));
    };
    largeIcon_ = icon(SM_CXICON, SM_CYICON);
    smallIcon_ = icon(SM_CXSMICON, SM_CYSMICON);
    ::SendMessageW(dialog_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon_));
    ::SendMessageW(dialog_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));

    WidenChoicesToFitText(dialog_);
    face_ = std::make_unique<WindowFace>(dialog_);
    messageRoute_ = std::make_unique<host::PluginMessageRoute>(*face_);
    workbench_ = std::make_unique<host::Workbench>(startUp_.programFolder, startUp_.iniPath,
                                                   *face_, *face_);
    functionList_.Attach(Control(id::kFunctionList), [this](int item) {
        const host::FunctionList& functions = workbench_->functions();
        return item >= 0 && static_cast<std::size_t>(item) < functions.size() &&
               functions[static_cast<std::size_t>(item)].checked;
    });
    if (const auto placement = workbench_->SavedPlacement()) {
        ApplyPlacement(dialog_, *placement);
    }
    workbench_->Start(startUp_.commandLinePaths);
    ShowRegexTool();
    ShowAll();
    ::DragAcceptFiles(dialog_, TRUE);
}

void MainWindow::Close() {
    if (running_ || closed_) {
        return;  // a run holds the window until it ends
    }
    closed_ = true;
    ::DragAcceptFiles(dialog_, FALSE);
    workbench_->Close(PlacementOf(dialog_));
    messageRoute_.reset();
    ::EndDialog(dialog_, 0);
}

void MainWindow::OnDrop(HDROP drop) {
    if (running_) {
        ::DragFinish(drop);
        return;
    }
    ::SetForegroundWindow(dialog_);
    std::vector<std::string> paths;
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring path(static_cast<std::size_t>(::DragQueryFileW(drop, i, nullptr, 0)) + 1,
                          L'\0');
        path.resize(::DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
        paths.push_back(Utf8(path));
    }
    ::DragFinish(drop);
    workbench_->AddDroppedPaths(paths);
    ShowFiles();
}

void MainWindow::StartRun() {
    if (running_) {
        return;
    }
    running_ = true;
    face_->SetRunning(true);
    runThread_ = std::thread([this] {
        workbench_->RunBatch();
        face_->Queue([this] { OnRunFinished(); });
    });
}

void MainWindow::OnRunFinished() {
    runThread_.join();
    running_ = false;
    face_->SetRunning(false);
    ShowOptions();  // a table chosen during the run stays chosen
}

void MainWindow::ReloadPlugins() {
    workbench_->ReloadPlugins();
    ShowRegexTool();
    ShowFunctions();
    ShowChain();
}

void MainWindow::ShowRegexTool() {
    // The Tools menu item follows the rulebook library of the tool.
    const bool available = workbench_->registry().regexToolAvailable();
    ::EnableMenuItem(::GetMenu(dialog_), layout::command::kRegexConversion,
                     MF_BYCOMMAND | (available ? MF_ENABLED : MF_GRAYED));
    ::DrawMenuBar(dialog_);
}

int RunMainWindow(HINSTANCE instance, StartUp startUp) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bool shown = false;
    {
        MainWindow window(std::move(startUp));
        shown = window.Run(instance);
    }
    if (!shown) {
        // Without its dialog the program has nothing to show but the system's reason.
        const std::string reason = platform::win32::SystemErrorText(::GetLastError());
        ::MessageBoxW(nullptr, Wide(reason).c_str(), Wide(layout::kMainDialog.title).c_str(),
                      MB_ICONSTOP | MB_OK);
    }
    if (SUCCEEDED(com)) {
        ::CoUninitialize();
    }
    return shown ? 0 : 1;
}

}  // namespace win32gui
