// Writes the window's resource script from the layout data, and its icon from the PNG images:
//
//   rc_writer <script.rc> <icon.ico> <version> <image.png>...
//
// The script holds every dialog, the menu bar, the system menu's string, the icon, the version
// and the manifest; it names the icon and polyshift.manifest by file name, so the resource
// compiler needs the folders of both on its include path. Runs on the build machine; nothing
// is written unless everything could be made.
#include <array>
#include <cstdio>
#include <exception>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/layout/all_dialogs.h"
#include "host/layout/main_menu.h"
#include "host/win32/resources/icon_file.h"
#include "host/win32/resources/rc_styles.h"
#include "host/win32/resources/rc_text.h"

namespace {

std::string Rect(const layout::Rect& rect) {
    return std::to_string(rect.left) + ", " + std::to_string(rect.top) + ", " +
           std::to_string(rect.width) + ", " + std::to_string(rect.height);
}

// A control's text; an icon shows the program's icon, named by its resource id.
std::string ControlText(const layout::Control& control) {
    if (control.kind == layout::ControlKind::kIcon)
        return std::to_string(layout::kProgramIconId);
    return rc::Quoted(control.text);
}

void WriteControls(std::ostream& out, std::span<const layout::Control> controls) {
    bool afterRadioButton = false;
    for (const layout::Control& control : controls) {
        const bool radioButton = control.kind == layout::ControlKind::kRadioButton;
        rc::Win32Control win32 = rc::ControlOf(control);
        // The control after a run of radio buttons starts a group of its own, so that the
        // buttons' group (and the arrow keys within it) ends there.
        if (afterRadioButton && !radioButton)
            win32.styles.push_back("WS_GROUP");
        win32.styles.insert(win32.styles.end(), {"WS_CHILD", "WS_VISIBLE"});
        out << "    CONTROL " << ControlText(control) << ", " << control.id << ", "
            << rc::Quoted(win32.windowClass) << ", " << rc::Joined(win32.styles) << ",\n"
            << "            " << Rect(control.rect) << "\n";
        afterRadioButton = radioButton;
    }
}

void WriteDialog(std::ostream& out, const layout::Dialog& dialog) {
    const rc::Win32Frame frame = rc::FrameOf(dialog.frame);
    out << dialog.resourceId << " DIALOGEX 0, 0, " << dialog.width << ", " << dialog.height
        << "\nSTYLE " << rc::Joined(frame.styles) << "\n";
    if (!frame.extendedStyles.empty())
        out << "EXSTYLE " << rc::Joined(frame.extendedStyles) << "\n";
    out << "CAPTION " << rc::Quoted(dialog.title) << "\n";
    if (dialog.menuId != layout::kNoMenu)
        out << "MENU " << dialog.menuId << "\n";
    // Normal weight, upright, the Shift JIS character set.
    out << "FONT " << dialog.font.points << ", " << rc::Quoted(dialog.font.face)
        << ", 0, 0, 0x80\nBEGIN\n";
    WriteControls(out, dialog.controls);
    out << "END\n\n";
}

void WriteMenu(std::ostream& out, const layout::MenuBar& bar) {
    out << bar.resourceId << " MENU\nBEGIN\n";
    for (const layout::Menu& menu : bar.menus) {
        out << "    POPUP " << rc::Quoted(menu.title) << "\n    BEGIN\n";
        for (const layout::MenuItem& item : menu.items) {
            if (item.separator()) {
                out << "        MENUITEM SEPARATOR\n";
            } else {
                out << "        MENUITEM " << rc::Quoted(item.text) << ", " << item.commandId
                    << "\n";
            }
        }
        out << "    END\n";
    }
    out << "END\n\n";
}

// "1.2.3" as four numbers, the missing ones 0.
std::array<unsigned, 4> VersionNumbers(const std::string& version) {
    std::array<unsigned, 4> numbers{};
    std::istringstream in{version};
    std::size_t count = 0;
    std::string part;
    while (std::getline(in, part, '.')) {
        if (count == 4 || part.empty() || part.size() > 5 ||
            part.find_first_not_of("0123456789") != std::string::npos ||
            std::stoul(part) > 0xFFFF) {
            throw std::invalid_argument(
                "version \"" + version +
                "\" is not one to four numbers of 0 to 65535 joined by points");
        }
        numbers[count++] = static_cast<unsigned>(std::stoul(part));
    }
    if (count == 0)
        throw std::invalid_argument("the version is empty");
    return numbers;
}

void WriteVersion(std::ostream& out, const std::string& version) {
    const std::array<unsigned, 4> n = VersionNumbers(version);
    const std::string commas = std::to_string(n[0]) + "," + std::to_string(n[1]) + "," +
                               std::to_string(n[2]) + "," + std::to_string(n[3]);
    const std::string points = std::to_string(n[0]) + "." + std::to_string(n[1]) + "." +
                               std::to_string(n[2]) + "." + std::to_string(n[3]);
    out << "1 VERSIONINFO\nFILEVERSION " << commas << "\nPRODUCTVERSION " << commas
        << "\nFILEFLAGSMASK VS_FFI_FILEFLAGSMASK\nFILEFLAGS 0\nFILEOS VOS_NT_WINDOWS32\n"
           "FILETYPE VFT_APP\nFILESUBTYPE VFT2_UNKNOWN\nBEGIN\n"
           "    BLOCK \"StringFileInfo\"\n    BEGIN\n"
           "        BLOCK \"041104B0\"\n        BEGIN\n"  // Japanese, UTF-16
           "            VALUE \"FileDescription\", \"Polyshift\"\n"
           "            VALUE \"FileVersion\", "
        << rc::Quoted(points)
        << "\n            VALUE \"InternalName\", \"polyshift\"\n"
           "            VALUE \"OriginalFilename\", \"polyshift.exe\"\n"
           "            VALUE \"ProductName\", \"Polyshift\"\n"
           "            VALUE \"ProductVersion\", "
        << rc::Quoted(version)
        << "\n        END\n    END\n"
           "    BLOCK \"VarFileInfo\"\n    BEGIN\n"
           "        VALUE \"Translation\", 0x411, 1200\n    END\nEND\n";
}

std::string Script(const std::string& iconName, const std::string& version) {
    std::ostringstream out;
    out << "// The window's resources, written by rc_writer from the layout data.\n"
           "#pragma code_page(65001)\n"
           "#include <windows.h>\n\n"
           "LANGUAGE LANG_NEUTRAL, SUBLANG_NEUTRAL\n"
           "CREATEPROCESS_MANIFEST_RESOURCE_ID RT_MANIFEST \"polyshift.manifest\"\n"
        << layout::kProgramIconId << " ICON " << rc::Quoted(iconName) << "\n\n";
    for (const layout::Dialog* dialog : layout::kAllDialogs)
        WriteDialog(out, *dialog);
    WriteMenu(out, layout::kMainMenu);
    out << "STRINGTABLE\nBEGIN\n    " << layout::kSystemMenuAbout.stringId << ", "
        << rc::Quoted(layout::kSystemMenuAbout.text) << "\nEND\n\n";
    WriteVersion(out, version);
    return out.str();
}

std::string ReadFile(const std::string& path) {
    std::ifstream in{path, std::ios::binary};
    if (!in.is_open())
        throw std::runtime_error("cannot open " + path);
    std::string bytes{std::istreambuf_iterator<char>{in}, {}};
    if (in.bad())
        throw std::runtime_error("cannot read " + path);
    return bytes;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out{path, std::ios::binary | std::ios::trunc};
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::string FileName(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: rc_writer <script.rc> <icon.ico> <version> <image.png>...\n");
        return 2;
    }
    try {
        const std::string scriptPath = argv[1], iconPath = argv[2], version = argv[3];
        std::vector<rc::PngImage> images;
        for (int i = 4; i < argc; ++i)
            images.push_back(rc::ReadPng(ReadFile(argv[i]), argv[i]));
        const std::string icon = rc::IconFile(images);
        const std::string script = Script(FileName(iconPath), version);
        WriteFile(iconPath, icon);
        WriteFile(scriptPath, script);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "rc_writer: %s\n", error.what());
        return 1;
    }
    return 0;
}
