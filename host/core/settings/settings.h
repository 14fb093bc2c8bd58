// The settings: the ini file's section "Settings" and the window placement, and the
// settings-list files (".pzl") that hold a whole working set (options, file list and chain).
//
// The operations work on a ProfileFile in memory; the caller reads the file, calls them and
// saves it (the profile "pointed at" a file is the ProfileFile passed in). A
// typical use by the window:
//
//     const std::string ini = host::IniFilePath(platform::ExecutablePath());
//     host::ProfileFile profile = host::ProfileFile::Read(ini);       // start-up
//     auto placement = host::RestoreWindowPlacement(profile);         // apply when present
//     host::LoadSettings(profile, options);
//     ...
//     host::ProfileFile profile = host::ProfileFile::Read(ini);       // closing
//     host::SaveSettings(profile, options);
//     host::SaveWindowPlacement(profile, placement);
//     host::SaveIniFile(profile, ini);                                // failure: silently ignored
//
//     auto dropped = host::LoadSettingsListFile(path, options, files, functions, chain);
//     auto saved = host::SaveSettingsList(path, options, files, chain);
//     if (!saved.ok) { box titled texts::kTitleError with texts::SettingsListNotSaved(...) }
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/core/files/file_list.h"
#include "host/core/plugins/function_entry.h"
#include "host/core/settings/profile_file.h"
#include "host/core/run/run_options.h"

namespace host {

// Section and key names ("RegExp List" is the regular-expression tool's history, with the
// keys "regexp1".."regexp8").
inline constexpr const char* kSettingsSection = "Settings";
inline constexpr const char* kOutputFolderKey = "OutputFolder";
inline constexpr const char* kTablePathKey = "TablePath";
inline constexpr const char* kOverWriteKey = "OverWrite";
inline constexpr const char* kNoOutputKey = "NoOutput";
inline constexpr const char* kWindowKey = "Window";
inline constexpr const char* kFilesSection = "Files";
inline constexpr const char* kFunctionsSection = "Functions";
inline constexpr const char* kCountKey = "Count";
inline constexpr const char* kRegExpListSection = "RegExp List";

// --- The ini file's location ----------------------------------------------------------------

// The ini file's name: the executable's file name with everything from its last "." on
// replaced by ".ini" ("polyshift" -> "polyshift.ini", "polyshift.bin" -> "polyshift.ini").
std::string IniFileName(std::string_view executablePath);

// Whether the program may create and replace files in `folder` (access(2) with W_OK: the
// effective user's rights and a read-only file system both count).
bool IsFolderWritable(const std::string& folder);

// The user's configuration folder: $XDG_CONFIG_HOME when it is an absolute path, else
// $HOME/.config (the password database's home folder when HOME is unset or empty).
std::string ConfigHome();

// The ini file of the program at `executablePath`: beside the executable when its folder is
// writable (the build tree, a portable copy), else ConfigHome()/polyshift/<IniFileName>.
// Loading and saving both take the path from here. `writable` decides what counts as a
// writable folder (tests pass their own).
using FolderWritableCheck = std::function<bool(const std::string& folder)>;
std::string IniFilePath(const std::string& executablePath,
                        const FolderWritableCheck& writable = IsFolderWritable);

// Saves the ini file, creating its folder (and the folders above it) first when missing.
WriteResult SaveIniFile(const ProfileFile& profile, const std::string& iniPath);

// --- The desktop folder ---------------------------------------------------------------------

// The default of OutputFolder: XDG_DESKTOP_DIR of ConfigHome()/user-dirs.dirs with "$HOME"
// expanded, when that folder exists; else $HOME/Desktop when that one exists; else the home
// folder itself (empty when there is none).
std::string DesktopFolder();

// --- Section "Settings" -------------------------------------------------------------------

// Reads the four options: OutputFolder (default `desktopFolder`), TablePath (default empty),
// OverWrite and NoOutput (on only when the value is exactly 1; default off).
void LoadSettings(const ProfileFile& profile, RunOptions& options,
                  const std::string& desktopFolder);
// The same with DesktopFolder() as the default of OutputFolder.
void LoadSettings(const ProfileFile& profile, RunOptions& options);

// Writes OutputFolder, TablePath, OverWrite and NoOutput ("1" or "0"), in that order.
// Returns false when a folder or table path cannot be kept in a profile (a line break, or
// bytes that are not UTF-8); the other keys are written all the same.
bool SaveSettings(ProfileFile& profile, const RunOptions& options);

// --- Window placement -----------------------------------------------------------------------

// The 44-byte record of the Windows WINDOWPLACEMENT structure: eleven 32-bit little-endian
// words.
using PlacementBytes = std::array<std::uint8_t, 44>;

struct WindowPlacement {
    // showCommand values as Windows has them; flags: 2 = restore to maximized.
    static constexpr std::uint32_t kShowNormal = 1;
    static constexpr std::uint32_t kShowMinimized = 2;
    static constexpr std::uint32_t kShowMaximized = 3;
    static constexpr std::uint32_t kRestoreToMaximized = 2;

    std::uint32_t length = 44;
    std::uint32_t flags = 0;
    std::uint32_t showCommand = kShowNormal;
    std::int32_t minX = 0, minY = 0;                        // minimized position
    std::int32_t maxX = 0, maxY = 0;                        // maximized position
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;  // normal position

    PlacementBytes ToBytes() const;
    static WindowPlacement FromBytes(const PlacementBytes& bytes);
    bool operator==(const WindowPlacement&) const = default;
};

// Each byte as two letters: "A" + low four bits, then "A" + high four bits (0x2C -> "MC").
std::string EncodePlacement(const PlacementBytes& bytes);
// The reverse; nothing unless `letters` is exactly 88 letters, each "A" to "P".
std::optional<PlacementBytes> DecodePlacement(std::string_view letters);

// Settings/Window when it decodes to 44 bytes; nothing otherwise (keep the default placement).
std::optional<WindowPlacement> RestoreWindowPlacement(const ProfileFile& profile);
void SaveWindowPlacement(ProfileFile& profile, const WindowPlacement& placement);

// --- Settings lists (".pzl") ----------------------------------------------------------------

struct SettingsListLoad {
    // Titles of the section Functions that no function-list item begins with, in file order,
    // in Shift JIS like every title (empty titles included: an empty title names nothing).
    std::vector<std::string> droppedTitles;
};

// Replaces options, file list and chain by those of `list`:
// the options as LoadSettings reads them; Files/Count paths "file0".. added to the emptied
// file list unchanged (a missing key gives an empty path), each with the folder argument
// "folder0".. of the same number when there is one; every check mark of `functions`
// cleared; for each title "function0".. the first item whose title begins with it (ASCII
// letters without case, compared as Shift JIS bytes) gets checked and the title as read is
// appended to the emptied chain with that item's entry. A negative or missing Count reads
// none. A damaged or hostile Count is bounded: no more entries are read than the section has
// keys, and none past the highest numbered key present (a key missing below it still gives
// an empty entry).
SettingsListLoad LoadSettingsList(const ProfileFile& list, RunOptions& options, FileList& files,
                                  FunctionList& functions, Chain& chain,
                                  const std::string& desktopFolder);
SettingsListLoad LoadSettingsList(const ProfileFile& list, RunOptions& options, FileList& files,
                                  FunctionList& functions, Chain& chain);

// The same from the file at `path`; a file that cannot be read gives the defaults and empty
// lists, as the Windows program does (`failure`, when given, receives the system's reason then).
SettingsListLoad LoadSettingsListFile(const std::string& path, RunOptions& options, FileList& files,
                                      FunctionList& functions, Chain& chain,
                                      std::string* failure = nullptr);

struct SettingsListSave {
    bool ok = true;
    std::string reason;  // why the file was not written (UTF-8), empty when ok
};

// Writes options, file list and chain into `list`: the four
// options in Settings, the sections Files and Functions deleted and written anew (Count, then
// "file0".. / "function0".. in list and chain order; titles turned from Shift JIS into UTF-8).
// A path found below a folder argument is followed by "folder0".. naming that folder, so that
// a run from the list keeps the tree below it; programs that do not know the key pass it by.
// Everything else in the profile stays. Fails, changing nothing, when a path cannot be kept
// in a profile (a line break in it, or bytes that are not UTF-8).
SettingsListSave WriteSettingsList(ProfileFile& list, const RunOptions& options,
                                   const FileList& files, const Chain& chain);

// Reads the file at `path` (when there is one), writes the settings list into it and saves it
// through a temporary file and a rename: the old file stays whole when the save fails. The
// result carries the reason of a failure, for the user to see.
SettingsListSave SaveSettingsList(const std::string& path, const RunOptions& options,
                                  const FileList& files, const Chain& chain);

}  // namespace host
