// The width conversions on UTF-16 text, in either byte order: the characters and pairs of the
// UTF-8 conversions (utf8_width_tables.h), as 16-bit units written back in the text's own
// order. Every character that folds is one unit, so the text is read unit by unit from its
// first byte: a byte-order mark is a unit that stays, surrogates (which pair no width form)
// stay, and so does an odd byte at the end. No result is longer than the text. Runs that stay
// as they are go 64 bytes (32 units) at a time.
#pragma once

#include <cstddef>
#include <cstdint>

#include "byte_classes.h"
#include "folding.h"
#include "folding_utf8.h"
#include "utf8_width_tables.h"

namespace widthfold {

// Reading and writing units in one byte order.
template <bool kBigEndian>
struct Utf16Order {
    static char16_t At(const unsigned char* p) {
        return static_cast<char16_t>(kBigEndian ? p[0] << 8 | p[1] : p[1] << 8 | p[0]);
    }
    static void Put(Output& o, char16_t unit) {
        const auto high = static_cast<unsigned char>(unit >> 8);
        const auto low = static_cast<unsigned char>(unit);
        if constexpr (kBigEndian) {
            o.PutPair(high, low);
        } else {
            o.PutPair(low, high);
        }
    }
    // The units of a 64-byte block, as bits at their first bytes, whose high byte has its bit
    // in `high` and low byte in `low` (masks of the block's bytes).
    static std::uint64_t Units(std::uint64_t high, std::uint64_t low) {
        constexpr std::uint64_t kFirstBytes = 0x5555555555555555ull;
        return (kBigEndian ? high & (low >> 1) : low & (high >> 1)) & kFirstBytes;
    }
};

// Copies the unit at i, or the odd last byte; returns the bytes taken.
inline std::size_t CopyUnit(const unsigned char* in, std::size_t i, std::size_t n, Output& out) {
    if (n - i < 2) {
        out.Put(in[i]);
        return 1;
    }
    out.PutPair(in[i], in[i + 1]);
    return 2;
}

// Full-width forms of ASCII: U+FF01-U+FF5E, and U+3000 for the space.
inline constexpr char16_t kFullWidthFirst = 0xFF01;
inline constexpr char16_t kFullWidthLast = 0xFF5E;
inline constexpr char16_t kIdeographicSpaceUnit = 0x3000;

constexpr char16_t FullWidthUnitOf(unsigned char ascii) {
    return ascii == ' ' ? kIdeographicSpaceUnit
                        : static_cast<char16_t>(kFullWidthFirst + (ascii - 0x21));
}

inline bool InSet(const Utf8WidthTable& table, char16_t unit) {
    return unit < 0x80 && table.full[unit][0] != 0;
}

template <bool kBigEndian>
void HalfToFullUtf16(const unsigned char* in, std::size_t n, Output& out, CharSet set) {
    using Order = Utf16Order<kBigEndian>;
    const Utf8WidthTable& table = kUtf8WidthTables[static_cast<int>(set)];
    auto step = [&table](const unsigned char* text, std::size_t i, std::size_t length,
                         Output& o) -> std::size_t {
        if (length - i >= 2) {
            const char16_t unit = Order::At(text + i);
            if (InSet(table, unit)) {
                Order::Put(o, FullWidthUnitOf(static_cast<unsigned char>(unit)));
                return 2;
            }
        }
        return CopyUnit(text, i, length, o);
    };
    static constexpr ByteRange kZero[] = {{0x00, 0x00}};
    auto events = [set](const unsigned char* block) {
        return Order::Units(MaskOf(block, kZero), SetBytesOf(block, set));
    };
    auto blockStep = [](const unsigned char* at, Output& o) -> std::size_t {
        Order::Put(o, FullWidthUnitOf(static_cast<unsigned char>(Order::At(at))));
        return 2;
    };
    FoldUtf8(in, n, out, events, blockStep, step);
}

// The ASCII byte of a full-width unit of the set, or 0.
inline unsigned char HalfOfUnit(const Utf8WidthTable& table, bool symbols, char16_t unit) {
    if (unit >= kFullWidthFirst && unit <= kFullWidthLast) {
        const auto ascii = static_cast<unsigned char>(unit - kFullWidthFirst + 0x21);
        return table.full[ascii][0] != 0 ? ascii : 0;
    }
    return symbols && unit == kIdeographicSpaceUnit ? ' ' : 0;
}

template <bool kBigEndian>
void FullToHalfUtf16(const unsigned char* in, std::size_t n, Output& out, CharSet set) {
    using Order = Utf16Order<kBigEndian>;
    const Utf8WidthTable& table = kUtf8WidthTables[static_cast<int>(set)];
    const bool symbols = set == CharSet::kSymbols;
    auto fold = [&table, symbols](const unsigned char* at, Output& o) -> std::size_t {
        const unsigned char half = HalfOfUnit(table, symbols, Order::At(at));
        if (half != 0) {
            Order::Put(o, half);
        } else {
            o.PutPair(at[0], at[1]);
        }
        return 2;
    };
    auto step = [&fold](const unsigned char* text, std::size_t i, std::size_t length,
                        Output& o) -> std::size_t {
        return length - i >= 2 ? fold(text + i, o) : CopyUnit(text, i, length, o);
    };
    static constexpr ByteRange kFullHigh[] = {{0xFF, 0xFF}};
    static constexpr ByteRange kFullLow[] = {{0x01, 0x5E}};
    static constexpr ByteRange kSpaceHigh[] = {{0x30, 0x30}};
    static constexpr ByteRange kSpaceLow[] = {{0x00, 0x00}};
    auto events = [symbols](const unsigned char* block) {
        std::uint64_t marked = Order::Units(MaskOf(block, kFullHigh), MaskOf(block, kFullLow));
        if (symbols) {
            marked |= Order::Units(MaskOf(block, kSpaceHigh), MaskOf(block, kSpaceLow));
        }
        return marked;
    };
    FoldUtf8(in, n, out, events, fold, step);
}

// Half-width katakana U+FF61-U+FF9F (the Shift JIS kana bytes 0xA1-0xDF plus U+FEC0).
inline constexpr char16_t kKanaUnitOffset = 0xFF61 - 0xA1;

template <bool kBigEndian>
void KatakanaToFullUtf16(const unsigned char* in, std::size_t n, Output& out) {
    using Order = Utf16Order<kBigEndian>;
    const KanaUtf16Table& table = KanaUtf16();
    auto kanaAt = [](const unsigned char* at) -> unsigned char {
        const char16_t unit = Order::At(at);
        return unit >= 0xFF61 && unit <= 0xFF9F ? static_cast<unsigned char>(unit - kKanaUnitOffset)
                                                : 0;
    };
    // The kana at `at`, with a mark after it when `end` leaves room for one.
    auto fold = [&table, &kanaAt](const unsigned char* at, const unsigned char* end,
                                  Output& o) -> std::size_t {
        const unsigned char kana = kanaAt(at);
        const unsigned char mark = end - at >= 4 ? kanaAt(at + 2) : 0;
        const std::size_t k = kana - 0xA1;
        if (mark == kVoicedMark && kana == 0xB3) {
            Order::Put(o, table.voicedU);
            return 4;
        }
        if (mark == kVoicedMark && TakesVoicedMark(kana)) {
            Order::Put(o, table.voiced[k]);
            return 4;
        }
        if (mark == kSemiVoicedMark && TakesSemiVoicedMark(kana)) {
            Order::Put(o, table.semiVoiced[k]);
            return 4;
        }
        Order::Put(o, table.plain[k]);
        return 2;
    };
    auto step = [&fold, &kanaAt](const unsigned char* text, std::size_t i, std::size_t length,
                                 Output& o) -> std::size_t {
        if (length - i < 2 || kanaAt(text + i) == 0) {
            return CopyUnit(text, i, length, o);
        }
        return fold(text + i, text + length, o);
    };
    static constexpr ByteRange kKanaHigh[] = {{0xFF, 0xFF}};
    static constexpr ByteRange kKanaLow[] = {{0x61, 0x9F}};
    auto events = [](const unsigned char* block) {
        return Order::Units(MaskOf(block, kKanaHigh), MaskOf(block, kKanaLow));
    };
    // Blocks leave at least 64 bytes of text after any unit they mark.
    auto blockStep = [&fold](const unsigned char* at, Output& o) -> std::size_t {
        return fold(at, at + kBlockBytes, o);
    };
    FoldUtf8(in, n, out, events, blockStep, step);
}

}  // namespace widthfold
