// Whether a text is UTF-8: the one rule that every plug-in and the program apply before they
// read a text as Shift JIS.
//
// A text is UTF-8 when
//   - it begins with the UTF-8 byte-order mark EF BB BF (whatever follows), or
//   - the whole text is well-formed UTF-8 and holds at least one sequence of three or four
//     bytes. Well-formed means: no stray continuation byte, no overlong form, no surrogate
//     (U+D800 to U+DFFF), nothing above U+10FFFF and no sequence cut short by the end.
//
// Why three or four bytes: Japanese UTF-8 always has them (kana, kanji and the full-width
// forms all lie above U+0800). Shift JIS almost never is well-formed UTF-8 as a whole, since
// its lead bytes 0x81-0x9F are UTF-8 continuation bytes that cannot start a sequence; but a
// short Shift JIS text of half-width katakana (0xC2-0xDF followed by 0xA1-0xBF) can pass for
// two-byte UTF-8 by accident. Such a text stays Shift JIS under this rule.
//
// A text of ASCII alone (no byte of 0x80 or more, and no mark) is both Shift JIS and UTF-8; it
// is classed as kAscii, and whatever reads Shift JIS goes on doing so for it. Every other text
// (kOther) is read as the system's code page 932, or as whatever encoding a function detects.
#pragma once

#include <cstddef>
#include <string_view>

namespace platform {

// The UTF-8 byte-order mark.
inline constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

enum class TextKind {
    kAscii,  // no byte above 0x7F: both encodings read it alike
    kUtf8,   // UTF-8 by the rule above
    kOther,  // Shift JIS or another legacy encoding
};

// The class of `text` by the rule above.
TextKind ClassifyText(std::string_view text);

// ClassifyText(text) == TextKind::kUtf8.
bool IsUtf8Text(std::string_view text);

// Whether `text` begins with the UTF-8 byte-order mark.
constexpr bool HasUtf8Mark(std::string_view text) {
    return text.substr(0, kUtf8Mark.size()) == kUtf8Mark;
}

// Whether the whole of `text` is well-formed UTF-8 (see above); an empty text is.
bool IsWellFormedUtf8(std::string_view text);

// The length of the well-formed UTF-8 sequence that starts at `text[i]` (1 to 4), or 0 where
// no well-formed sequence starts there (`i` past the end included).
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i);

}  // namespace platform
