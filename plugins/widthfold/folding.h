// The width conversions. Each walks the text once; runs of bytes that stay as they are go
// 64 bytes at a time, and only the characters that change are handled one by one.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "byte_classes.h"
#include "width_tables.h"

namespace widthfold {

// Input a block step may read: its own 64 bytes, the byte after them, and whole 64-byte pieces
// from any point of the block.
inline constexpr std::size_t kBlockReadAhead = 2 * kBlockBytes;

// Output position and end. Callers guarantee room for the whole result; block steps also
// need kBlockRoom bytes, as they copy whole 64-byte pieces and keep only what they need.
class Output {
  public:
    static constexpr std::size_t kBlockRoom = 3 * kBlockBytes;

    Output(unsigned char* begin, std::size_t capacity) : next_(begin), end_(begin + capacity) {}

    bool HasBlockRoom() const { return HasRoom(kBlockRoom); }
    std::size_t Room() const { return static_cast<std::size_t>(end_ - next_); }
    bool HasRoom(std::size_t bytes) const {
        return static_cast<std::size_t>(end_ - next_) >= bytes;
    }
    void Put(unsigned char c) { *next_++ = c; }
    void Put(const std::array<unsigned char, 3>& bytes) {
        std::memcpy(next_, bytes.data(), bytes.size());
        next_ += bytes.size();
    }
    void Put(std::uint16_t code) {
        next_[0] = static_cast<unsigned char>(code >> 8);
        next_[1] = static_cast<unsigned char>(code);
        next_ += 2;
    }
    // Copies `length` bytes (at most 64) as one 64-byte piece, which takes no branch on the
    // length: reads and writes 64 bytes.
    void CopyPiece(const unsigned char* from, std::size_t length) {
        std::memcpy(next_, from, kBlockBytes);
        next_ += length;
    }
    // Writes two bytes; Back(1) then takes the second one back.
    void PutPair(unsigned char first, unsigned char second) {
        next_[0] = first;
        next_[1] = second;
        next_ += 2;
    }
    void Back(std::size_t count) { next_ -= count; }
    // Takes `count` bytes written at next() as output.
    void Advance(std::size_t count) { next_ += count; }
    unsigned char* next() const { return next_; }

  private:
    unsigned char* next_;
    unsigned char* end_;
};

// Copies the lead byte at `i` and the byte after it (if any); returns the bytes taken.
inline std::size_t CopyTwoByte(const unsigned char* in, std::size_t i, std::size_t n, Output& out) {
    out.Put(in[i]);
    if (i + 1 < n) {
        out.Put(in[i + 1]);
        return 2;
    }
    return 1;
}

// Converts every character start of `in` that `interesting` marks in a block with
// `blockStep`, and every character of the parts too short for blocks with `step`; everything
// else is copied. `step` converts the character at i and returns the bytes it took;
// `blockStep` does the same for a marked character (which it may take for granted is one it
// converts), the text around it being readable.
template <class Interesting, class BlockStep, class Step>
void Fold(const unsigned char* in, std::size_t n, Output& out, Interesting interesting,
          BlockStep blockStep, Step step) {
    std::size_t i = 0;
    while (i < n) {
        if (n - i >= kBlockReadAhead && out.HasBlockRoom()) {
            const unsigned char* block = in + i;
            const BlockLayout layout = LayoutOf(MaskOf(block, kLeadRanges));
            std::uint64_t events = interesting(block, layout);
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
            if (p < layout.length) {
                out.CopyPiece(block + p, layout.length - p);
                p = layout.length;
            }
            i += p;
            continue;
        }
        i += step(in, i, n, out);
    }
}

// The bytes of a 64-byte block that are one-byte characters of `set` if they stand alone.
inline std::uint64_t SetBytesOf(const unsigned char* block, CharSet set) {
    static constexpr ByteRange kDigits[] = {{0x30, 0x39}};
    static constexpr ByteRange kLetters[] = {{0x41, 0x5A}, {0x61, 0x7A}};
    static constexpr ByteRange kSymbols[] = {
        {0x20, 0x2F}, {0x3A, 0x40}, {0x5B, 0x60}, {0x7B, 0x7E}};
    switch (set) {
        case CharSet::kDigits:
            return MaskOf(block, kDigits);
        case CharSet::kLetters:
            return MaskOf(block, kLetters);
        case CharSet::kSymbols:
            break;
    }
    return MaskOf(block, kSymbols);
}

// Half to full width (digits, letters or symbols): one-byte characters of the set become their
// full-width codes.
inline void HalfToFull(const unsigned char* in, std::size_t n, Output& out, CharSet set) {
    const WidthTable& table = kWidthTables[static_cast<int>(set)];
    auto step = [&table](const unsigned char* text, std::size_t i, std::size_t length,
                         Output& o) -> std::size_t {
        const unsigned char c = text[i];
        if (IsLeadByte(c)) {
            return CopyTwoByte(text, i, length, o);
        }
        if (table.full[c] != 0) {
            o.Put(table.full[c]);
        } else {
            o.Put(c);
        }
        return 1;
    };
    auto interesting = [set](const unsigned char* block, const BlockLayout& layout) {
        return SetBytesOf(block, set) & layout.starts;
    };
    auto blockStep = [&table](const unsigned char* at, Output& o) -> std::size_t {
        o.Put(table.full[*at]);
        return 1;
    };
    Fold(in, n, out, interesting, blockStep, step);
}

// Full to half width: two-byte characters whose code is the full-width form of a character of
// the set become that one byte. A lead byte without a valid trail byte after it (at the end of
// the text, or before a line break, a zero byte or another control byte) is a broken character
// and is dropped; the byte after it is kept.
inline void FullToHalf(const unsigned char* in, std::size_t n, Output& out, CharSet set) {
    const WidthTable& table = kWidthTables[static_cast<int>(set)];
    auto step = [&table](const unsigned char* text, std::size_t i, std::size_t length,
                         Output& o) -> std::size_t {
        const unsigned char c = text[i];
        if (!IsLeadByte(c)) {
            o.Put(c);
            return 1;
        }
        if (i + 1 >= length || !IsTrailByte(text[i + 1])) {
            return 1;
        }
        if (c == 0x81 || c == 0x82) {
            const unsigned char half = table.half[c - 0x81][text[i + 1]];
            if (half != 0) {
                o.Put(half);
                return 2;
            }
        }
        return CopyTwoByte(text, i, length, o);
    };
    // Lead byte 0x81 with a symbol's trail byte, or 0x82 with one from 0x4F to 0x9A (digits and
    // letters): the only codes that can fold.
    static constexpr ByteRange kSymbolLead[] = {{0x81, 0x81}};
    // Trail bytes of the full-width symbols (0x40-0x97 without the common 0x41, 0x42, 0x52-0x5D
    // and 0x71-0x7A: ideographic comma and full stop, prolonged sound mark, brackets).
    static constexpr ByteRange kSymbolTrail[] = {
        {0x40, 0x40}, {0x43, 0x51}, {0x5E, 0x70}, {0x7B, 0x97}};
    static constexpr ByteRange kAlnumLead[] = {{0x82, 0x82}};
    static constexpr ByteRange kAlnumTrail[] = {{0x4F, 0x9A}};
    auto interesting = [set](const unsigned char* block, const BlockLayout& layout) {
        const bool symbols = set == CharSet::kSymbols;
        const std::uint64_t leads =
            symbols ? MaskOf(block, kSymbolLead) : MaskOf(block, kAlnumLead);
        const std::uint64_t trails =
            symbols ? MaskOf(block + 1, kSymbolTrail) : MaskOf(block + 1, kAlnumTrail);
        const std::uint64_t broken = layout.pairLeads & ~MaskOf(block + 1, kTrailRanges);
        return (leads & trails & layout.pairLeads) | broken;
    };
    // A marked pair is 0x81 or 0x82 with its trail byte (or a broken character); without branches,
    // as whether it folds follows no pattern: its half-width byte, or both bytes as they are.
    auto blockStep = [&table](const unsigned char* at, Output& o) -> std::size_t {
        if (!IsTrailByte(at[1])) {
            return 1;  // a broken character: its lead byte is dropped
        }
        const unsigned char half = table.half[at[0] - 0x81][at[1]];
        o.PutPair(half != 0 ? half : at[0], at[1]);
        o.Back(half != 0);
        return 2;
    };
    Fold(in, n, out, interesting, blockStep, step);
}

// Half-width katakana to full width, a kana and its voiced or semi-voiced sound mark becoming
// one full-width character where one exists.
inline void KatakanaToFull(const unsigned char* in, std::size_t n, Output& out) {
    auto step = [](const unsigned char* text, std::size_t i, std::size_t length,
                   Output& o) -> std::size_t {
        const unsigned char c = text[i];
        if (IsLeadByte(c)) {
            return CopyTwoByte(text, i, length, o);
        }
        if (!IsHalfWidthKana(c)) {
            o.Put(c);
            return 1;
        }
        const std::uint16_t full = KatakanaOf(c);
        const int mark = i + 1 < length ? text[i + 1] : -1;
        if (mark == kVoicedMark && c == 0xB3) {
            o.Put(kVoicedU);
            return 2;
        }
        if (mark == kVoicedMark && TakesVoicedMark(c)) {
            o.Put(static_cast<std::uint16_t>(full + 1));
            return 2;
        }
        if (mark == kSemiVoicedMark && TakesSemiVoicedMark(c)) {
            o.Put(static_cast<std::uint16_t>(full + 2));
            return 2;
        }
        o.Put(full);
        return 1;
    };
    static constexpr ByteRange kKanaRange[] = {{0xA1, 0xDF}};
    auto interesting = [](const unsigned char* block, const BlockLayout& layout) {
        return MaskOf(block, kKanaRange) & layout.starts;
    };
    auto blockStep = [&step, in, n, &out](const unsigned char* at, Output&) -> std::size_t {
        return step(in, static_cast<std::size_t>(at - in), n, out);
    };
    Fold(in, n, out, interesting, blockStep, step);
}

}  // namespace widthfold
