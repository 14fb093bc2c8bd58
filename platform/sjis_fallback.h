// What becomes of the characters Shift JIS (code page 932) cannot hold on the way from Unicode,
// when the user asks for more than a refusal. One rule for unibridge, which applies it, and the
// character scan, which counts it beforehand. Two fallbacks:
//
// Readable: each character Shift JIS lacks becomes 〓 (0x81AC, the mark Japanese typesetting
// uses for a missing character), after these steps:
//   - a few characters take the form code page 932 holds and Japanese users write
//     (CustomaryForm: 頰→頬, 剝→剥, 𠮟→叱, 塡→填 and the others listed there);
//   - a variation selector (U+FE00-U+FE0F, U+E0100-U+E01EF) is dropped: it names a glyph, not
//     another character;
//   - an emoji sequence is one missing character and one 〓: after a replaced character, the
//     modifiers, variation selectors, tags and the keycap mark belong to it, and so does the
//     character after a zero-width joiner (U+200D); two regional indicators make one flag. A
//     joiner after a kept character is a missing character of its own, joined to the next.
//
// Lossless: each character that would not come back as itself through Shift JIS becomes a
// numeric reference "&#x1F600;", which browsers and many applications read back: those Shift JIS
// lacks (variation selectors and the four kanji included) and the seven look-alikes that the
// refusal takes to a code of another character (U+301C is written "&#x301C;", since 0x8160 reads
// back as U+FF5E). An '&' that already begins a numeric reference becomes "&#x26;", so that
// turning references back gives the original text, byte for byte.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/cp932_map.h"

namespace platform {

// 〓, what the readable fallback writes for a missing character.
inline constexpr std::uint16_t kGetaMark = 0x81AC;

// The form code page 932 holds of `c`, which it lacks; 0 when there is none on the list.
char32_t CustomaryForm(char32_t c);

bool IsVariationSelector(char32_t c);

// The Shift JIS code of `c` that reads back as `c` itself, or Cp932Map::kNoCode (the seven
// look-alikes have none).
std::uint16_t ExactCode(const Cp932Map& map, char32_t c);

// The readable fallback's decisions for the characters of one text, in order. The caller hands
// it every character it could not write by its code as it stands, and says Kept() whenever it
// wrote one by its code without asking (an ASCII run, a block of a fast path).
class ReadableFallback {
  public:
    enum class Action {
        kKeep,          // write the character's own code (`hasCode` was true)
        kCustomary,     // write the code of CustomaryForm(c)
        kGeta,          // write 〓
        kDrop,          // write nothing: part of the sequence 〓 stands for
        kDropSelector,  // write nothing: a variation selector after a kept character
    };

    Action Next(char32_t c, bool hasCode);
    void Kept() { state_ = State::kAfterKept; }
    // The next character belongs to the sequence before it whatever it is (a zero-width joiner
    // came): it must come to Next(), not be written by its code.
    bool JoinPending() const { return state_ == State::kJoin; }

  private:
    enum class State { kAfterKept, kReplaced, kJoin, kFlag };
    State state_ = State::kAfterKept;
};

// The numeric reference at p[0, n) when p[0] is '&': "&#x" or "&#X" with 1 to 8 hexadecimal
// digits, or "&#" with 1 to 8 decimal digits, then ';', naming a character from U+0001 to
// U+10FFFF that is no surrogate. Its length is 0 when there is none.
struct NumericReference {
    std::size_t length = 0;
    char32_t character = 0;
};
NumericReference ReadNumericReference(const unsigned char* p, std::size_t n);

// Writes "&#x" with the upper-case hexadecimal digits of `c` and ';' at `out` (room for
// kLongestReference bytes) and returns the length.
inline constexpr std::size_t kLongestReference = 10;  // "&#x10FFFF;"
std::size_t WriteNumericReference(char32_t c, unsigned char* out);

// Turns every numeric reference of the UTF-8 text at text[0, n) into its character, in place
// (a character never takes more bytes than its reference), and returns the new length.
std::size_t DecodeNumericReferences(unsigned char* text, std::size_t n);

// True when an '&' of in[0, n) begins a numeric reference.
bool HasNumericReference(const unsigned char* in, std::size_t n);

// What each fallback would change in a UTF-8 or UTF-16 text: the places where the readable one
// writes 〓 or a customary form or drops a selector, and the references the lossless one
// writes; the first line (from 1) of each, 0 when there is none. Nothing for any other form,
// or for a text with bytes that are no character, which the conversion fails on.
struct FallbackCounts {
    std::uint64_t readable = 0;
    std::uint64_t lossless = 0;
    std::uint64_t firstReadableLine = 0;
    std::uint64_t firstLosslessLine = 0;
};
FallbackCounts CountFallbacks(const unsigned char* in, std::size_t n);

}  // namespace platform
