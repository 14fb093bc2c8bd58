#include "platform/bare_utf16.h"

#include <cstdint>
#include <cstring>
#include <initializer_list>

namespace platform {
namespace {

constexpr std::size_t kMinBytes = 32;
constexpr std::size_t kPrefixBytes = 8192;
constexpr std::size_t kUnitsPerBreak = 512;  // at least one line break, tab or space per
constexpr std::size_t kMinBreaks = 4;
constexpr std::size_t kUnitsPerZero = 64;   // at most one zero unit per
constexpr std::size_t kBreaksPerStray = 4;  // at most one stray zero byte per

// What the units of a text read in one byte order hold.
struct Tally {
    std::size_t units = 0;
    std::size_t breaks = 0;    // U+0009, U+000A, U+000D, U+0020
    std::size_t strays = 0;    // zero bytes in the other parity than those of the breaks
    std::size_t zeros = 0;     // U+0000
    std::size_t controls = 0;  // other control characters than the ones text holds
    bool unpaired = false;     // a surrogate without its partner
    bool openHigh = false;     // the last unit is a high surrogate, paired only past the end
};

bool IsBreak(std::uint16_t unit) {
    return unit == 0x09 || unit == 0x0A || unit == 0x0D || unit == 0x20;
}

// Units whose low byte is zero, other than those common in Japanese text: the ideographic
// space, the ideographs 一 最 言 紀, a box-drawing line and the sign for all.
bool IsStray(std::uint16_t unit) {
    if ((unit & 0xFF) != 0 || unit == 0) {
        return false;
    }
    switch (unit) {
        case 0x3000:
        case 0x4E00:
        case 0x6700:
        case 0x8A00:
        case 0x7D00:
        case 0x2500:
        case 0x2200:
            return false;
        default:
            return true;
    }
}

// Controls that a text file may hold: tab, line feed, vertical tab, form feed, carriage
// return, the end-of-file mark SUB and ESC.
bool IsTextControl(std::uint16_t unit) {
    return (unit >= 0x09 && unit <= 0x0D) || unit == 0x1A || unit == 0x1B;
}

template <bool kBigEndian>
Tally TallyUnits(const unsigned char* in, std::size_t n) {
    Tally tally;
    bool pendingHigh = false;
    for (std::size_t i = 0; i + 1 < n; i += 2) {
        const auto unit = static_cast<std::uint16_t>(kBigEndian ? in[i] << 8 | in[i + 1]
                                                                : in[i + 1] << 8 | in[i]);
        ++tally.units;
        tally.breaks += IsBreak(unit);
        tally.strays += IsStray(unit);
        tally.zeros += unit == 0;
        tally.controls += unit != 0 && unit < 0x20 && !IsTextControl(unit);
        const bool high = unit >= 0xD800 && unit <= 0xDBFF;
        const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
        tally.unpaired = tally.unpaired || (pendingHigh != low);
        pendingHigh = high;
    }
    tally.openHigh = pendingHigh;
    return tally;
}

Tally TallyUnits(bool bigEndian, const unsigned char* in, std::size_t n) {
    return bigEndian ? TallyUnits<true>(in, n) : TallyUnits<false>(in, n);
}

// Zero bytes mostly in the parity of the breaks, few zero units, no controls that text does
// not hold, surrogates in pairs; `whole` when the tally is of the whole text, where a last
// high surrogate has no partner left.
bool ReadsAsText(const Tally& tally, bool whole) {
    return tally.strays * kBreaksPerStray <= tally.breaks && tally.controls == 0 &&
           !tally.unpaired && !(whole && tally.openHigh) &&
           tally.zeros * kUnitsPerZero <= tally.units;
}

bool HasBreaks(const Tally& tally) {
    return tally.breaks >= kMinBreaks && tally.breaks * kUnitsPerBreak >= tally.units;
}

}  // namespace

BareUtf16 DetectBareUtf16(const unsigned char* in, std::size_t n) {
    if (n % 2 != 0 || n < kMinBytes) {
        return BareUtf16::kNone;
    }
    const std::size_t prefix = n < kPrefixBytes ? n : kPrefixBytes;
    if (std::memchr(in, 0, prefix) == nullptr) {
        return BareUtf16::kNone;
    }
    // The breaks of one order are strays in the other: at most one order passes.
    for (const bool bigEndian : {false, true}) {
        const Tally start = TallyUnits(bigEndian, in, prefix);
        if (HasBreaks(start) && ReadsAsText(start, prefix == n) &&
            (prefix == n || ReadsAsText(TallyUnits(bigEndian, in, n), true))) {
            return bigEndian ? BareUtf16::kBigEndian : BareUtf16::kLittleEndian;
        }
    }
    return BareUtf16::kNone;
}

}  // namespace platform
