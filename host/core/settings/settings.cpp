#include "host/core/settings/settings.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/wide_text.h"
#else
#include <pwd.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "host/core/plugins/function_lookup.h"
#include "platform/folder.h"
#include "platform/paths.h"
#include "platform/text_encoding.h"
#include "platform/utf8_path.h"
#include "platform/utf8_text.h"

namespace host {
namespace {

#ifdef _WIN32
// The variable's value in UTF-8 (the narrow environment is in the system's code page).
std::string Environment(const char* name) {
    const auto wideName = platform::win32::WideFromUtf8(name);
    const wchar_t* value = wideName ? ::_wgetenv(wideName->c_str()) : nullptr;
    return value == nullptr ? std::string() : platform::win32::Utf8FromWide(value);
}

std::string HomeFolder() { return Environment("USERPROFILE"); }
#else
std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

std::string HomeFolder() {
    std::string home = Environment("HOME");
    if (!home.empty()) {
        return home;
    }
    if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir) {
        return entry->pw_dir;
    }
    return {};
}
#endif

// The value of XDG_DESKTOP_DIR in the text of a user-dirs.dirs file (a shell fragment:
// NAME="value", with "$HOME" at the start standing for the home folder); the last assignment
// counts. Nothing when the file does not set it to a usable path.
std::optional<std::string> DesktopFromUserDirs(std::string_view text, const std::string& home) {
    std::optional<std::string> found;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) {
            line.remove_prefix(1);
        }
        constexpr std::string_view kName = "XDG_DESKTOP_DIR=";
        if (line.substr(0, kName.size()) != kName) {
            continue;
        }
        line.remove_prefix(kName.size());
        std::string value;
        if (!line.empty() && line.front() == '"') {
            line.remove_prefix(1);
            bool closed = false;
            for (std::size_t i = 0; i < line.size(); ++i) {
                if (line[i] == '\\' && i + 1 < line.size()) {
                    value += line[++i];
                } else if (line[i] == '"') {
                    closed = true;
                    break;
                } else {
                    value += line[i];
                }
            }
            if (!closed) {
                continue;
            }
        } else {
            while (!line.empty() &&
                   (line.back() == ' ' || line.back() == '\t' || line.back() == '\r')) {
                line.remove_suffix(1);
            }
            value = line;
        }
        for (const std::string_view variable :
             {std::string_view("${HOME}"), std::string_view("$HOME")}) {
            if (value.compare(0, variable.size(), variable) == 0 &&
                (value.size() == variable.size() || value[variable.size()] == '/')) {
                if (home.empty()) {
                    value.clear();
                } else {
                    value = home + value.substr(variable.size());
                }
                break;
            }
        }
        if (!value.empty() && value.front() == '/') {
            while (value.size() > 1 && value.back() == '/') {
                value.pop_back();
            }
            found = value;
        }
    }
    return found;
}

bool IsOn(const ProfileFile& profile, const char* key) {
    return profile.GetInteger(kSettingsSection, key, 0) == 1;
}

std::string NumberedKey(const char* stem, std::size_t i) {
    return stem + std::to_string(i);
}

// How many numbered entries ("file0", "file1", ...) of `section` to read. The format asks
// for Count of them, a missing key giving an empty entry; but a damaged or hostile Count
// ("Count=4000000000") must not make millions of empty entries. So no more are read than
// the section has keys, and none past the highest numbered key present: a key missing inside
// that range still reads as empty.
std::size_t EntriesToRead(const ProfileFile& list, const ProfileSection& section,
                          const char* sectionName, std::string_view stem) {
    const long long count = list.GetInteger(sectionName, kCountKey, 0);
    if (count <= 0) {
        return 0;
    }
    const std::size_t limit = std::min(static_cast<unsigned long long>(count),
                                       static_cast<unsigned long long>(section.keyCount()));
    std::size_t highest = 0;  // one past the highest index present below `limit`
    for (const std::string& key : section.FoldedKeys()) {
        if (key.size() <= stem.size() || key.compare(0, stem.size(), stem) != 0 ||
            (key[stem.size()] == '0' && key.size() > stem.size() + 1)) {
            continue;  // not "stem" + a decimal number as "%ld" writes it
        }
        std::size_t index = 0;
        bool number = true;
        for (std::size_t i = stem.size(); i < key.size() && number; ++i) {
            number = key[i] >= '0' && key[i] <= '9' && index < limit;
            index = index * 10 + static_cast<std::size_t>(key[i] - '0');
        }
        if (number && index < limit) {
            highest = std::max(highest, index + 1);
        }
    }
    return highest;
}

}  // namespace

std::string IniFileName(std::string_view executablePath) {
    const std::string_view name = platform::FileNameOf(executablePath);
    const auto dot = name.rfind('.');
    return std::string(name.substr(0, dot)) + ".ini";
}

#ifdef _WIN32
// Windows has no cheap test for the right to create files in a folder (a folder's read-only
// attribute means nothing there): a file is made and removed again.
bool IsFolderWritable(const std::string& folder) {
    const auto probe = platform::win32::WidePath(
        platform::JoinPath(folder.empty() ? "." : folder, ".polyshift-write-test"));
    if (!probe) {
        return false;
    }
    HANDLE file = ::CreateFileW(probe->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return ::GetLastError() == ERROR_FILE_EXISTS;
    }
    ::CloseHandle(file);
    return true;
}

// Settings that cannot live beside the program go to %APPDATA%\Polyshift.
constexpr const char* kConfigFolderName = "Polyshift";

std::string ConfigHome() {
    const std::string appData = Environment("APPDATA");
    return !appData.empty() ? appData : platform::JoinPath(HomeFolder(), "AppData\\Roaming");
}
#else
constexpr const char* kConfigFolderName = "polyshift";

bool IsFolderWritable(const std::string& folder) {
    return ::access(folder.empty() ? "." : folder.c_str(), W_OK | X_OK) == 0;
}

std::string ConfigHome() {
    const std::string xdg = Environment("XDG_CONFIG_HOME");
    if (!xdg.empty() && xdg.front() == '/') {
        return xdg;
    }
    return platform::JoinPath(HomeFolder(), ".config");
}
#endif

std::string IniFilePath(const std::string& executablePath, const FolderWritableCheck& writable) {
    const std::string folder = platform::RemoveFileName(executablePath);
    const std::string name = IniFileName(executablePath);
    if (writable(folder)) {
        return platform::JoinPath(folder, name);
    }
    return platform::JoinPath(platform::JoinPath(ConfigHome(), kConfigFolderName), name);
}

WriteResult SaveIniFile(const ProfileFile& profile, const std::string& iniPath) {
    const std::string folder = platform::RemoveFileName(iniPath);
    if (!folder.empty()) {
        std::error_code error;
        std::filesystem::create_directories(platform::PathFromUtf8(folder), error);
        if (error) {
            return WriteResult{WriteStatus::kCannotCreate, error.message()};
        }
    }
    return profile.Save(iniPath);
}

std::string DesktopFolder() {
    const std::string home = HomeFolder();
    const auto dirs = ReadWholeFile(platform::JoinPath(ConfigHome(), "user-dirs.dirs"), 1 << 20);
    if (dirs.status == ReadStatus::kOk) {
        const std::string_view text(reinterpret_cast<const char*>(dirs.bytes.data()),
                                    dirs.bytes.size());
        if (auto desktop = DesktopFromUserDirs(text, home);
            desktop && platform::IsFolder(*desktop)) {
            return *desktop;
        }
    }
    if (home.empty() || !platform::IsFolder(home)) {
        return {};
    }
    // A fresh account or a server may have no desktop yet: the home folder stands in for it.
    const std::string desktop = platform::JoinPath(home, "Desktop");
    return platform::IsFolder(desktop) ? desktop : home;
}

void LoadSettings(const ProfileFile& profile, RunOptions& options,
                  const std::string& desktopFolder) {
    options.outputFolder = profile.GetString(kSettingsSection, kOutputFolderKey, desktopFolder);
    options.tablePath = profile.GetString(kSettingsSection, kTablePathKey, "");
    options.overWrite = IsOn(profile, kOverWriteKey);
    options.noOutput = IsOn(profile, kNoOutputKey);
}

void LoadSettings(const ProfileFile& profile, RunOptions& options) {
    LoadSettings(profile, options, DesktopFolder());
}

bool SaveSettings(ProfileFile& profile, const RunOptions& options) {
    bool ok = profile.SetString(kSettingsSection, kOutputFolderKey, options.outputFolder);
    ok = profile.SetString(kSettingsSection, kTablePathKey, options.tablePath) && ok;
    profile.SetString(kSettingsSection, kOverWriteKey, options.overWrite ? "1" : "0");
    profile.SetString(kSettingsSection, kNoOutputKey, options.noOutput ? "1" : "0");
    return ok;
}

PlacementBytes WindowPlacement::ToBytes() const {
    const std::uint32_t words[11] = {
        length,
        flags,
        showCommand,
        static_cast<std::uint32_t>(minX),
        static_cast<std::uint32_t>(minY),
        static_cast<std::uint32_t>(maxX),
        static_cast<std::uint32_t>(maxY),
        static_cast<std::uint32_t>(left),
        static_cast<std::uint32_t>(top),
        static_cast<std::uint32_t>(right),
        static_cast<std::uint32_t>(bottom),
    };
    PlacementBytes bytes{};
    for (std::size_t w = 0; w < 11; ++w) {
        for (std::size_t b = 0; b < 4; ++b) {
            bytes[w * 4 + b] = static_cast<std::uint8_t>(words[w] >> (8 * b));
        }
    }
    return bytes;
}

WindowPlacement WindowPlacement::FromBytes(const PlacementBytes& bytes) {
    std::uint32_t words[11];
    for (std::size_t w = 0; w < 11; ++w) {
        words[w] = 0;
        for (std::size_t b = 0; b < 4; ++b) {
            words[w] |= static_cast<std::uint32_t>(bytes[w * 4 + b]) << (8 * b);
        }
    }
    WindowPlacement placement;
    placement.length = words[0];
    placement.flags = words[1];
    placement.showCommand = words[2];
    placement.minX = static_cast<std::int32_t>(words[3]);
    placement.minY = static_cast<std::int32_t>(words[4]);
    placement.maxX = static_cast<std::int32_t>(words[5]);
    placement.maxY = static_cast<std::int32_t>(words[6]);
    placement.left = static_cast<std::int32_t>(words[7]);
    placement.top = static_cast<std::int32_t>(words[8]);
    placement.right = static_cast<std::int32_t>(words[9]);
    placement.bottom = static_cast<std::int32_t>(words[10]);
    return placement;
}

std::string EncodePlacement(const PlacementBytes& bytes) {
    std::string letters;
    letters.reserve(bytes.size() * 2);
    for (const std::uint8_t byte : bytes) {
        letters += static_cast<char>('A' + (byte & 0x0F));
        letters += static_cast<char>('A' + (byte >> 4));
    }
    return letters;
}

std::optional<PlacementBytes> DecodePlacement(std::string_view letters) {
    PlacementBytes bytes{};
    if (letters.size() != bytes.size() * 2) {
        return std::nullopt;
    }
    for (const char c : letters) {
        if (c < 'A' || c > 'P') {
            return std::nullopt;
        }
    }
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] =
            static_cast<std::uint8_t>((letters[2 * i + 1] - 'A') * 16 + (letters[2 * i] - 'A'));
    }
    return bytes;
}

std::optional<WindowPlacement> RestoreWindowPlacement(const ProfileFile& profile) {
    const auto letters = profile.Find(kSettingsSection, kWindowKey);
    if (!letters) {
        return std::nullopt;
    }
    const auto bytes = DecodePlacement(*letters);
    if (!bytes) {
        return std::nullopt;
    }
    return WindowPlacement::FromBytes(*bytes);
}

void SaveWindowPlacement(ProfileFile& profile, const WindowPlacement& placement) {
    profile.SetString(kSettingsSection, kWindowKey, EncodePlacement(placement.ToBytes()));
}

SettingsListLoad LoadSettingsList(const ProfileFile& list, RunOptions& options, FileList& files,
                                  FunctionList& functions, Chain& chain,
                                  const std::string& desktopFolder) {
    SettingsListLoad result;
    LoadSettings(list, options, desktopFolder);

    const ProfileSection fileSection = list.Section(kFilesSection);
    const std::size_t fileCount = EntriesToRead(list, fileSection, kFilesSection, "file");
    files.Clear();
    for (std::size_t i = 0; i < fileCount; ++i) {
        files.Add(fileSection.Find(NumberedKey("file", i)).value_or(std::string()),
                  fileSection.Find(NumberedKey("folder", i)).value_or(std::string()));
    }

    for (auto& item : functions) {
        item.checked = false;
    }
    const ProfileSection functionSection = list.Section(kFunctionsSection);
    const std::size_t functionCount =
        EntriesToRead(list, functionSection, kFunctionsSection, "function");
    chain.clear();
    for (std::size_t i = 0; i < functionCount; ++i) {
        std::string title =
            functionSection.FindCp932(NumberedKey("function", i)).value_or(std::string());
        const auto found = title.empty() ? std::nullopt : FindFunctionByTitle(functions, title);
        if (!found) {
            result.droppedTitles.push_back(std::move(title));
            continue;
        }
        auto& item = functions[*found];
        item.checked = true;
        chain.push_back({std::move(title), item.entry.get()});
    }
    return result;
}

SettingsListLoad LoadSettingsList(const ProfileFile& list, RunOptions& options, FileList& files,
                                  FunctionList& functions, Chain& chain) {
    return LoadSettingsList(list, options, files, functions, chain, DesktopFolder());
}

SettingsListLoad LoadSettingsListFile(const std::string& path, RunOptions& options, FileList& files,
                                      FunctionList& functions, Chain& chain, std::string* failure) {
    return LoadSettingsList(ProfileFile::Read(path, failure), options, files, functions, chain);
}

SettingsListSave WriteSettingsList(ProfileFile& list, const RunOptions& options,
                                   const FileList& files, const Chain& chain) {
    SettingsListSave result;
    // Everything is checked before anything changes, so that a refusal leaves `list` as it was.
    auto refuse = [&](const std::string& what, const std::string& value) {
        result.ok = false;
        result.reason = what +
                        " cannot be kept in a settings list (it holds a line break or "
                        "bytes that are not UTF-8): " +
                        (platform::IsWellFormedUtf8(value) ? value : platform::Cp932ToUtf8(value));
        return result;
    };
    auto storable = [](const std::string& value) {
        return value.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos &&
               platform::IsWellFormedUtf8(value);
    };
    if (!storable(options.outputFolder)) {
        return refuse("The output folder", options.outputFolder);
    }
    if (!storable(options.tablePath)) {
        return refuse("The table path", options.tablePath);
    }
    std::vector<std::pair<std::string, std::string>> fileEntries;
    fileEntries.reserve(files.size() + 1);
    fileEntries.emplace_back(kCountKey, std::to_string(files.size()));
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (!storable(files[i])) {
            return refuse("The path", files[i]);
        }
        fileEntries.emplace_back(NumberedKey("file", i), files[i]);
        if (const std::string& folder = files.folderOf(i); !folder.empty()) {
            if (!storable(folder)) {
                return refuse("The folder", folder);
            }
            fileEntries.emplace_back(NumberedKey("folder", i), folder);
        }
    }
    std::vector<std::pair<std::string, std::string>> functionEntries;
    functionEntries.reserve(chain.size() + 1);
    functionEntries.emplace_back(kCountKey, std::to_string(chain.size()));
    for (std::size_t i = 0; i < chain.size(); ++i) {
        std::string title = platform::Cp932ToUtf8(chain[i].title);
        if (!storable(title)) {
            return refuse("The function title", title);
        }
        functionEntries.emplace_back(NumberedKey("function", i), std::move(title));
    }

    SaveSettings(list, options);
    list.DeleteSection(kFilesSection);
    list.DeleteSection(kFunctionsSection);
    list.WriteSection(kFilesSection, fileEntries);
    list.WriteSection(kFunctionsSection, functionEntries);
    return result;
}

SettingsListSave SaveSettingsList(const std::string& path, const RunOptions& options,
                                  const FileList& files, const Chain& chain) {
    // What else the file holds is kept; a file that cannot be read is written anew.
    ProfileFile list = ProfileFile::Read(path);
    SettingsListSave result = WriteSettingsList(list, options, files, chain);
    if (!result.ok) {
        return result;
    }
    const WriteResult written = list.Save(path);
    if (written.status != WriteStatus::kOk) {
        result.ok = false;
        result.reason =
            written.reason.empty() ? std::string("the file could not be written") : written.reason;
    }
    return result;
}

}  // namespace host
