#include "table_file.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/codepage.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>

#include "messages.h"
#include "platform/message_box.h"
#include "text_kinds.h"

namespace rulebook {
namespace {

int HexValue(unsigned char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// A line's bytes as a zero-terminated text: a zero byte read from the file ends it.
std::string UpToZero(const std::string& line) {
    return line.substr(0, line.find('\0'));
}

// The first two TAB-separated fields of a string-table line. Runs of TABs count as one
// separator and TABs before the first field are skipped.
void SplitFields(const std::string& line, std::string& search, std::string& replacement) {
    const std::size_t searchBegin = line.find_first_not_of('\t');
    if (searchBegin == std::string::npos) {
        return;
    }
    const std::size_t searchEnd = std::min(line.find('\t', searchBegin), line.size());
    search = line.substr(searchBegin, searchEnd - searchBegin);
    const std::size_t replacementBegin = line.find_first_not_of('\t', searchEnd);
    if (replacementBegin == std::string::npos) {
        return;
    }
    const std::size_t replacementEnd = std::min(line.find('\t', replacementBegin), line.size());
    replacement = line.substr(replacementBegin, replacementEnd - replacementBegin);
}

void ShowOpenError(int error) {
    const std::string text = kCannotOpenTable + std::to_string(static_cast<unsigned long>(error)) +
                             ")" + kContinueWithoutTable;
    platform::ShowMessageBox(text.c_str(), kErrorTitle, platform::kButtonsOk | platform::kIconStop);
}

#ifdef _WIN32
// The whole file; a file that cannot be opened or read (a folder, for one) shows the error
// with the system's error number. The contract carries the path in code page 932; it is opened
// through the wide API, so the name is read exactly as the host wrote it.
bool ReadWholeFile(const char* path, std::string& bytes) {
    const std::u16string units = platform::DecodeCodePage(platform::kCodePageWindowsJapanese, path);
    const std::wstring wide(units.begin(), units.end());
    HANDLE file = ::CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ShowOpenError(static_cast<int>(::GetLastError()));
        return false;
    }
    DWORD error = ::GetFileType(file) == FILE_TYPE_DISK ? ERROR_SUCCESS : ERROR_INVALID_FUNCTION;
    char buffer[64 * 1024];
    while (error == ERROR_SUCCESS) {
        DWORD got = 0;
        if (!::ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
            error = ::GetLastError();
        } else if (got == 0) {
            break;
        }
        bytes.append(buffer, got);
    }
    ::CloseHandle(file);
    if (error != ERROR_SUCCESS) {
        ShowOpenError(static_cast<int>(error));
        return false;
    }
    return true;
}
#else
// The whole file; a file that cannot be opened or read (a folder, for one) shows the error.
// Only a regular file is read: opening a named pipe without O_NONBLOCK would wait for a writer.
bool ReadWholeFile(const char* path, std::string& bytes) {
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    struct stat info{};
    if (fd < 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int error = fd < 0 ? errno : S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        if (fd >= 0) {
            ::close(fd);
        }
        ShowOpenError(error);
        return false;
    }
    errno = 0;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(::fdopen(fd, "rb"), std::fclose);
    if (!file) {
        ::close(fd);
        ShowOpenError(errno);
        return false;
    }
    char buffer[64 * 1024];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        bytes.append(buffer, got);
    }
    if (std::ferror(file.get())) {
        ShowOpenError(errno);
        return false;
    }
    return true;
}
#endif

}  // namespace

std::vector<std::string> SplitLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t begin = 0;
    while (begin < bytes.size()) {
        std::size_t end = bytes.find('\n', begin);
        const std::size_t next = end == std::string::npos ? bytes.size() : end + 1;
        if (end == std::string::npos) {
            end = bytes.size();
        } else if (end > begin && bytes[end - 1] == '\r') {
            --end;
        }
        lines.emplace_back(bytes, begin, end - begin);
        begin = next;
    }
    return lines;
}

std::string UnescapeField(const std::string& field, regex::CharMode encoding) {
    std::string out;
    out.reserve(field.size());
    const auto* p = reinterpret_cast<const unsigned char*>(field.data());
    const auto* end = p + field.size();
    const auto widthAt = [&](const unsigned char* at) {
        return regex::CharWidth(encoding, reinterpret_cast<const char*>(at),
                                reinterpret_cast<const char*>(end));
    };
    while (p < end) {
        const unsigned char c = *p;
        if (const std::size_t width = widthAt(p); width > 1) {
            out.append(reinterpret_cast<const char*>(p), width);
            p += width;
            continue;
        }
        if (c != '\\') {
            out.push_back(static_cast<char>(c));
            ++p;
            continue;
        }
        if (p + 1 == end) {
            break;  // a backslash at the end vanishes
        }
        const unsigned char letter = p[1];
        p += 2;
        switch (letter) {
            case 'n':
                out.push_back('\n');
                break;
            case 'r':
                out.push_back('\r');
                break;
            case 't':
                out.push_back('\t');
                break;
            case '\\':
                out.push_back('\\');
                break;
            case '#':
                out.push_back('#');
                break;
            case 'x':
            case 'X': {
                const int high = p < end ? HexValue(p[0]) : -1;
                const int low = p + 1 < end ? HexValue(p[1]) : -1;
                if (high < 0 || low < 0 || (high == 0 && low == 0)) {
                    return out;  // no byte to give: the field ends at the backslash
                }
                out.push_back(static_cast<char>(high * 16 + low));
                p += 2;
                break;
            }
            default:
                // An unknown escape disappears with its character, a double-byte one whole.
                p += widthAt(p - 1) - 1;
                break;
        }
    }
    return out;
}

void AddTableLine(Table& table, const std::string& line, TableKind kind) {
    if (!line.empty() && line[0] == '#') {
        return;
    }
    if (kind == TableKind::kRegex) {
        table.searchList.push_back(UpToZero(line));
        return;
    }
    std::string search;
    std::string replacement;
    SplitFields(UpToZero(line), search, replacement);
    const regex::CharMode encoding = TableEncoding(table);
    table.searchList.push_back(UnescapeField(search, encoding));
    table.replacementList.push_back(UnescapeField(replacement, encoding));
}

regex::CharMode TableEncoding(const Table& table) {
    return table.kind == platform::TextKind::kUtf8 ? regex::CharMode::kUtf8
                                                   : regex::CharMode::kShiftJis;
}

bool LoadTable(const char* path, TableKind kind, Table& table) {
    if (path == nullptr || *path == '\0') {
        return false;
    }
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) {
        return false;
    }
    table.kind = platform::ClassifyText(bytes);
    if (const char* encoding = ForeignEncoding(bytes, table.kind)) {
        ShowForeignTable(encoding);
        return false;
    }
    if (platform::HasUtf8Mark(bytes)) {
        bytes.erase(0, platform::kUtf8Mark.size());
    }
    for (const std::string& line : SplitLines(bytes)) {
        AddTableLine(table, line, kind);
    }
    return true;
}

}  // namespace rulebook
