// Settings: the ini file's location and options, window placement, settings lists.
#include <gtest/gtest.h>
#ifdef _WIN32
#include <stdlib.h>
#include <windows.h>

#include "platform/win32/wide_text.h"
#else
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#endif
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>

#include "host/core/run/conversion_run.h"
#include "host/core/plugins/function_lookup.h"
#include "host/core/plugins/plugin_registry.h"
#include "host/core/settings/settings.h"
#include "host_fixture.h"
#include "platform/message_box.h"
#include "platform/utf8_path.h"
#include "platform/utf8_text.h"
#include "scripted_ui.h"
#include "support/sample_text.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using host::ProfileFile;
using testing_support::ReadFile;
using testing_support::Sjis;
using testing_support::TempFolder;

#ifdef _WIN32
// Where settings go when the program's folder cannot take them, and the home folder.
constexpr const char* kConfigVariable = "APPDATA";
constexpr const char* kHomeVariable = "USERPROFILE";

// The environment as the program reads it on Windows: wide, in UTF-8 here; empty removes.
const char* GetEnvironment(const char* name) {
    static std::string value;
    const wchar_t* wide = ::_wgetenv(platform::win32::WideFromUtf8(name)->c_str());
    value = wide == nullptr ? "" : platform::win32::Utf8FromWide(wide);
    return wide == nullptr ? nullptr : value.c_str();
}

void SetEnvironment(const char* name, const std::string* value) {
    ::_wputenv_s(platform::win32::WideFromUtf8(name)->c_str(),
                 value == nullptr ? L"" : platform::win32::WideFromUtf8(*value)->c_str());
}
#else
constexpr const char* kConfigVariable = "XDG_CONFIG_HOME";
constexpr const char* kHomeVariable = "HOME";

const char* GetEnvironment(const char* name) {
    return std::getenv(name);
}

void SetEnvironment(const char* name, const std::string* value) {
    if (value != nullptr) {
        ::setenv(name, value->c_str(), 1);
    } else {
        ::unsetenv(name);
    }
}
#endif

// Sets an environment variable for one test (each test runs in a process of its own).
class ScopedEnv {
  public:
    ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = GetEnvironment(name)) {
            old_ = old;
        }
        Set(value);
    }
    ~ScopedEnv() { Set(old_); }

  private:
    void Set(const std::optional<std::string>& value) {
        SetEnvironment(name_, value ? &*value : nullptr);
    }
    const char* name_;
    std::optional<std::string> old_;
};

// --- Ini location ---------------------------------------------------------------------------

TEST(IniLocation, NamedAfterTheExecutable) {
    EXPECT_EQ(host::IniFileName("/opt/ps/polyshift"), "polyshift.ini");
    EXPECT_EQ(host::IniFileName("/opt/ps/polyshift.bin"), "polyshift.ini");
    EXPECT_EQ(host::IniFileName("/opt/p.s/renamed"), "renamed.ini");
    EXPECT_EQ(host::IniFileName("/opt/ps/a.b.c"), "a.b.ini");
}

TEST(IniLocation, BesideAWritableExecutable) {
    TempFolder folder;
    EXPECT_EQ(host::IniFilePath(folder.Path("polyshift")), folder.Path("polyshift.ini"));
}

#ifdef _WIN32
TEST(IniLocation, ApplicationDataWhenTheExecutableFolderIsReadOnly) {
    TempFolder folder;
    const auto readOnly = [](const std::string&) { return false; };
    {
        ScopedEnv config("APPDATA", folder.Path("cfg"));
        EXPECT_EQ(host::IniFilePath("C:\\Program Files\\Polyshift\\polyshift.exe", readOnly),
                  folder.Path("cfg/Polyshift/polyshift.ini"));
    }
    ScopedEnv home("USERPROFILE", folder.Path("home"));
    ScopedEnv config("APPDATA", std::nullopt);
    EXPECT_EQ(host::IniFilePath("C:\\Program Files\\Polyshift\\polyshift.exe", readOnly),
              folder.Path("home/AppData/Roaming/Polyshift/polyshift.ini"));
}
#else
TEST(IniLocation, ConfigFolderWhenTheExecutableFolderIsReadOnly) {
    TempFolder folder;
    const auto readOnly = [](const std::string&) { return false; };
    {
        ScopedEnv config("XDG_CONFIG_HOME", folder.str() + "/cfg");
        EXPECT_EQ(host::IniFilePath("/usr/lib/polyshift/polyshift", readOnly),
                  folder.str() + "/cfg/polyshift/polyshift.ini");
    }
    ScopedEnv home("HOME", folder.str() + "/home");
    for (const std::optional<std::string>& value :
         {std::optional<std::string>(), std::optional<std::string>(""),
          std::optional<std::string>("relative/cfg")}) {
        ScopedEnv config("XDG_CONFIG_HOME", value);
        EXPECT_EQ(host::IniFilePath("/usr/lib/polyshift/polyshift", readOnly),
                  folder.str() + "/home/.config/polyshift/polyshift.ini");
    }
}
#endif

TEST(IniLocation, TheCheckIsTheEffectiveUsersRight) {
    TempFolder folder;
    EXPECT_TRUE(host::IsFolderWritable(folder.str()));
    EXPECT_FALSE(host::IsFolderWritable(folder.Path("missing")));
#ifdef _WIN32
    GTEST_SKIP() << "a folder's read-only attribute keeps no file out of it on Windows";
#else
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root may write into a read-only folder; the rule is checked above";
    }
    fs::create_directory(folder.path() / "ro");
    fs::permissions(folder.path() / "ro", fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(host::IsFolderWritable(folder.str() + "/ro"));
    ScopedEnv config("XDG_CONFIG_HOME", folder.str() + "/cfg");
    EXPECT_EQ(host::IniFilePath(folder.str() + "/ro/polyshift"),
              folder.str() + "/cfg/polyshift/polyshift.ini");
#endif
}

TEST(IniLocation, FolderCreatedOnFirstSaveAndLoadFindsIt) {
    TempFolder folder;
    ScopedEnv config(kConfigVariable, folder.Path("cfg"));
    const auto readOnly = [](const std::string&) { return false; };
    const std::string ini = host::IniFilePath("/usr/bin/polyshift", readOnly);
    EXPECT_FALSE(fs::exists(folder.path() / "cfg"));
    ProfileFile profile = ProfileFile::Read(ini);
    host::RunOptions options;
    options.outputFolder = "/out";
    host::SaveSettings(profile, options);
    ASSERT_EQ(host::SaveIniFile(profile, ini).status, host::WriteStatus::kOk);
    EXPECT_TRUE(fs::is_regular_file(folder.path() / "cfg/polyshift/polyshift.ini"));

    host::RunOptions loaded;
    host::LoadSettings(ProfileFile::Read(host::IniFilePath("/usr/bin/polyshift", readOnly)), loaded,
                       "/desk");
    EXPECT_EQ(loaded.outputFolder, "/out");
}

// --- Desktop folder -------------------------------------------------------------------------

#ifndef _WIN32  // user-dirs.dirs is the free desktops' file
TEST(DesktopFolder, FromUserDirsWithHomeExpandedWhenThatFolderExists) {
    TempFolder folder;
    ScopedEnv home("HOME", folder.str() + "/home");
    ScopedEnv config("XDG_CONFIG_HOME", folder.str() + "/cfg");
    fs::create_directories(folder.path() / "home/デスクトップ");
    fs::create_directories(folder.path() / "desk");
    folder.Write("cfg/user-dirs.dirs",
                 "# written by xdg-user-dirs-update\n"
                 "XDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\n"
                 "XDG_DESKTOP_DIR=\"$HOME/デスクトップ\"\n");
    EXPECT_EQ(host::DesktopFolder(), folder.str() + "/home/デスクトップ");
    folder.Write("cfg/user-dirs.dirs", "XDG_DESKTOP_DIR=\"" + folder.str() + "/desk/\"\n");
    EXPECT_EQ(host::DesktopFolder(), folder.str() + "/desk");
    // Named but never made: not a place to write to.
    folder.Write("cfg/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
    EXPECT_EQ(host::DesktopFolder(), folder.str() + "/home");
}
#endif

TEST(DesktopFolder, HomeDesktopWhenItExistsElseTheHomeFolder) {
    TempFolder folder;
    ScopedEnv home(kHomeVariable, folder.Path("home"));
    ScopedEnv config(kConfigVariable, folder.Path("cfg"));
    EXPECT_EQ(host::DesktopFolder(), "");  // not even a home folder
    fs::create_directories(folder.path() / "home");
    EXPECT_EQ(host::DesktopFolder(), folder.Path("home"));  // a fresh account
    fs::create_directories(folder.path() / "home/Desktop");
    EXPECT_EQ(host::DesktopFolder(), folder.Path("home/Desktop"));
    folder.Write("cfg/user-dirs.dirs", "XDG_MUSIC_DIR=\"$HOME/Music\"\n");
    EXPECT_EQ(host::DesktopFolder(), folder.Path("home/Desktop"));
}

// --- Section Settings -----------------------------------------------------------------------

TEST(Settings, FirstStartWithoutIniGivesDefaultsAndClosingWritesAllFiveKeys) {
    TempFolder folder;
    const std::string ini = folder.str() + "/polyshift.ini";
    ProfileFile profile = ProfileFile::Read(ini);
    host::RunOptions options;
    options.overWrite = true;
    options.noOutput = true;
    options.tablePath = "x";
    host::LoadSettings(profile, options, "/home/taro/Desktop");
    EXPECT_EQ(options.outputFolder, "/home/taro/Desktop");
    EXPECT_EQ(options.tablePath, "");
    EXPECT_FALSE(options.overWrite);
    EXPECT_FALSE(options.noOutput);
    EXPECT_FALSE(host::RestoreWindowPlacement(profile));

    host::SaveSettings(profile, options);
    host::WindowPlacement placement;
    placement.left = 10;
    placement.top = 20;
    placement.right = 600;
    placement.bottom = 500;
    host::SaveWindowPlacement(profile, placement);
    ASSERT_EQ(host::SaveIniFile(profile, ini).status, host::WriteStatus::kOk);
    EXPECT_EQ(ReadFile(ini), testing_support::InSystemProfileForm(
                                 "[Settings]\n"
                                 "OutputFolder=/home/taro/Desktop\n"
                                 "TablePath=\n"
                                 "OverWrite=0\n"
                                 "NoOutput=0\n"
                                 "Window=" +
                                 host::EncodePlacement(placement.ToBytes()) + "\n"));
    EXPECT_EQ(host::RestoreWindowPlacement(ProfileFile::Read(ini)), placement);
}

TEST(Settings, FlagsAreOnOnlyForExactlyOne) {
    for (const auto& [text, on] : std::vector<std::pair<std::string, bool>>{{"1", true},
                                                                            {"01", true},
                                                                            {" 1 ", true},
                                                                            {"2", false},
                                                                            {"0", false},
                                                                            {"-1", false},
                                                                            {"yes", false},
                                                                            {"", false}}) {
        host::RunOptions options;
        host::LoadSettings(
            ProfileFile::FromBytes("[Settings]\nOverWrite=" + text + "\nNoOutput=" + text + "\n"),
            options, "");
        EXPECT_EQ(options.overWrite, on) << text;
        EXPECT_EQ(options.noOutput, on) << text;
    }
}

TEST(Settings, SaveKeepsTheRegExpListAndEverythingElse) {
    ProfileFile profile = ProfileFile::FromBytes(
        "[RegExp List]\nregexp1=tr/a-z/A-Z/\nregexp2=s/x/y/g\n\n[Settings]\nOutputFolder=/a\n"
        "Window=" +
        std::string(88, 'A') + "\n");
    host::RunOptions options{"/b", "/t.txt", true, false};
    EXPECT_TRUE(host::SaveSettings(profile, options));
    EXPECT_EQ(profile.Bytes(host::ProfileForm::kUtf8),
              "[RegExp List]\nregexp1=tr/a-z/A-Z/\nregexp2=s/x/y/g\n\n[Settings]\nOutputFolder=/b\n"
              "Window=" +
                  std::string(88, 'A') + "\nTablePath=/t.txt\nOverWrite=1\nNoOutput=0\n");
}

// --- Window placement -----------------------------------------------------------------------

TEST(WindowPlacement, EachByteIsTwoLettersLowNibbleFirst) {
    host::PlacementBytes bytes{};
    bytes[0] = 0x2C;
    bytes[1] = 0xF0;
    bytes[43] = 0x0F;
    const std::string letters = host::EncodePlacement(bytes);
    ASSERT_EQ(letters.size(), 88u);
    EXPECT_EQ(letters.substr(0, 4), "MCAP");
    EXPECT_EQ(letters.substr(86), "PA");
    EXPECT_EQ(host::DecodePlacement(letters), bytes);
}

TEST(WindowPlacement, RecordRoundTripsThroughTheLetters) {
    host::WindowPlacement placement;
    placement.flags = host::WindowPlacement::kRestoreToMaximized;
    placement.showCommand = host::WindowPlacement::kShowMaximized;
    placement.minX = -32000;
    placement.minY = -32000;
    placement.maxX = -1;
    placement.maxY = -8;
    placement.left = 120;
    placement.top = 80;
    placement.right = 1300;
    placement.bottom = 900;
    const host::PlacementBytes bytes = placement.ToBytes();
    EXPECT_EQ(bytes[0], 44);  // length word first, little-endian
    EXPECT_EQ(bytes[8], 3);
    EXPECT_EQ(host::WindowPlacement::FromBytes(bytes), placement);
    ProfileFile profile;
    host::SaveWindowPlacement(profile, placement);
    EXPECT_EQ(host::RestoreWindowPlacement(ProfileFile::FromBytes(profile.Bytes())), placement);
}

TEST(WindowPlacement, BadValuesAreIgnored) {
    const std::string good = host::EncodePlacement(host::WindowPlacement().ToBytes());
    for (const std::string& value :
         {std::string(), good.substr(0, 86), good + "AA", good.substr(0, 87), good + "A",
          "Q" + good.substr(1), "a" + good.substr(1), good.substr(0, 40) + " " + good.substr(41)}) {
        EXPECT_FALSE(host::DecodePlacement(value)) << value;
        EXPECT_FALSE(
            host::RestoreWindowPlacement(ProfileFile::FromBytes("[Settings]\nWindow=" + value)))
            << value;
    }
    EXPECT_TRUE(host::RestoreWindowPlacement(ProfileFile::FromBytes("[Settings]\nWindow=" + good)));
}

// --- Settings lists -------------------------------------------------------------------------

// A function list as the registry fills it, with entries of its own.
host::FunctionList Functions(const std::vector<std::string>& utf8Titles) {
    host::FunctionList list;
    uint32_t index = 0;
    for (const auto& title : utf8Titles) {
        host::FunctionListItem item;
        item.title = Sjis(title);
        item.entry = std::make_unique<host::FunctionEntry>();
        item.entry->functionIndex = index++;
        item.pluginFileName = "test.so";
        list.push_back(std::move(item));
    }
    return list;
}

const std::vector<std::string> kTitles = {"シフトJISに変換（自動判別）",
                                          "改行をCR+LF(Windows)に変換", "改行をLF(UNIX)に変換",
                                          "Base64エンコード"};

TEST(SettingsList, WindowsWrittenListLoadsFilesAndChain) {
    // Byte for byte what the Windows profile functions write: Shift JIS, CR LF, a blank line
    // before each new section, Windows paths (表 and ソ end in the byte 0x5C, a backslash).
    const std::string bytes = Sjis(
        "[Settings]\r\n"
        "OutputFolder=C:\\Documents and Settings\\taro\\デスクトップ\r\n"
        "TablePath=C:\\Program Files\\Polyshift\\表.txt\r\n"
        "OverWrite=0\r\n"
        "NoOutput=1\r\n"
        "\r\n"
        "[Files]\r\n"
        "Count=3\r\n"
        "file0=C:\\data\\ソース.txt\r\n"
        "file1=C:\\data\\README.TXT\r\n"
        "file2=C:\\data\\a.txt\r\n"
        "\r\n"
        "[Functions]\r\n"
        "Count=4\r\n"
        "function0=改行をcr+lf(Windows)に変換\r\n"
        "function1=Unknown function\r\n"
        "function2=シフトJISに変換（自動判別）\r\n"
        "function3=改行をCR+LF(Windows)に変換\r\n");
    TempFolder folder;
    const std::string path = folder.Write("windows.pzl", bytes);

    host::RunOptions options;
    host::FileList files;
    files.Add("/before.txt");
    host::FunctionList functions = Functions(kTitles);
    functions[2].checked = true;
    host::Chain chain{{functions[2].title, functions[2].entry.get()}};
    std::string failure = "x";
    const auto loaded =
        host::LoadSettingsListFile(path, options, files, functions, chain, &failure);
    EXPECT_EQ(failure, "");

    EXPECT_EQ(options.outputFolder, "C:\\Documents and Settings\\taro\\デスクトップ");
    EXPECT_EQ(options.tablePath, "C:\\Program Files\\Polyshift\\表.txt");
    EXPECT_FALSE(options.overWrite);
    EXPECT_TRUE(options.noOutput);
    EXPECT_EQ(files.paths(), (std::vector<std::string>{"C:\\data\\a.txt", "C:\\data\\README.TXT",
                                                       "C:\\data\\ソース.txt"}));
    ASSERT_EQ(chain.size(), 3u);
    EXPECT_EQ(chain[0].title, Sjis("改行をcr+lf(Windows)に変換"));  // the text as read
    EXPECT_EQ(chain[0].entry, functions[1].entry.get());
    EXPECT_EQ(chain[1].entry, functions[0].entry.get());
    EXPECT_EQ(chain[2].entry, functions[1].entry.get());
    EXPECT_EQ(loaded.droppedTitles, std::vector<std::string>{"Unknown function"});
    EXPECT_TRUE(functions[0].checked);
    EXPECT_TRUE(functions[1].checked);
    EXPECT_FALSE(functions[2].checked);
    EXPECT_FALSE(functions[3].checked);
}

// What loading a settings list gave, checked against what was saved.
struct LoadedSet {
    host::RunOptions options;
    host::FileList files;
    host::Chain chain;
    host::SettingsListLoad result;

    void ExpectSavedFrom(const host::RunOptions& savedOptions, const host::FileList& savedFiles,
                         const host::Chain& savedChain) const {
        EXPECT_TRUE(result.droppedTitles.empty());
        EXPECT_EQ(options.outputFolder, savedOptions.outputFolder);
        EXPECT_EQ(options.tablePath, savedOptions.tablePath);
        EXPECT_EQ(options.overWrite, savedOptions.overWrite);
        EXPECT_EQ(options.noOutput, savedOptions.noOutput);
        EXPECT_EQ(files.paths(), savedFiles.paths());
        ASSERT_EQ(chain.size(), savedChain.size());
        for (std::size_t i = 0; i < chain.size(); ++i) {
            EXPECT_EQ(chain[i].title, savedChain[i].title) << i;
            EXPECT_EQ(chain[i].entry, savedChain[i].entry) << i;
        }
    }
};

// Saved on Windows, a list is what the Windows profile functions write (Shift JIS, CR LF) when
// every value fits code page 932, and UTF-8 with a byte-order mark (CR LF still) when one does
// not. Either form, and the UTF-8 one saved elsewhere, loads with every title, option and path.
TEST(SettingsList, EachSystemsFormLoadsOnTheOther) {
    host::FunctionList functions = Functions(kTitles);
    const host::RunOptions options{"C:\\Users\\taro\\デスクトップ", "/tables/表.txt", true, false};
    const host::Chain chain{{functions[2].title, functions[2].entry.get()},
                            {functions[0].title, functions[0].entry.get()}};
    for (const bool fits : {true, false}) {
        host::FileList files;
        files.Add("C:\\data\\ソース.txt");
        files.Add(fits ? "/home/taro/a.txt" : "/home/taro/😀.txt");
        ProfileFile list;
        ASSERT_TRUE(host::WriteSettingsList(list, options, files, chain).ok);
        std::string crLf;
        for (const char c : list.Bytes(host::ProfileForm::kUtf8)) {
            crLf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        }
        const std::string windows = list.Bytes(host::ProfileForm::kWindows);
        EXPECT_EQ(windows, fits ? Sjis(crLf) : "\xEF\xBB\xBF" + crLf);
        for (const host::ProfileForm form :
             {host::ProfileForm::kUtf8, host::ProfileForm::kWindows}) {
            LoadedSet loaded;
            loaded.result =
                host::LoadSettingsList(ProfileFile::FromBytes(list.Bytes(form)), loaded.options,
                                       loaded.files, functions, loaded.chain, "");
            loaded.ExpectSavedFrom(options, files, chain);
        }
    }
}

// A function that appends "+", with the contract's calling convention.
uint32_t XFM_CALL NoTable(uint32_t) {
    return 0;
}
uint32_t XFM_CALL KeepsTheName(const char*, char*, uint32_t) {
    return 0;
}
uint32_t XFM_CALL OneMore(ConvertRequest* r) {
    return r->inputLength + 1;
}
uint32_t XFM_CALL AppendPlus(ConvertRequest* r) {
    std::memcpy(r->output, r->input, r->inputLength);
    r->output[r->inputLength] = '+';
    r->outputLength = r->inputLength + 1;
    return 1;
}

TEST(SettingsList, SameTitleTwiceRunsTwice) {
    TempFolder folder;
    const std::string input = folder.Write("in/a.txt", "x");
    fs::create_directory(folder.path() / "out");
    host::FunctionList functions = Functions({"Twice"});
    functions[0].entry->isUseTable = NoTable;
    functions[0].entry->renameFile = KeepsTheName;
    functions[0].entry->getBufferSize = OneMore;
    functions[0].entry->convert = AppendPlus;
    const ProfileFile list = ProfileFile::FromBytes(
        "[Settings]\nOutputFolder=" + folder.str() + "/out\n[Files]\nCount=1\nfile0=" + input +
        "\n[Functions]\nCount=2\nfunction0=twice\nfunction1=Twice\n");
    host::RunOptions options;
    host::FileList files;
    host::Chain chain;
    host::LoadSettingsList(list, options, files, functions, chain, "");
    ASSERT_EQ(chain.size(), 2u);
    host_testing::ScriptedUi ui;
    ui.answers = {platform::kAnswerYes};
    host::ConversionRun run(ui, files, chain, options);
    EXPECT_EQ(run.RunBatch().errorCount, 0);
    EXPECT_EQ(ReadFile(folder.path() / "out/a.txt"), "x++");
}

// A list keeps each file's folder argument beside it, and a run that keeps trees puts the file
// at its place below the output folder; a file without one (an older list), one not below its
// folder or one whose way there climbs out of it goes into the output folder by its name.
TEST(SettingsList, FolderArgumentsKeepTheTreeOfARunFromTheList) {
    TempFolder folder;
    const std::string in = folder.Path("in");
    const std::vector<std::pair<std::string, std::string>> entries{
        {folder.Write("in/a/b.txt", "1"), in},
        {folder.Write("c.txt", "2"), ""},
        {in + "/../d.txt", in},
        {folder.Write("x/e.txt", "4"), folder.Path("elsewhere")},
    };
    folder.Write("d.txt", "3");
    std::string text = "[Settings]\nOutputFolder=" + folder.Path("out") + "\n[Files]\nCount=4\n";
    for (std::size_t i = 0; i < entries.size(); ++i) {
        text += "file" + std::to_string(i) + "=" + entries[i].first + "\n";
        if (!entries[i].second.empty()) {
            text += "folder" + std::to_string(i) + "=" + entries[i].second + "\n";
        }
    }
    host::FunctionList functions;
    host::RunOptions options;
    host::FileList files;
    host::Chain chain;
    host::LoadSettingsList(ProfileFile::FromBytes(text), options, files, functions, chain, "");
    ASSERT_EQ(files.size(), 4u);
    ProfileFile saved;
    ASSERT_TRUE(host::WriteSettingsList(saved, options, files, chain).ok);
    host::FileList again;
    host::LoadSettingsList(ProfileFile::FromBytes(saved.Bytes()), options, again, functions, chain,
                           "");
    for (std::size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(again[i], files[i]);
        EXPECT_EQ(again.folderOf(i), files.folderOf(i)) << files[i];
    }

    options.keepTree = options.createFolders = true;
    host_testing::ScriptedUi ui;
    ui.answers = {platform::kAnswerYes};
    host::ConversionRun run(ui, files, chain, options);
    EXPECT_EQ(run.RunBatch().errorCount, 0);
    EXPECT_EQ(ReadFile(folder.path() / "out/a/b.txt"), "1");
    EXPECT_EQ(ReadFile(folder.path() / "out/c.txt"), "2");
    EXPECT_EQ(ReadFile(folder.path() / "out/d.txt"), "3");
    EXPECT_EQ(ReadFile(folder.path() / "out/e.txt"), "4");
}

// How Count and missing keys decide the entries of a list.
TEST(SettingsList, CountsAndMissingKeys) {
    struct Case {
        std::string text;
        std::vector<std::string> files;
        std::vector<std::size_t> chain;  // function-list indexes
        std::vector<std::string> dropped;
    };
    const std::vector<Case> cases = {
        // A missing "file1" is an empty path; "function0" an empty title, which names nothing.
        {"[Files]\nCount=3\nfile0=/new/a\nfile2=/new/c\n"
         "[Functions]\nCount=2\nfunction1=改行をLF\n",
         {"", "/new/a", "/new/c"},
         {2},
         {""}},
        // Damaged or hostile counts read no more entries than the section has keys.
        {"[Files]\nCount=4000000000\nfile0=/a\nfile1=/b\n"
         "[Functions]\nCount=99999999999999999999\nfunction0=Base64\n",
         {"/a", "/b"},
         {3},
         {}},
        {"[Files]\nCount=4000000000\nfile3999999999=/far\nfile1=/b\n", {"", "/b"}, {}, {}},
        // Fewer than the keys: only Count of them. None without a Count, or a negative one.
        {"[Files]\nCount=1\nfile0=/a\nfile1=/b\n", {"/a"}, {}, {}},
        {"[Files]\nfile0=/a\n[Functions]\nfunction0=Base64\n", {}, {}, {}},
        {"[Files]\nCount=-3\nfile0=/a\n", {}, {}, {}},
        // "file01" is not "file1".
        {"[Files]\nCount=2\nfile0=/a\nfile01=/b\n", {"/a"}, {}, {}},
    };
    for (const Case& c : cases) {
        host::RunOptions options;
        host::FileList files;
        files.Add("/old/one");
        host::FunctionList functions = Functions(kTitles);
        host::Chain chain{{functions[1].title, functions[1].entry.get()}};
        const auto loaded = host::LoadSettingsList(ProfileFile::FromBytes(c.text), options, files,
                                                   functions, chain, "/desk");
        EXPECT_EQ(options.outputFolder, "/desk");
        EXPECT_EQ(files.paths(), c.files) << c.text;
        std::vector<std::size_t> indexes;
        for (const auto& entry : chain) {
            indexes.push_back(entry.entry->functionIndex);
        }
        EXPECT_EQ(indexes, c.chain) << c.text;
        EXPECT_EQ(loaded.droppedTitles, c.dropped) << c.text;
    }
}

// Every function of the plug-ins that ship is found again by the title a settings list keeps
// of it (in UTF-8, turned back into Shift JIS on loading), unless an earlier function's title
// begins with its whole title, which then wins as in the window.
TEST(SettingsList, EveryShippedFunctionSurvivesARoundTrip) {
    host_testing::ProgramFolder program;
    for (const auto& library : fs::directory_iterator(POLYSHIFT_PLUGIN_DIR)) {
        if (library.path().extension() == POLYSHIFT_PLUGIN_SUFFIX) {
            program.AddRealPlugin(library.path().stem().string());
        }
    }
    host_testing::ScriptedUi ui;
    host::PluginRegistry registry(program.path(), ui);
    registry.ScanPlugins();
    registry.FillFunctionList();
    host::FunctionList& functions = registry.functionList();
    ASSERT_GT(functions.size(), 20u);
    host::Chain chain;
    for (const auto& item : functions) {
        chain.push_back({item.title, item.entry.get()});
    }
    ProfileFile list;
    ASSERT_TRUE(host::WriteSettingsList(list, host::RunOptions{}, host::FileList{}, chain).ok);
    host::RunOptions options;
    host::FileList files;
    host::Chain loaded;
    const auto result = host::LoadSettingsList(ProfileFile::FromBytes(list.Bytes()), options, files,
                                               functions, loaded, "");
    EXPECT_TRUE(result.droppedTitles.empty());
    ASSERT_EQ(loaded.size(), chain.size());
    for (std::size_t i = 0; i < chain.size(); ++i) {
        EXPECT_EQ(loaded[i].title, chain[i].title) << i;
        EXPECT_EQ(loaded[i].entry,
                  functions[*host::FindFunctionByTitle(functions, chain[i].title)].entry.get())
            << i;
    }
}

TEST(SettingsList, ThousandsOfFilesRoundTripQuickly) {
    TempFolder folder;
    const std::string path = folder.str() + "/big.pzl";
    host::FileList files;
    for (int i = 0; i < 20000; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/data/%05d.txt", i);  // added in order: no moves
        files.Add(name);
    }
    ASSERT_TRUE(host::SaveSettingsList(path, host::RunOptions{}, files, host::Chain{}).ok);
    host::RunOptions options;
    host::FileList loaded;
    host::FunctionList functions;
    host::Chain chain;
    host::LoadSettingsListFile(path, options, loaded, functions, chain);
    EXPECT_EQ(loaded.paths(), files.paths());
}

TEST(SettingsList, UnreadableFileGivesDefaultsAndEmptyLists) {
    TempFolder folder;
    host::RunOptions options{"/o", "/t", true, true};
    host::FileList files;
    files.Add("/x");
    host::FunctionList functions = Functions(kTitles);
    functions[0].checked = true;
    host::Chain chain{{functions[0].title, functions[0].entry.get()}};
    std::string failure;
    host::LoadSettingsListFile(folder.str() + "/missing.pzl", options, files, functions, chain,
                               &failure);
    EXPECT_FALSE(failure.empty());
    EXPECT_EQ(options.tablePath, "");
    EXPECT_FALSE(options.overWrite);
    EXPECT_TRUE(files.empty());
    EXPECT_TRUE(chain.empty());
    EXPECT_FALSE(functions[0].checked);
}

TEST(SettingsList, Utf8RoundTripWithPathsShiftJisCannotHold) {
    TempFolder folder;
    const std::string path = folder.str() + "/set.pzl";
    host::FunctionList functions = Functions(kTitles);
    host::RunOptions options{"/out/Ωmega 😀", "/tables/한국어.txt", true, true};
    host::FileList files;
    for (const char* file : {"/data/ü/straße.txt", "/data/中文简体/说明.txt", "/data/😀.txt",
                             "/data/ \"quoted\" ", "/data/デスクトップ/表.txt"}) {
        files.Add(file);
    }
    host::Chain chain{{functions[3].title, functions[3].entry.get()},
                      {functions[0].title, functions[0].entry.get()}};
    const auto saved = host::SaveSettingsList(path, options, files, chain);
    ASSERT_TRUE(saved.ok) << saved.reason;
    const std::string bytes = ReadFile(path);
    EXPECT_TRUE(platform::IsWellFormedUtf8(bytes));
    const bool windows = host::kSystemProfileForm == host::ProfileForm::kWindows;
    EXPECT_EQ(platform::HasUtf8Mark(bytes), windows);
    EXPECT_NE(
        bytes.find(windows ? "function0=Base64エンコード\r\n" : "function0=Base64エンコード\n"),
        std::string::npos)
        << bytes;

    LoadedSet loaded;
    loaded.result =
        host::LoadSettingsListFile(path, loaded.options, loaded.files, functions, loaded.chain);
    loaded.ExpectSavedFrom(options, files, chain);
}

TEST(SettingsList, SecondSaveWithFewerFilesLeavesNoStaleKeys) {
    TempFolder folder;
    const std::string path = folder.Write("set.pzl", "; my working set\n[Extra]\nkeep=1\n");
    host::FunctionList functions = Functions(kTitles);
    host::RunOptions options{"/out", "", false, false};
    host::FileList files;
    files.Add("/a");
    files.Add("/b");
    files.Add("/c");
    host::Chain chain{{functions[0].title, functions[0].entry.get()},
                      {functions[1].title, functions[1].entry.get()}};
    ASSERT_TRUE(host::SaveSettingsList(path, options, files, chain).ok);
    files.Remove(0);
    files.Remove(0);
    chain.pop_back();
    ASSERT_TRUE(host::SaveSettingsList(path, options, files, chain).ok);
    EXPECT_EQ(ReadFile(path),
              testing_support::InSystemProfileForm("; my working set\n"
                                                   "[Extra]\n"
                                                   "keep=1\n"
                                                   "\n"
                                                   "[Settings]\n"
                                                   "OutputFolder=/out\n"
                                                   "TablePath=\n"
                                                   "OverWrite=0\n"
                                                   "NoOutput=0\n"
                                                   "\n"
                                                   "[Files]\n"
                                                   "Count=1\n"
                                                   "file0=/c\n"
                                                   "\n"
                                                   "[Functions]\n"
                                                   "Count=1\n"
                                                   "function0=シフトJISに変換（自動判別）\n"));
}

TEST(SettingsList, PathThatCannotBeKeptIsAFailureThatChangesNothing) {
    TempFolder folder;
    const std::string path = folder.Write("set.pzl", "[Files]\nCount=0\n");
    host::FileList files;
    files.Add("/a\n[Functions]");
    const auto saved = host::SaveSettingsList(path, host::RunOptions{}, files, host::Chain{});
    EXPECT_FALSE(saved.ok);
    EXPECT_NE(saved.reason.find("line break"), std::string::npos) << saved.reason;
    EXPECT_EQ(ReadFile(path), "[Files]\nCount=0\n");

    files.Clear();
    files.Add("/bad\xff");
    EXPECT_FALSE(host::SaveSettingsList(path, host::RunOptions{}, files, host::Chain{}).ok);
    EXPECT_EQ(ReadFile(path), "[Files]\nCount=0\n");
}

#ifdef _WIN32
// Runs `write` while another program holds `path` open without sharing it: nothing can
// replace the file, as on a full disk no write can finish.
template <typename Write>
void WithWriteRefused(const std::string& path, Write write) {
    const HANDLE held = ::CreateFileW(platform::PathFromUtf8(path).c_str(), GENERIC_READ, 0,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    write();
    ::CloseHandle(held);
}
#else
// Runs `write` as on a full disk, for root as well: no file may grow past 512 bytes.
template <typename Write>
void WithWriteRefused(const std::string&, Write write) {
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 512;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    write();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
}
#endif

TEST(SettingsList, FailingSaveReportsTheReasonAndLeavesTheOldFileWhole) {
    TempFolder folder;
    const std::string old = "[Settings]\nOutputFolder=/keep\n[Files]\nCount=1\nfile0=/keep/a\n";
    const std::string path = folder.Write("set.pzl", old);
    host::FileList files;
    for (int i = 0; i < 200; ++i) {
        files.Add("/data/file-with-a-long-name-" + std::to_string(i) + ".txt");
    }
    host::SettingsListSave result;
    WithWriteRefused(path, [&] {
        result = host::SaveSettingsList(path, host::RunOptions{"/new", "", false, false}, files,
                                        host::Chain{});
    });
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.reason.empty());
    EXPECT_EQ(ReadFile(path), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);

    // A folder that does not exist: reported, nothing written.
    const auto missing = host::SaveSettingsList(folder.str() + "/none/set.pzl", host::RunOptions{},
                                                files, host::Chain{});
    EXPECT_FALSE(missing.ok);
    EXPECT_FALSE(missing.reason.empty());
}

TEST(SettingsList, FailingIniSaveLeavesTheOldFileWhole) {
    TempFolder folder;
    const std::string old = "[Settings]\nOutputFolder=/keep\n";
    const std::string ini = folder.Write("polyshift.ini", old);
    ProfileFile profile = ProfileFile::Read(ini);
    host::RunOptions options{std::string(2000, 'x'), "", false, false};
    host::SaveSettings(profile, options);
    host::WriteResult result;
    WithWriteRefused(ini, [&] { result = host::SaveIniFile(profile, ini); });
    EXPECT_NE(result.status, host::WriteStatus::kOk);
    EXPECT_EQ(ReadFile(ini), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

}  // namespace
