// UTF-8 (generalised to unpaired surrogates) to and from UTF-16, paths for the wide API, and
// the system's error texts through FormatMessageW.
#include "platform/win32/wide_text.h"

#include <windows.h>

#include "platform/system_error.h"

namespace platform::win32 {
namespace {

bool IsHighSurrogate(unsigned unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(unsigned unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// One code point from `text` at `i` (advanced past it), or nothing for malformed bytes.
// Surrogate code points are accepted: they stand for unpaired units.
std::optional<char32_t> NextCodePoint(std::string_view text, std::size_t& i) {
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned lead = byte(i);
    std::size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2
                         : lead >= 0xE0 && lead <= 0xEF ? 3 : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
    if (length == 0 || i + length > text.size()) {
        return std::nullopt;
    }
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            return std::nullopt;
        }
        c = (c << 6) | (byte(i + k) & 0x3F);
    }
    const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < least[length] || c > 0x10FFFF) {
        return std::nullopt;  // overlong or beyond Unicode
    }
    i += length;
    return c;
}

}  // namespace

std::string Utf8FromWide(std::wstring_view wide) {
    std::string out;
    out.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        const unsigned unit = static_cast<unsigned>(wide[i]);
        if (IsHighSurrogate(unit) && i + 1 < wide.size() &&
            IsLowSurrogate(static_cast<unsigned>(wide[i + 1]))) {
            const unsigned low = static_cast<unsigned>(wide[++i]);
            AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}

std::optional<std::wstring> WideFromUtf8(std::string_view utf8) {
    std::wstring out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = NextCodePoint(utf8, i);
        if (!c) {
            return std::nullopt;
        }
        if (*c >= 0x10000) {
            out += static_cast<wchar_t>(0xD800 + ((*c - 0x10000) >> 10));
            out += static_cast<wchar_t>(0xDC00 + ((*c - 0x10000) & 0x3FF));
            continue;
        }
        // A high surrogate written on its own followed by a low one would read back as the
        // pair's character; such bytes never come from Utf8FromWide and are refused.
        if (IsLowSurrogate(*c) && !out.empty() && IsHighSurrogate(out.back())) {
            return std::nullopt;
        }
        out += static_cast<wchar_t>(*c);
    }
    return out;
}

std::optional<std::wstring> WidePath(std::string_view path) {
    auto wide = WideFromUtf8(path);
    if (!wide) {
        SetLastSystemErrorFromCode(ERROR_NO_UNICODE_TRANSLATION);
        return std::nullopt;
    }
    for (wchar_t& c : *wide) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    // Short paths and paths already in a raw form go as they are.
    if (wide->size() < MAX_PATH - 12 || wide->rfind(L"\\\\?\\", 0) == 0) {
        return wide;
    }
    const DWORD needed = ::GetFullPathNameW(wide->c_str(), 0, nullptr, nullptr);
    if (needed == 0) {
        return wide;
    }
    std::wstring full(needed, L'\0');
    const DWORD length = ::GetFullPathNameW(wide->c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) {
        return wide;
    }
    full.resize(length);
    if (full.rfind(L"\\\\", 0) == 0) {
        return L"\\\\?\\UNC\\" + full.substr(2);  // \\server\share\...
    }
    return L"\\\\?\\" + full;
}

std::string SystemErrorText(unsigned long code) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
            FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
        reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message;
    if (length != 0 && text != nullptr) {
        message = Utf8FromWide(std::wstring_view(text, length));
        while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                    message.back() == ' ')) {
            message.pop_back();
        }
    }
    if (text != nullptr) {
        ::LocalFree(text);
    }
    if (message.empty()) {
        message = "System error " + std::to_string(code) + ".";
    }
    return message;
}

void SetLastSystemErrorFromCode(unsigned long code) { SetLastSystemError(SystemErrorText(code)); }

void SetLastSystemErrorFromLastError() { SetLastSystemErrorFromCode(::GetLastError()); }

}  // namespace platform::win32
