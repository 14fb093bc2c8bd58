#include "host/core/files/text_content.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>

#include "host/core/files/binary_signatures.h"
#include "platform/bare_utf16.h"

namespace host {
namespace {

using Bytes = std::span<const unsigned char>;

constexpr unsigned kEndMark = 0x1A;

// Control codes that text holds: BEL, BS, tab, LF, VT, FF, CR, SO, SI and ESC (0x1A apart).
constexpr bool IsTextControl(unsigned code) {
    return (code >= 0x07 && code <= 0x0F) || code == 0x1B;
}

// What may follow the end mark 0x1A: more of them, and line breaks.
constexpr bool ClosesText(unsigned code) {
    return code == kEndMark || code == '\r' || code == '\n';
}

constexpr std::array<bool, 256> kBinaryByte = [] {
    std::array<bool, 256> table{};
    for (unsigned code = 0; code < 0x20; ++code) {
        table[code] = !IsTextControl(code) && code != kEndMark;
    }
    return table;
}();

// The parts of [start, end) that are read: the first and the last kTextWindow bytes, each
// rounded to whole steps of `step` bytes from `start`.
struct Windows {
    std::size_t headEnd;
    std::size_t tailStart;
};

Windows WindowsOf(std::size_t start, std::size_t end, std::size_t step) {
    const std::size_t headEnd = std::min(end, start + kTextWindow);
    std::size_t tailStart = end - std::min(end - start, kTextWindow);
    tailStart += (tailStart - start) % step == 0 ? 0 : step - (tailStart - start) % step;
    return {headEnd, std::max(headEnd, tailStart)};
}

std::string ByteReason(unsigned byte, std::size_t offset) {
    char reason[64];
    std::snprintf(reason, sizeof reason, "byte 0x%02X at offset %zu", byte, offset);
    return reason;
}

std::string UnitReason(unsigned unit, std::size_t offset) {
    char reason[64];
    std::snprintf(reason, sizeof reason, "UTF-16 unit U+%04X at offset %zu", unit, offset);
    return reason;
}

// The first byte of [from, to) that no text holds; from `textEnd` on only end marks and line
// breaks follow.
std::optional<std::size_t> FirstBinaryByte(Bytes b, std::size_t from, std::size_t to,
                                           std::size_t textEnd) {
    for (std::size_t i = from; i < to; ++i) {
        if (kBinaryByte[b[i]] || (b[i] == kEndMark && i < textEnd)) {
            return i;
        }
    }
    return std::nullopt;
}

ContentVerdict ByteRule(Bytes b) {
    // Looked for in the last window only, like everything else.
    std::size_t textEnd = b.size();
    while (textEnd > 0 && b.size() - textEnd < kTextWindow && ClosesText(b[textEnd - 1])) {
        --textEnd;
    }
    const Windows windows = WindowsOf(0, b.size(), 1);
    auto found = FirstBinaryByte(b, 0, windows.headEnd, textEnd);
    if (!found) {
        found = FirstBinaryByte(b, windows.tailStart, b.size(), textEnd);
    }
    return found ? ContentVerdict{true, ByteReason(b[*found], *found)} : ContentVerdict{};
}

// The same rule over the 16-bit units of UTF-16 text from `start` (after its mark).
ContentVerdict UnitRule(Bytes b, std::size_t start, bool bigEndian) {
    const auto unit = [&](std::size_t at) -> unsigned {
        return bigEndian ? b[at] << 8 | b[at + 1] : b[at + 1] << 8 | b[at];
    };
    std::size_t textEnd = b.size();
    while (textEnd > start && b.size() - textEnd < kTextWindow &&
           ClosesText(unit(textEnd - 2))) {
        textEnd -= 2;
    }
    const Windows windows = WindowsOf(start, b.size(), 2);
    for (const auto& [from, to] : {std::pair{start, windows.headEnd},
                                  std::pair{windows.tailStart, b.size()}}) {
        for (std::size_t at = from; at < to; at += 2) {
            const unsigned code = unit(at);
            if (code < 0x20 && !IsTextControl(code) && (code != kEndMark || at < textEnd)) {
                return {true, UnitReason(code, at)};
            }
        }
    }
    return {};
}

}  // namespace

ContentVerdict ClassifyContent(Bytes bytes) {
    if (const char* format = BinarySignatureOf(bytes)) {
        return {true, format};
    }
    if (bytes.size() % 2 == 0 && bytes.size() >= 2) {
        if (bytes[0] == 0xFF && bytes[1] == 0xFE) {
            return UnitRule(bytes, 2, false);
        }
        if (bytes[0] == 0xFE && bytes[1] == 0xFF) {
            return UnitRule(bytes, 2, true);
        }
        switch (platform::DetectBareUtf16(bytes.data(), bytes.size())) {
            case platform::BareUtf16::kLittleEndian:
                return UnitRule(bytes, 0, false);
            case platform::BareUtf16::kBigEndian:
                return UnitRule(bytes, 0, true);
            case platform::BareUtf16::kNone:
                break;
        }
    }
    return ByteRule(bytes);
}

}  // namespace host
