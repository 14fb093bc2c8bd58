// The character scan of a UTF-8 file: every character is looked up in code page 932, so that
// the report shows before any conversion what would come out at a platform-dependent code and
// what would not survive at all. Bytes that are no well-formed UTF-8 are reported as such.
#include <cstdio>
#include <optional>

#include "host/core/tools/character_scan.h"
#include "host/core/tools/scan_ranges.h"
#include "platform/codepage.h"
#include "platform/sjis_bytes.h"
#include "platform/utf8_text.h"

namespace host {
namespace {

constexpr unsigned char kCr = '\r';
constexpr unsigned char kLf = '\n';

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0u) == 0x80u;
}

// The code point of the well-formed sequence of `length` bytes at `p`.
char32_t CodePoint(const unsigned char* p, std::size_t length) {
    static constexpr unsigned char kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    char32_t cp = p[0] & kLeadBits[length];
    for (std::size_t k = 1; k < length; ++k) {
        cp = (cp << 6) | (p[k] & 0x3Fu);
    }
    return cp;
}

// The code page 932 code of `cp` (one byte, or lead × 256 + trail) when code page 932 has the
// character itself there; nothing when it has none, or only a look-alike that the encoder
// would put in its place, or one of the bytes 0x80, 0xA0, 0xFD-0xFF that it passes through
// without their being Shift JIS characters.
std::optional<unsigned> Cp932Code(char32_t cp) {
    if (cp > 0xFFFF) {
        return std::nullopt;  // code page 932 lies wholly in the first plane
    }
    const char16_t unit = static_cast<char16_t>(cp);
    unsigned char bytes[2];
    const std::size_t length =
        platform::WideCharToMultiByte(platform::kCodePageWindowsJapanese, &unit, 1, bytes, 2);
    char16_t back = 0;
    if (length == 0 ||
        platform::MultiByteToWideChar(platform::kCodePageWindowsJapanese, bytes, length, &back,
                                      1) != 1 ||
        back != unit) {
        return std::nullopt;
    }
    if (length == 2) {
        return bytes[0] * 256u + bytes[1];
    }
    if (bytes[0] < 0x80 || platform::sjis::IsHalfWidthKana(bytes[0])) {
        return bytes[0];
    }
    return std::nullopt;
}

// Marks and controls that would disturb the report's layout are not shown themselves.
bool IsInvisible(char32_t cp) {
    return (cp >= 0x80 && cp <= 0x9F) || cp == 0xAD || (cp >= 0x300 && cp <= 0x36F) ||
           (cp >= 0x200B && cp <= 0x200F) || (cp >= 0x2028 && cp <= 0x202E) ||
           (cp >= 0x2060 && cp <= 0x206F) || (cp >= 0xFE00 && cp <= 0xFE0F) || cp == 0xFEFF ||
           (cp >= 0xFFF9 && cp <= 0xFFFB) || cp >= 0xE0000;
}

// Characters one column wide in a Japanese font; the rest take two.
bool IsNarrow(char32_t cp) {
    return cp < 0x1100 || (cp >= 0xFF61 && cp <= 0xFFDC) || (cp >= 0xFFE8 && cp <= 0xFFEE);
}

std::string Format(const char* format, unsigned long long value) {
    char text[24];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// "   3行目:[ ① ] = U+2460", the character shown as its own bytes.
std::string CharacterLine(unsigned long long line, std::string_view bytes, char32_t cp) {
    std::string text = Format("%4llu", line) + "行目:[ ";
    if (IsInvisible(cp)) {
        text += "   ";
    } else {
        text += bytes;
        text += IsNarrow(cp) ? "  " : " ";
    }
    return text + "] = " + Format("U+%04llX", cp);
}

std::string BadBytesLine(unsigned long long line, std::string_view bytes) {
    std::string text = Format("%4llu", line) + "行目:[ ";
    for (const char c : bytes) {
        text += Format("%02llX ", static_cast<unsigned char>(c));
    }
    return text + "] （UTF-8として読めないバイト）\r\n";
}

// The line for the character `cp`, written as `bytes`; empty when it is not to be reported.
std::string ReportFor(unsigned long long line, std::string_view bytes, char32_t cp,
                      const ScanOptions& options) {
    const std::optional<unsigned> code = Cp932Code(cp);
    if (!code) {
        return CharacterLine(line, bytes, cp) + " （シフトJISにない文字）\r\n";
    }
    if (!ReportsCode(*code, options)) {
        return {};
    }
    return CharacterLine(line, bytes, cp) + " （シフトJISでは機種依存文字 " +
           Format(*code > 0xFF ? "0x%04llX" : "0x%02llX", *code) + "）\r\n";
}

}  // namespace

std::string ScanUtf8Text(std::string_view text, const ScanOptions& options) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    std::string report;
    unsigned long long line = 1;
    unsigned char previous = 0;
    std::size_t i = platform::HasUtf8Mark(text) ? platform::kUtf8Mark.size() : 0;
    while (i < text.size()) {
        if (p[i] < 0x80) {
            if (p[i] == kLf && (options.unifyLineBreaks || previous == kCr)) {
                ++line;
            }
            previous = p[i++];
            continue;
        }
        std::size_t length = platform::Utf8SequenceLength(text, i);
        if (length == 0) {
            // A byte that starts no character, with the continuation bytes behind it.
            length = 1;
            while (length < 4 && i + length < text.size() && IsContinuation(p[i + length])) {
                ++length;
            }
            report += BadBytesLine(line, text.substr(i, length));
        } else {
            report += ReportFor(line, text.substr(i, length), CodePoint(p + i, length), options);
        }
        i += length;
        previous = p[i - 1];
    }
    return report;
}

}  // namespace host
