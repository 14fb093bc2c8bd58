// encswap's guess at a legacy Japanese text's encoding from its first telling byte: the rule
// its automatic functions convert by, kept here so that what the host tells the user about a
// file ("encswap would read it as EUC-JP") is that very rule and not a copy of it.
//
// The text is scanned from the start until one byte decides:
// ESC '$' means JIS; 0x81-0x9F Shift JIS; 0xA1-0xDF EUC; any other byte from 0x80 up means
// Shift JIS when the byte after it (0 past the end) is 0xA0 or less, EUC when it is itself
// 0xFD or 0xFE, and otherwise nothing, the scan going on with the next byte. Bytes below 0x80
// decide nothing, so plain ASCII stays undecided. Zero bytes are ordinary bytes.
//
// It is far coarser than platform/text_form.h: a Shift JIS text whose first non-ASCII
// character is a half-width katakana is taken for EUC, and UTF-8 for Shift JIS or EUC.
#pragma once

#include <cstddef>

namespace platform {

enum class LegacyGuess { kUndecided, kJis, kEuc, kSjis };

LegacyGuess GuessLegacyEncoding(const unsigned char* in, std::size_t n);

// "undecided", "JIS", "EUC-JP", "Shift JIS" (the last three as TextFormName names them).
const char* LegacyGuessName(LegacyGuess guess);

}  // namespace platform
