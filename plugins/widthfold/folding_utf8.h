// The width conversions on UTF-8 text. UTF-8 needs no reading from the start: an ASCII byte is
// always a character of its own, and a byte 0xEF or 0xE3 always begins a sequence, so every
// character that folds is found by its bytes alone, in malformed text too, and every other
// byte is copied as it is. As in Shift JIS, runs that stay as they are go 64 bytes at a time.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

#include "byte_classes.h"
#include "folding.h"
#include "utf8_width_tables.h"

namespace widthfold {

// Output a block step may write: three bytes for each of its 64 bytes, and a 64-byte piece.
inline constexpr std::size_t kUtf8BlockRoom = 4 * kBlockBytes;

// Like Fold, for UTF-8: `events` marks the first bytes of the characters that may change.
template <class Events, class BlockStep, class Step>
void FoldUtf8(const unsigned char* in, std::size_t n, Output& out, Events events,
              BlockStep blockStep, Step step) {
    std::size_t i = 0;
    while (i < n) {
        if (n - i >= kBlockReadAhead && out.HasRoom(kUtf8BlockRoom)) {
            const unsigned char* block = in + i;
            std::uint64_t marked = events(block);
            std::size_t p = 0;
            while (marked != 0) {
                const auto e = static_cast<std::size_t>(std::countr_zero(marked));
                marked &= marked - 1;
                if (e < p) {
                    continue;  // taken with the character before it
                }
                out.CopyPiece(block + p, e - p);
                p = e + blockStep(block + e, out);
            }
            if (p < kBlockBytes) {
                out.CopyPiece(block + p, kBlockBytes - p);
                p = kBlockBytes;
            }
            i += p;
            continue;
        }
        i += step(in, i, n, out);
    }
}

// The number of bytes of `in` that HalfToFullUtf8 widens (each by two bytes).
inline std::size_t CountWidened(const unsigned char* in, std::size_t n, CharSet set) {
    const Utf8WidthTable& table = kUtf8WidthTables[static_cast<int>(set)];
    std::size_t count = 0;
    std::size_t i = 0;
    for (; n - i >= kBlockBytes; i += kBlockBytes) {
        count += static_cast<std::size_t>(std::popcount(SetBytesOf(in + i, set)));
    }
    for (; i < n; ++i) {
        count += table.full[in[i]][0] != 0;
    }
    return count;
}

// ASCII digits, letters or symbols to U+FF01-U+FF5E, the space to U+3000.
inline void HalfToFullUtf8(const unsigned char* in, std::size_t n, Output& out, CharSet set) {
    const Utf8WidthTable& table = kUtf8WidthTables[static_cast<int>(set)];
    auto step = [&table](const unsigned char* text, std::size_t i, std::size_t,
                         Output& o) -> std::size_t {
        const unsigned char c = text[i];
        if (table.full[c][0] != 0) {
            o.Put(table.full[c]);
        } else {
            o.Put(c);
        }
        return 1;
    };
    auto events = [set](const unsigned char* block) { return SetBytesOf(block, set); };
    auto blockStep = [&table](const unsigned char* at, Output& o) -> std::size_t {
        o.Put(table.full[*at]);
        return 1;
    };
    FoldUtf8(in, n, out, events, blockStep, step);
}

// U+FF01-U+FF5E (and U+3000 for the symbols) of the set to ASCII. `at` has three readable bytes.
inline std::size_t FoldFullWidth(const Utf8WidthTable& table, bool symbols, const unsigned char* at,
                                 Output& o) {
    if (at[0] == kFullWidthLead && (at[1] == 0xBC || at[1] == 0xBD) && IsContinuation(at[2])) {
        const unsigned char half = table.half[at[1] - kFullWidthSecondFirst][at[2] & 0x3F];
        if (half != 0) {
            o.Put(half);
            return 3;
        }
    } else if (symbols && at[0] == kIdeographicSpace[0] && at[1] == kIdeographicSpace[1] &&
               at[2] == kIdeographicSpace[2]) {
        o.Put(static_cast<unsigned char>(' '));
        return 3;
    }
    o.Put(at[0]);
    return 1;
}

inline void FullToHalfUtf8(const unsigned char* in, std::size_t n, Output& out, CharSet set) {
    const Utf8WidthTable& table = kUtf8WidthTables[static_cast<int>(set)];
    const bool symbols = set == CharSet::kSymbols;
    auto step = [&table, symbols](const unsigned char* text, std::size_t i, std::size_t length,
                                  Output& o) -> std::size_t {
        if (length - i < 3) {
            o.Put(text[i]);
            return 1;
        }
        return FoldFullWidth(table, symbols, text + i, o);
    };
    static constexpr ByteRange kLead[] = {{0xEF, 0xEF}};
    static constexpr ByteRange kSecond[] = {{0xBC, 0xBD}};
    static constexpr ByteRange kSpaceLead[] = {{0xE3, 0xE3}};
    static constexpr ByteRange kSpaceRest[] = {{0x80, 0x80}};
    auto events = [symbols](const unsigned char* block) {
        std::uint64_t marked = MaskOf(block, kLead) & MaskOf(block + 1, kSecond);
        if (symbols) {
            marked |= MaskOf(block, kSpaceLead) & MaskOf(block + 1, kSpaceRest) &
                      MaskOf(block + 2, kSpaceRest);
        }
        return marked;
    };
    auto blockStep = [&table, symbols](const unsigned char* at, Output& o) -> std::size_t {
        return FoldFullWidth(table, symbols, at, o);
    };
    FoldUtf8(in, n, out, events, blockStep, step);
}

// A half-width katakana at `at` (readable to `end`), joined with a voiced or semi-voiced sound
// mark after it as KatakanaToFull joins them in Shift JIS.
inline std::size_t FoldKana(const KanaUtf8Table& table, const unsigned char* at,
                            const unsigned char* end, Output& o) {
    const unsigned char kana = end - at >= 3 ? HalfWidthKanaAt(at) : 0;
    if (kana == 0) {
        o.Put(at[0]);
        return 1;
    }
    const unsigned char mark = end - at >= 6 ? HalfWidthKanaAt(at + 3) : 0;
    const std::size_t k = kana - 0xA1;
    if (mark == kVoicedMark && kana == 0xB3) {
        o.Put(table.voicedU);
        return 6;
    }
    if (mark == kVoicedMark && TakesVoicedMark(kana)) {
        o.Put(table.voiced[k]);
        return 6;
    }
    if (mark == kSemiVoicedMark && TakesSemiVoicedMark(kana)) {
        o.Put(table.semiVoiced[k]);
        return 6;
    }
    o.Put(table.plain[k]);
    return 3;
}

// Half-width katakana U+FF61-U+FF9F to full width; never longer than the text.
inline void KatakanaToFullUtf8(const unsigned char* in, std::size_t n, Output& out) {
    const KanaUtf8Table& table = KanaUtf8();
    auto step = [&table](const unsigned char* text, std::size_t i, std::size_t length,
                         Output& o) -> std::size_t {
        return FoldKana(table, text + i, text + length, o);
    };
    static constexpr ByteRange kLead[] = {{0xEF, 0xEF}};
    static constexpr ByteRange kSecond[] = {{0xBD, 0xBE}};
    auto events = [](const unsigned char* block) {
        return MaskOf(block, kLead) & MaskOf(block + 1, kSecond);
    };
    // Blocks leave at least 64 bytes of text after any byte they mark.
    auto blockStep = [&table](const unsigned char* at, Output& o) -> std::size_t {
        return FoldKana(table, at, at + kBlockBytes, o);
    };
    FoldUtf8(in, n, out, events, blockStep, step);
}

}  // namespace widthfold
