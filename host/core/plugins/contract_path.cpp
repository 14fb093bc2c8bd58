#include "host/core/plugins/contract_path.h"

#include <algorithm>

#include "platform/codepage.h"
#include "platform/text_encoding.h"
#include "platform/utf16.h"
#include "platform/utf8_text.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/wide_text.h"
#endif

namespace host {
namespace {

constexpr std::size_t npos = std::string::npos;

// The code page 932 bytes of one UTF-8 character; nothing when they would not read back as it.
std::optional<std::string> Cp932Character(std::string_view character) {
    if (character.size() == 1) {
        // ASCII as it is; a byte that starts no character is none.
        return static_cast<unsigned char>(character[0]) < 0x80
                   ? std::optional<std::string>(std::string(character))
                   : std::nullopt;
    }
    const std::u16string units = platform::Utf8ToUtf16(character);
    std::string bytes = platform::EncodeCodePage(platform::kCodePageWindowsJapanese, units);
    if (bytes == "?" ||
        platform::DecodeCodePage(platform::kCodePageWindowsJapanese, bytes) != units) {
        return std::nullopt;
    }
    return bytes;
}

std::size_t CommonPrefix(std::string_view a, std::string_view b) {
    return static_cast<std::size_t>(std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first -
                                    a.begin());
}

std::size_t CommonSuffix(std::string_view a, std::string_view b) {
    return static_cast<std::size_t>(
        std::mismatch(a.rbegin(), a.rend(), b.rbegin(), b.rend()).first - a.rbegin());
}

#ifdef _WIN32
// The system's short name for `path`, in UTF-8; nothing when it keeps none.
std::optional<std::string> ShortName(const std::string& path) {
    const auto wide = platform::win32::WidePath(path);
    if (!wide) {
        return std::nullopt;
    }
    std::wstring shortName(MAX_PATH, L'\0');
    DWORD length =
        ::GetShortPathNameW(wide->c_str(), shortName.data(), static_cast<DWORD>(shortName.size()));
    if (length >= shortName.size()) {
        shortName.resize(length);
        length = ::GetShortPathNameW(wide->c_str(), shortName.data(), length);
    }
    if (length == 0 || length >= shortName.size()) {
        return std::nullopt;
    }
    shortName.resize(length);
    // The long-path prefix is the system's business; plug-ins get the plain form.
    if (shortName.starts_with(L"\\\\?\\")) {
        shortName.erase(0, 4);
    }
    return platform::win32::Utf8FromWide(shortName);
}
#endif

}  // namespace

bool StandIn::exact() const {
    return std::find(replaced.begin(), replaced.end(), true) == replaced.end();
}

StandIn MakeStandIn(std::string_view utf8Path) {
    StandIn standIn;
    standIn.realAt.reserve(utf8Path.size() + 1);
    for (std::size_t i = 0; i < utf8Path.size();) {
        // A byte that starts no character stands alone, replaced.
        const std::size_t length =
            std::max<std::size_t>(platform::Utf8SequenceLength(utf8Path, i), 1);
        const std::optional<std::string> bytes = Cp932Character(utf8Path.substr(i, length));
        const std::string_view written = bytes ? std::string_view(*bytes) : "?";
        standIn.realAt.push_back(i);
        standIn.realAt.insert(standIn.realAt.end(), written.size() - 1, npos);
        standIn.replaced.insert(standIn.replaced.end(), written.size(), !bytes);
        standIn.bytes += written;
        i += length;
    }
    standIn.realAt.push_back(utf8Path.size());
    return standIn;
}

std::optional<std::string> CarryBack(const StandIn& standIn, std::string_view utf8Path,
                                     std::string_view answer) {
    const std::string_view asked = standIn.bytes;
    std::size_t front = CommonPrefix(asked, answer);
    while (standIn.realAt[front] == npos) {
        --front;
    }
    std::size_t back = CommonSuffix(asked.substr(front), answer.substr(front));
    while (standIn.realAt[asked.size() - back] == npos) {
        --back;
    }
    const std::size_t editEnd = asked.size() - back;
    if (std::find(standIn.replaced.begin() + static_cast<std::ptrdiff_t>(front),
                  standIn.replaced.begin() + static_cast<std::ptrdiff_t>(editEnd),
                  true) != standIn.replaced.begin() + static_cast<std::ptrdiff_t>(editEnd)) {
        return std::nullopt;
    }
    // The middle must be whole characters: read apart, the three pieces read as the whole.
    const std::string_view middle = answer.substr(front, answer.size() - back - front);
    const std::string text = platform::Cp932ToUtf8(middle);
    if (platform::Utf8ToCp932(text) != middle ||
        platform::Cp932ToUtf8(answer.substr(0, front)) + text +
                platform::Cp932ToUtf8(answer.substr(answer.size() - back)) !=
            platform::Cp932ToUtf8(answer)) {
        return std::nullopt;
    }
    return std::string(utf8Path.substr(0, standIn.realAt[front])) + text +
           std::string(utf8Path.substr(standIn.realAt[editEnd]));
}

#ifdef _WIN32

std::optional<std::string> ContractTablePath(const std::string& path) {
    StandIn standIn = MakeStandIn(path);
    if (standIn.exact()) {
        return std::move(standIn.bytes);
    }
    const std::optional<std::string> shortName = ShortName(path);
    if (!shortName) {
        return std::nullopt;
    }
    standIn = MakeStandIn(*shortName);
    return standIn.exact() ? std::optional<std::string>(std::move(standIn.bytes)) : std::nullopt;
}

CarriedName RenameThroughContract(const std::string& path, const ContractRename& rename) {
    const StandIn standIn = MakeStandIn(path);
    const std::optional<std::string> answer = rename(standIn.bytes);
    if (!answer) {
        return {};
    }
    CarriedName carried;
    carried.path = CarryBack(standIn, path, *answer);
    carried.lost = !carried.path;
    return carried;
}

#else

std::optional<std::string> ContractTablePath(const std::string& path) {
    return path;
}

CarriedName RenameThroughContract(const std::string& path, const ContractRename& rename) {
    return CarriedName{rename(path), false};
}

#endif

}  // namespace host
