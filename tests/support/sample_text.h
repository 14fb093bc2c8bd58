// Real-looking Japanese text in Shift JIS for tests and benchmarks.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace testing_support {

// Shift JIS bytes of a UTF-8 literal.
std::string Sjis(std::string_view utf8);

// A profile (ini file, settings list) given in UTF-8 with LF, as this system saves it: the
// same on Linux, Shift JIS with CR LF on Windows (every line must fit Shift JIS).
std::string InSystemProfileForm(std::string_view utf8);

// About `bytes` bytes (never more) of Shift JIS prose in lines of 60 to 100 bytes, mixing
// kanji, kana, ASCII, digits and half-width katakana, each line ended by `lineBreak`.
std::string JapaneseText(std::size_t bytes, std::string_view lineBreak = "\r\n");

// The same prose in UTF-8: about `bytes` bytes (never more), lines of 90 to 150 bytes.
std::string JapaneseUtf8Text(std::size_t bytes, std::string_view lineBreak = "\r\n");

}  // namespace testing_support
