#include "host/core/workbench/uri_list.h"

#include <charconv>
#include <optional>

#include "platform/sjis_bytes.h"

namespace host {
namespace {

// "%XY" at `at` as the byte 0xXY; nothing unless both X and Y are hexadecimal digits.
std::optional<char> EscapedByte(std::string_view text, std::size_t at) {
    if (text[at] != '%' || text.size() - at < 3) {
        return std::nullopt;
    }
    unsigned value = 0;
    const char* first = text.data() + at + 1;
    const auto [end, error] = std::from_chars(first, first + 2, value, 16);
    if (error != std::errc() || end != first + 2) {
        return std::nullopt;
    }
    return static_cast<char>(value);
}

std::string PercentDecoded(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (const auto byte = EscapedByte(text, i)) {
            bytes += *byte;
            i += 2;
        } else {
            bytes += text[i];
        }
    }
    return bytes;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (platform::sjis::AsciiLower(text[i]) != prefix[i]) {
            return false;
        }
    }
    return true;
}

std::optional<std::string> LocalPath(std::string_view uri) {
    constexpr std::string_view kScheme = "file:";
    if (!StartsWithNoCase(uri, kScheme)) {
        return std::nullopt;
    }
    uri.remove_prefix(kScheme.size());
    if (uri.substr(0, 2) == "//") {
        // "file://host/path": the path starts at the first slash after the host.
        uri.remove_prefix(2);
        const auto slash = uri.find('/');
        if (slash == std::string_view::npos) {
            return std::nullopt;
        }
        uri.remove_prefix(slash);
    }
    if (uri.empty() || uri.front() != '/') {
        return std::nullopt;
    }
    return PercentDecoded(uri);
}

}  // namespace

std::vector<std::string> LocalPathsFromUriList(std::string_view uriList) {
    std::vector<std::string> paths;
    while (!uriList.empty()) {
        const auto end = uriList.find('\n');
        std::string_view line = uriList.substr(0, end);
        uriList.remove_prefix(end == std::string_view::npos ? uriList.size() : end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.empty() || line.front() == '#') {
            continue;
        }
        if (auto path = LocalPath(line)) {
            paths.push_back(std::move(*path));
        }
    }
    return paths;
}

}  // namespace host
