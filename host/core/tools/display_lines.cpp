#include "host/core/tools/display_lines.h"

#include <algorithm>
#include <cstdio>

#include "host/core/files/text_content.h"
#include "platform/cp932_map.h"
#include "platform/text_readers.h"

namespace host {
namespace {

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | c >> 6));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | c >> 12));
        out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | c >> 18));
        out.push_back(static_cast<char>(0x80 | (c >> 12 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// A reader's writer that keeps every character as UTF-8 and never runs out of room.
struct Utf8Sink {
    static constexpr bool kChecksOnly = false;
    std::string& out;

    bool Ascii(const unsigned char* run, std::size_t length) {
        out.append(reinterpret_cast<const char*>(run), length);
        return true;
    }
    platform::Put Code(const platform::Cp932Map& map, std::size_t index) {
        const std::uint32_t packed = map.Utf8(index);
        const char bytes[3] = {static_cast<char>(packed & 0xFF),
                               static_cast<char>(packed >> 8 & 0xFF),
                               static_cast<char>(packed >> 16 & 0xFF)};
        out.append(bytes, packed >> 24);
        return platform::Put::kDone;
    }
    platform::Put Unicode(char32_t c) {
        AppendUtf8(out, c);
        return platform::Put::kDone;
    }
};

// Where the characters of `form` start: after its byte-order mark.
std::size_t Start(platform::TextForm form) {
    using platform::TextForm;
    switch (form) {
        case TextForm::kUtf8Bom:
            return 3;
        case TextForm::kUtf16Le:
        case TextForm::kUtf16Be:
            return 2;
        default:
            return 0;
    }
}

platform::Fault Read(const unsigned char* in, std::size_t n, std::size_t at,
                     platform::TextForm form, Utf8Sink& sink) {
    using platform::TextForm;
    const platform::Cp932Map& map = platform::Cp932Map::Get();
    switch (form) {
        case TextForm::kUtf16Le:
        case TextForm::kUtf16LeBare:
            return platform::ReadUtf16<false>(in, n, at, sink);
        case TextForm::kUtf16Be:
        case TextForm::kUtf16BeBare:
            return platform::ReadUtf16<true>(in, n, at, sink);
        case TextForm::kJis:
            return platform::ReadJis(map, in, n, at, sink);
        case TextForm::kEuc:
            return platform::ReadEuc(map, in, n, at, sink);
        case TextForm::kSjis:
            return platform::ReadSjis(map, in, n, at, sink);
        case TextForm::kAscii:
        case TextForm::kUtf8:
        case TextForm::kUtf8Bom:
            break;
    }
    return platform::ReadUtf8(in, n, at, sink);
}

}  // namespace

const char* LineBreakName(LineBreak lineBreak) {
    switch (lineBreak) {
        case LineBreak::kCrLf:
            return "CRLF";
        case LineBreak::kLf:
            return "LF";
        case LineBreak::kCr:
            return "CR";
        case LineBreak::kNone:
            break;
    }
    return "";
}

std::string DecodeToUtf8(std::span<const unsigned char> bytes, platform::TextForm form,
                         std::size_t& faults) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    Utf8Sink sink{out};
    faults = 0;
    std::size_t at = std::min(Start(form), bytes.size());
    while (at < bytes.size()) {
        const platform::Fault fault = Read(bytes.data(), bytes.size(), at, form, sink);
        if (!fault) {
            break;
        }
        // Nothing but bad bytes stops a sink that always has room and a code.
        AppendUtf8(out, U'\uFFFD');
        ++faults;
        at = fault.offset + std::max<std::size_t>(fault.length, 1);
    }
    return out;
}

std::string ShownLine(std::string_view utf8) {
    std::string shown;
    shown.reserve(utf8.size());
    std::size_t column = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c == '\t') {
            const std::size_t next = (column / 8 + 1) * 8;
            shown.append(next - column, ' ');
            column = next;
            ++i;
        } else if (c < 0x20 || c == 0x7F) {
            shown.push_back('^');
            shown.push_back(c == 0x7F ? '?' : static_cast<char>(c + 0x40));
            column += 2;
            ++i;
        } else if (c < 0x80) {
            shown.push_back(static_cast<char>(c));
            ++column;
            ++i;
        } else {
            const std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
            const std::string_view sequence = utf8.substr(i, length);
            char32_t code = c >= 0xF0 ? c & 0x07u : c >= 0xE0 ? c & 0x0Fu : c & 0x1Fu;
            for (std::size_t k = 1; k < sequence.size(); ++k) {
                code = code << 6 | (static_cast<unsigned char>(sequence[k]) & 0x3Fu);
            }
            shown.append(sequence);
            const bool narrow = code < 0x1100 || (code >= 0xFF61 && code <= 0xFF9F);
            column += narrow ? 1 : 2;
            i += sequence.size();
        }
    }
    return shown;
}

std::string DumpLine(std::span<const unsigned char> bytes, std::size_t offset) {
    char head[24];
    std::snprintf(head, sizeof head, "%08zX ", offset);
    std::string line = head;
    std::string shown;
    for (std::size_t k = 0; k < DisplayLines::kDumpWidth; ++k) {
        if (k < bytes.size()) {
            char hex[4];
            std::snprintf(hex, sizeof hex, " %02X", bytes[k]);
            line += hex;
            const unsigned char c = bytes[k];
            shown.push_back(c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '.');
        } else {
            line += "   ";
        }
    }
    return line + "  " + shown;
}

DisplayLines DisplayLines::Decode(std::span<const unsigned char> bytes) {
    DisplayLines lines;
    lines.byteCount_ = bytes.size();
    ContentVerdict verdict = ClassifyContent(bytes);
    if (verdict.binary) {
        lines.binary_ = true;
        lines.binaryReason_ = std::move(verdict.reason);
        lines.text_.assign(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        // Every dump line is as wide as the first.
        const std::size_t first = std::min(bytes.size(), kDumpWidth);
        lines.longestLine_ = first == 0 ? 0 : DumpLine(bytes.first(first), 0).size();
        return lines;
    }
    lines.form_ = platform::DetectTextForm(bytes.data(), bytes.size());
    lines.text_ = DecodeToUtf8(bytes, lines.form_, lines.faults_);
    const std::string& text = lines.text_;
    std::size_t begin = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') {
            continue;
        }
        LineBreak lineBreak = text[i] == '\n' ? LineBreak::kLf : LineBreak::kCr;
        const std::size_t end = i;
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            lineBreak = LineBreak::kCrLf;
            ++i;
        }
        lines.lines_.push_back({begin, end, lineBreak});
        lines.longestLine_ = std::max(lines.longestLine_, end - begin);
        begin = i + 1;
    }
    if (begin < text.size()) {
        lines.lines_.push_back({begin, text.size(), LineBreak::kNone});
        lines.longestLine_ = std::max(lines.longestLine_, text.size() - begin);
    }
    return lines;
}

std::size_t DisplayLines::size() const {
    if (binary_) {
        return (text_.size() + kDumpWidth - 1) / kDumpWidth;
    }
    return lines_.size();
}

std::string_view DisplayLines::View(std::size_t line) const {
    if (binary_) {
        const std::size_t begin = line * kDumpWidth;
        return std::string_view(text_).substr(begin, kDumpWidth);
    }
    return std::string_view(text_).substr(lines_[line].begin,
                                          lines_[line].end - lines_[line].begin);
}

std::string DisplayLines::Text(std::size_t line) const {
    if (binary_) {
        const std::string_view bytes = View(line);
        return DumpLine({reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()},
                        line * kDumpWidth);
    }
    return std::string(View(line));
}

LineBreak DisplayLines::Break(std::size_t line) const {
    return binary_ ? LineBreak::kNone : lines_[line].lineBreak;
}

bool DisplayLines::Same(std::size_t line, const DisplayLines& other,
                        std::size_t otherLine) const {
    if (binary_ != other.binary_) {
        return false;
    }
    // Dump lines say where they are: the same bytes at another place read differently.
    if (binary_ && line != otherLine) {
        return false;
    }
    return Break(line) == other.Break(otherLine) && View(line) == other.View(otherLine);
}

std::uint64_t DisplayLines::Hash(std::size_t line) const {
    // FNV-1a over the line and its break.
    std::uint64_t hash = 14695981039346656037ull;
    const auto mix = [&hash](unsigned char c) {
        hash ^= c;
        hash *= 1099511628211ull;
    };
    for (const char c : View(line)) {
        mix(static_cast<unsigned char>(c));
    }
    mix(static_cast<unsigned char>(Break(line)));
    mix(binary_ ? 1 : 0);
    if (binary_) {
        for (std::size_t k = 0; k < sizeof line; ++k) {
            mix(static_cast<unsigned char>(line >> (8 * k)));
        }
    }
    return hash;
}

}  // namespace host
