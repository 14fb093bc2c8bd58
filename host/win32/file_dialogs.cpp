#include "host/win32/file_dialogs.h"

#include <commdlg.h>
#include <shlobj.h>

#include "host/win32/window_text.h"

namespace win32gui {
namespace {

// Room for the names of many files chosen at once.
constexpr std::size_t kManyFilesBuffer = 65535;
// Room for one path, long paths included.
constexpr std::size_t kOnePathBuffer = 32768;

struct FileDialogSetup {
    std::wstring title;
    std::wstring defaultExtension;
    std::wstring filter;
    std::wstring buffer;
    OPENFILENAMEW fields{};
};

void SetUp(FileDialogSetup& setup, HWND owner, const layout::FileDialog& layout,
           std::size_t bufferSize, const std::string& initialPath, DWORD flags) {
    if (layout.title != nullptr) {
        setup.title = Wide(layout.title);
    }
    if (layout.defaultExtension != nullptr) {
        setup.defaultExtension = Wide(layout.defaultExtension);
    }
    setup.filter = FilterText(layout.filters);
    setup.buffer = Wide(initialPath);
    setup.buffer.resize(std::max(bufferSize, setup.buffer.size() + 1), L'\0');
    OPENFILENAMEW& fields = setup.fields;
    fields.lStructSize = sizeof fields;
    fields.hwndOwner = owner;
    fields.lpstrFilter = setup.filter.c_str();
    fields.nFilterIndex = 1;
    fields.lpstrFile = setup.buffer.data();
    fields.nMaxFile = static_cast<DWORD>(setup.buffer.size());
    fields.lpstrTitle = setup.title.empty() ? nullptr : setup.title.c_str();
    fields.lpstrDefExt = setup.defaultExtension.empty() ? nullptr : setup.defaultExtension.c_str();
    fields.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | flags;
}

std::optional<std::string> OneFile(HWND owner, const layout::FileDialog& layout,
                                   const std::string& initialPath, bool forSaving) {
    FileDialogSetup setup;
    SetUp(setup, owner, layout, kOnePathBuffer, initialPath,
          forSaving ? OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST
                    : OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
    const BOOL chosen =
        forSaving ? ::GetSaveFileNameW(&setup.fields) : ::GetOpenFileNameW(&setup.fields);
    if (!chosen) {
        return std::nullopt;
    }
    return Utf8(setup.buffer.c_str());
}

int CALLBACK StartFolder(HWND browser, UINT message, LPARAM /*unused*/, LPARAM start) {
    if (message == BFFM_INITIALIZED && start != 0) {
        ::SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, start);
    }
    return 0;
}

}  // namespace

std::wstring FilterText(std::span<const layout::FileFilter> filters) {
    std::wstring text;
    for (const layout::FileFilter& filter : filters) {
        text += Wide(filter.label);
        text += L'\0';
        text += Wide(filter.patterns);
        text += L'\0';
    }
    text += L'\0';
    return text;
}

std::vector<std::wstring> ChosenPaths(std::wstring_view buffer) {
    std::vector<std::wstring_view> parts;
    while (!buffer.empty() && buffer.front() != L'\0') {
        const std::size_t end = std::min(buffer.find(L'\0'), buffer.size());
        parts.push_back(buffer.substr(0, end));
        buffer.remove_prefix(std::min(end + 1, buffer.size()));
    }
    if (parts.size() <= 1) {
        return {parts.begin(), parts.end()};
    }
    std::wstring folder(parts.front());
    if (folder.back() != L'\\') {
        folder += L'\\';
    }
    std::vector<std::wstring> paths;
    for (auto name = parts.begin() + 1; name != parts.end(); ++name) {
        paths.push_back(folder + std::wstring(*name));
    }
    return paths;
}

std::vector<std::string> ChooseFilesToAdd(HWND owner) {
    FileDialogSetup setup;
    SetUp(setup, owner, layout::kAddFilesDialog, kManyFilesBuffer, {},
          OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
    std::vector<std::string> paths;
    if (::GetOpenFileNameW(&setup.fields)) {
        for (const std::wstring& path : ChosenPaths(setup.buffer)) {
            paths.push_back(Utf8(path));
        }
    }
    return paths;
}

std::optional<std::string> SelectTableFile(HWND owner, const std::string& current) {
    return OneFile(owner, layout::kTableDialog, current, false);
}

std::optional<std::string> ChooseSettingsList(HWND owner, SettingsListUse use) {
    return OneFile(owner, layout::kSettingsListDialog, {}, use == SettingsListUse::kSave);
}

std::optional<std::string> BrowseForFolder(HWND owner, const std::string& current) {
    PIDLIST_ABSOLUTE desktop = nullptr;
    ::SHGetSpecialFolderLocation(owner, CSIDL_DESKTOP, &desktop);
    const std::wstring title = Wide(layout::kFolderBrowserTitle);
    const std::wstring start = Wide(current);
    wchar_t displayName[MAX_PATH] = {};
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.pidlRoot = desktop;
    info.pszDisplayName = displayName;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = StartFolder;
    info.lParam = start.empty() ? 0 : reinterpret_cast<LPARAM>(start.c_str());
    PIDLIST_ABSOLUTE chosen = ::SHBrowseForFolderW(&info);
    std::optional<std::string> folder;
    if (chosen != nullptr) {
        std::wstring path(kOnePathBuffer, L'\0');
        if (::SHGetPathFromIDListEx(chosen, path.data(), static_cast<DWORD>(path.size()), 0)) {
            folder = Utf8(path.c_str());
        }
        ::CoTaskMemFree(chosen);
    }
    ::CoTaskMemFree(desktop);
    return folder;
}

}  // namespace win32gui
