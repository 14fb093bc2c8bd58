#include "host/core/uri_list.h"

#include <optional>

namespace host {
namespace {

int HexValue(char c) {
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

std::string PercentDecoded(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
            HexValue(text[i + 2]) >= 0) {
            bytes += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
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
        char c = text[i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        if (c != prefix[i]) {
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
