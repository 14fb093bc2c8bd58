// The UTF-8 rule of utf8_text.h. One forward pass (utf8_scan.h): with vectors, 32 or 64 bytes at
// a time; in the portable form runs of ASCII are skipped eight bytes at a time and every other
// sequence is checked byte by byte against the well-formed ranges.
#include "platform/utf8_text.h"

#include <cstdint>
#include <cstring>

#include "platform/cpu_features.h"
#include "platform/utf8_scan.h"

namespace platform {
namespace {

constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

bool IsContinuation(unsigned char c) {
    return (c & 0xC0u) == 0x80u;
}

// The length of the well-formed sequence at p[0] given `left` bytes from p on, or 0.
std::size_t SequenceAt(const unsigned char* p, std::size_t left) {
    const unsigned char c = p[0];
    if (c < 0x80) {
        return 1;
    }
    if (c < 0xC2) {
        return 0;  // a continuation byte, or the overlong leads C0 and C1
    }
    if (c < 0xE0) {
        return left >= 2 && IsContinuation(p[1]) ? 2 : 0;
    }
    if (c < 0xF0) {
        if (left < 3 || !IsContinuation(p[1]) || !IsContinuation(p[2])) {
            return 0;
        }
        if ((c == 0xE0 && p[1] < 0xA0) || (c == 0xED && p[1] >= 0xA0)) {
            return 0;  // overlong, or a surrogate
        }
        return 3;
    }
    if (c > 0xF4 || left < 4 || !IsContinuation(p[1]) || !IsContinuation(p[2]) ||
        !IsContinuation(p[3])) {
        return 0;
    }
    if ((c == 0xF0 && p[1] < 0x90) || (c == 0xF4 && p[1] >= 0x90)) {
        return 0;  // overlong, or above U+10FFFF
    }
    return 4;
}

}  // namespace

namespace utf8_scan {

Scan ScanPortable(const unsigned char* p, std::size_t n) {
    Scan scan;
    std::size_t i = 0;
    while (i < n) {
        if (n - i >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p + i, sizeof word);
            if ((word & kHighBits) == 0) {
                i += 8;
                continue;
            }
        }
        const std::size_t length = SequenceAt(p + i, n - i);
        if (length == 0) {
            scan.wellFormed = false;
            scan.nonAscii = true;
            return scan;
        }
        scan.nonAscii = scan.nonAscii || length > 1;
        scan.longSequence = scan.longSequence || length > 2;
        i += length;
    }
    return scan;
}

Scan ScanBest(const unsigned char* text, std::size_t length) {
    if (Cpu().avx2 && CanScanAvx2()) {
        return ScanAvx2(text, length);
    }
    return CanScanSse2() ? ScanSse2(text, length) : ScanPortable(text, length);
}

}  // namespace utf8_scan

namespace {

utf8_scan::Scan ScanText(std::string_view text) {
    return utf8_scan::ScanBest(reinterpret_cast<const unsigned char*>(text.data()), text.size());
}

}  // namespace

TextKind ClassifyText(std::string_view text) {
    if (HasUtf8Mark(text)) {
        return TextKind::kUtf8;
    }
    const utf8_scan::Scan scan = ScanText(text);
    if (!scan.nonAscii) {
        return TextKind::kAscii;
    }
    return scan.wellFormed && scan.longSequence ? TextKind::kUtf8 : TextKind::kOther;
}

bool IsUtf8Text(std::string_view text) {
    return ClassifyText(text) == TextKind::kUtf8;
}

bool IsWellFormedUtf8(std::string_view text) {
    return ScanText(text).wellFormed;
}

std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) {
    if (i >= text.size()) {
        return 0;
    }
    return SequenceAt(reinterpret_cast<const unsigned char*>(text.data()) + i, text.size() - i);
}

}  // namespace platform
