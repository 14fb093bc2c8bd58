// Which form a text is in, one rule for the host and every plug-in. The rule, in order:
//
//  1. A byte-order mark at the start decides: EF BB BF is UTF-8, FF FE UTF-16 little-endian,
//     FE FF UTF-16 big-endian. Without a mark, UTF-16 in one byte order decides when the text
//     leaves no doubt (platform/bare_utf16.h has the details): an even length of 32 bytes or more;
//     ASCII line breaks, tabs or spaces in its first 8 KiB (at least 4, and one per 512
//     units); zero bytes mostly in their parity (other U+xx00 units than U+3000 and a few
//     common kanji at most a quarter as many); at most one zero unit in 64, no other control
//     characters and no unpaired surrogate. Shorter or doubtful texts go on to rule 2.
//     Rules 2 to 5 read a window of the text: all of it up to 64 KiB past its first byte that is
//     not plain ASCII (0x80 or more, or ESC), so that a long text costs no more than its start.
//     A character cut by the window's end counts as no fault.
//  2. An escape sequence that switches to kanji or kana, ESC $ B, ESC $ @ or ESC ( I,
//     in the window decides ISO-2022-JP (JIS).
//  3. A window that is valid UTF-8 throughout is UTF-8 when it holds at least one multi-byte
//     sequence, and plain ASCII otherwise.
//  4. Otherwise the text is read as EUC-JP and as Shift JIS. A reading is valid when every
//     character in it is one that code page 932 holds: for EUC-JP, ASCII, 0x8E followed by
//     0xA1 to 0xDF, and two bytes 0xA1 to 0xFE whose JIS row and cell give such a character
//     (its three-byte characters, 0x8F and two bytes 0xA1 to 0xFE, count as valid here, though
//     converting them fails); for Shift JIS, ASCII, 0xA1 to 0xDF, and a lead byte with a
//     trail byte that give such a character. When one reading is valid, it decides. When both
//     are, each is scored: a two-byte character counts 4 in JIS rows 1 to 8 and 16 to 47
//     (symbols, kana, Greek, Cyrillic, box drawing and the first-level kanji), 2 in rows 48 to
//     84 (second-level kanji) and 0 elsewhere; a half-width katakana counts 1 in the Shift JIS
//     reading and 0 in the EUC-JP reading. The higher score decides, Shift JIS on a tie.
//  5. When no reading is valid, not even UTF-8, the one that goes furthest before its first
//     fault decides (on a tie Shift JIS, then EUC-JP, then UTF-8); converting the text then
//     fails at that fault, as it does at a fault past the window.
//  6. For the functions whose own form is Shift JIS (DetectTextFormForShiftJis), a text that
//     reads as both EUC-JP and Shift JIS without a fault is EUC-JP only when its EUC-JP score
//     is more than twice its Shift JIS score and more than that by over two characters' worth
//     (8). "あい" in EUC-JP (A4 A2 A4 A4) is four half-width katakana in Shift JIS, and any
//     Shift JIS text of half-width katakana alone reads as EUC-JP kanji; half-width katakana
//     score 1 each in Shift JIS and a two-byte character at most 4 in EUC-JP, so no text of
//     half-width katakana and ASCII, however long, passes that bar, and no text of a character
//     or two does: such a text is too doubtful to decide and stays Shift JIS.
#pragma once

#include <cstddef>

namespace platform {

enum class TextForm {
    kAscii,        // nothing but ASCII: valid UTF-8 without a multi-byte sequence, and no mark
    kUtf8,         // UTF-8 without a byte-order mark
    kUtf8Bom,      // UTF-8 after EF BB BF
    kUtf16Le,      // UTF-16 little-endian after FF FE
    kUtf16Be,      // UTF-16 big-endian after FE FF
    kUtf16LeBare,  // UTF-16 little-endian without a mark
    kUtf16BeBare,  // UTF-16 big-endian without a mark
    kJis,          // ISO-2022-JP
    kEuc,          // EUC-JP
    kSjis,         // Shift JIS, code page 932
};

TextForm DetectTextForm(const unsigned char* in, std::size_t n);

// Rules 1 to 6: the form for a function that reads every other text as Shift JIS; an empty
// text is ASCII.
TextForm DetectTextFormForShiftJis(const unsigned char* in, std::size_t n);

// "ASCII", "UTF-8", "UTF-8 (BOM)", "UTF-16LE", "UTF-16BE", "UTF-16LE (no BOM)",
// "UTF-16BE (no BOM)", "JIS", "EUC-JP", "Shift JIS".
const char* TextFormName(TextForm form);

inline bool IsUtf16(TextForm form) {
    return form == TextForm::kUtf16Le || form == TextForm::kUtf16Be ||
           form == TextForm::kUtf16LeBare || form == TextForm::kUtf16BeBare;
}

// Rule 1 alone, for the plug-ins that only need to know whether a text is UTF-16 before they
// read it as bytes: the UTF-16 form DetectTextForm gives the text (kUtf16Le, kUtf16Be,
// kUtf16LeBare, kUtf16BeBare), or kSjis when it gives another one. Rule 1 comes first, so
// the answer is DetectTextForm's for every UTF-16 text; other texts cost at most a look at the
// first 8 KiB, where DetectTextForm reads up to its window.
TextForm DetectUtf16Form(const unsigned char* in, std::size_t n);

// True when rule 1 (a mark, or UTF-16 without one) or rule 2 decides the text, before the
// UTF-8 check.
bool DecidedBeforeUtf8(const unsigned char* in, std::size_t n);

// True when in[start, n) is UTF-8 without a fault.
bool WellFormedUtf8Text(const unsigned char* in, std::size_t start, std::size_t n);

}  // namespace platform
