// The width conversions on EUC-JP text: the Shift JIS conversions, with the characters in
// their EUC-JP bytes. A byte 0x8E (half-width katakana) or 0xA1-0xFE leads a two-byte
// character and 0x8F a three-byte one (JIS X 0212, which holds no width forms); a lead takes the
// bytes after it whatever they are, as in Shift JIS, and every other byte stands alone. Unlike
// Shift JIS full to half width, nothing is dropped: a character cut short by the end of the
// text, or a byte that is no character, is copied as it is. Runs that stay as they are go 64
// bytes at a time, laid out by the lead bytes as Shift JIS blocks are; a three-byte character
// ends a block, as the layout after it is off by one.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>

#include "byte_classes.h"
#include "folding.h"
#include "row_cell_tables.h"

namespace widthfold {

inline constexpr unsigned char kEucKanaLead = 0x8E;
inline constexpr unsigned char kEucThreeByteLead = 0x8F;

constexpr std::size_t EucLength(unsigned char c) {
    if (c == kEucThreeByteLead) {
        return 3;
    }
    return c == kEucKanaLead || (c >= 0xA1 && c <= 0xFE) ? 2 : 1;
}

constexpr std::uint16_t EucOf(RowCell code) {
    return static_cast<std::uint16_t>(code | 0x8080);
}

// Copies the character at i, as much of it as the text holds; returns its length.
inline std::size_t CopyEucCharacter(const unsigned char* in, std::size_t i, std::size_t n,
                                    Output& out) {
    const std::size_t length = std::min(EucLength(in[i]), n - i);
    for (std::size_t k = 0; k < length; ++k) {
        out.Put(in[i + k]);
    }
    return length;
}

// Like Fold, with the EUC-JP lead bytes, and blocks that end before a three-byte character;
// `step` converts any character, `blockStep` one that `interesting` marks.
template <class Interesting, class BlockStep, class Step>
void FoldEuc(const unsigned char* in, std::size_t n, Output& out, Interesting interesting,
             BlockStep blockStep, Step step) {
    static constexpr ByteRange kLeads[] = {{kEucKanaLead, kEucKanaLead}, {0xA1, 0xFE}};
    static constexpr ByteRange kThreeByte[] = {{kEucThreeByteLead, kEucThreeByteLead}};
    std::size_t i = 0;
    while (i < n) {
        if (n - i >= kBlockReadAhead && out.HasBlockRoom()) {
            const unsigned char* block = in + i;
            const BlockLayout layout = LayoutOf(MaskOf(block, kLeads));
            const std::uint64_t threeByte = MaskOf(block, kThreeByte) & layout.starts;
            const std::size_t length =
                threeByte != 0 ? static_cast<std::size_t>(std::countr_zero(threeByte))
                               : layout.length;
            if (length > 0) {
                const std::uint64_t inBlock =
                    length == kBlockBytes ? ~std::uint64_t{0} : (std::uint64_t{1} << length) - 1;
                std::uint64_t events = interesting(block, layout) & inBlock;
                std::size_t p = 0;
                while (events != 0) {
                    const auto e = static_cast<std::size_t>(std::countr_zero(events));
                    events &= events - 1;
                    if (e < p) {
                        continue;  // taken with the character before it
                    }
                    out.CopyPiece(block + p, e - p);
                    p = e + blockStep(block + e, out);
                }
                if (p < length) {
                    out.CopyPiece(block + p, length - p);
                    p = length;
                }
                i += p;
                continue;
            }
        }
        i += step(in, i, n, out);
    }
}

// ASCII digits, letters or symbols to their full-width EUC-JP codes.
inline void HalfToFullEuc(const unsigned char* in, std::size_t n, Output& out, CharSet set) {
    const RowCellWidthTable& table = kRowCellWidthTables[static_cast<int>(set)];
    auto step = [&table](const unsigned char* text, std::size_t i, std::size_t length,
                         Output& o) -> std::size_t {
        const unsigned char c = text[i];
        if (c >= 0x80) {
            return CopyEucCharacter(text, i, length, o);
        }
        if (table.full[c] != 0) {
            o.Put(EucOf(table.full[c]));
        } else {
            o.Put(c);
        }
        return 1;
    };
    auto interesting = [set](const unsigned char* block, const BlockLayout& layout) {
        return SetBytesOf(block, set) & layout.starts;
    };
    auto blockStep = [&table](const unsigned char* at, Output& o) -> std::size_t {
        o.Put(EucOf(table.full[*at]));
        return 1;
    };
    FoldEuc(in, n, out, interesting, blockStep, step);
}

// The ASCII byte of the full-width EUC-JP code at `at` (two bytes readable), or 0.
inline unsigned char HalfOfEuc(const RowCellWidthTable& table, const unsigned char* at) {
    if ((at[0] != (kSymbolRow | 0x80) && at[0] != (kAlnumRow | 0x80)) || at[1] < 0xA1 ||
        at[1] > 0xFE) {
        return 0;
    }
    return table.half[at[0] == (kAlnumRow | 0x80)][at[1] & 0x7F];
}

// Full-width digits, letters or symbols (rows 1 and 3) to ASCII.
inline void FullToHalfEuc(const unsigned char* in, std::size_t n, Output& out, CharSet set) {
    const RowCellWidthTable& table = kRowCellWidthTables[static_cast<int>(set)];
    auto step = [&table](const unsigned char* text, std::size_t i, std::size_t length,
                         Output& o) -> std::size_t {
        const unsigned char half = length - i >= 2 ? HalfOfEuc(table, text + i) : 0;
        if (half != 0) {
            o.Put(half);
            return 2;
        }
        return CopyEucCharacter(text, i, length, o);
    };
    static constexpr ByteRange kSymbolLead[] = {{kSymbolRow | 0x80, kSymbolRow | 0x80}};
    static constexpr ByteRange kAlnumLead[] = {{kAlnumRow | 0x80, kAlnumRow | 0x80}};
    auto interesting = [set](const unsigned char* block, const BlockLayout& layout) {
        const std::uint64_t leads = set == CharSet::kSymbols ? MaskOf(block, kSymbolLead)
                                                             : MaskOf(block, kAlnumLead);
        return leads & layout.pairLeads;
    };
    auto blockStep = [&table](const unsigned char* at, Output& o) -> std::size_t {
        const unsigned char half = HalfOfEuc(table, at);
        o.PutPair(half != 0 ? half : at[0], at[1]);
        o.Back(half != 0);
        return 2;
    };
    FoldEuc(in, n, out, interesting, blockStep, step);
}

// Half-width katakana (0x8E and the Shift JIS kana byte) to full width, joined with a sound
// mark after them as in Shift JIS.
inline void KatakanaToFullEuc(const unsigned char* in, std::size_t n, Output& out) {
    auto step = [](const unsigned char* text, std::size_t i, std::size_t length,
                   Output& o) -> std::size_t {
        if (text[i] != kEucKanaLead || length - i < 2 || !IsHalfWidthKana(text[i + 1])) {
            return CopyEucCharacter(text, i, length, o);
        }
        const unsigned char kana = text[i + 1];
        if (length - i >= 4 && text[i + 2] == kEucKanaLead) {
            const RowCell joined = JoinedKana(kana, text[i + 3]);
            if (joined != 0) {
                o.Put(EucOf(joined));
                return 4;
            }
        }
        o.Put(EucOf(kKanaRowCells.plain[kana - 0xA1]));
        return 2;
    };
    static constexpr ByteRange kKanaLead[] = {{kEucKanaLead, kEucKanaLead}};
    auto interesting = [](const unsigned char* block, const BlockLayout& layout) {
        return MaskOf(block, kKanaLead) & layout.pairLeads;
    };
    auto blockStep = [&step, in, n, &out](const unsigned char* at, Output&) -> std::size_t {
        return step(in, static_cast<std::size_t>(at - in), n, out);
    };
    FoldEuc(in, n, out, interesting, blockStep, step);
}

}  // namespace widthfold
