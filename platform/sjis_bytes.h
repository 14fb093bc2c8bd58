// Byte classes of Shift JIS (code page 932) and ASCII case, as every part that walks Shift JIS
// text needs them: a lead byte takes the byte after it into one double-byte character, and
// only ASCII letters have a case (a trail byte in the letter range is no letter).
#pragma once

namespace platform::sjis {

// First bytes of double-byte characters: 0x81-0x9F and 0xE0-0xFC.
constexpr bool IsLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Bytes that may follow a lead byte: 0x40-0x7E and 0x80-0xFC.
constexpr bool IsTrailByte(unsigned char c) {
    return c >= 0x40 && c <= 0xFC && c != 0x7F;
}

// Half-width katakana and their punctuation, one byte each: 0xA1-0xDF.
constexpr bool IsHalfWidthKana(unsigned char c) {
    return c >= 0xA1 && c <= 0xDF;
}

constexpr bool IsAsciiUpper(unsigned char c) {
    return c >= 'A' && c <= 'Z';
}
constexpr bool IsAsciiLower(unsigned char c) {
    return c >= 'a' && c <= 'z';
}

// The byte with an ASCII capital made small; every other byte as it is.
constexpr unsigned char AsciiLower(unsigned char c) {
    return IsAsciiUpper(c) ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}
constexpr char AsciiLower(char c) {
    return static_cast<char>(AsciiLower(static_cast<unsigned char>(c)));
}

// The byte with an ASCII small letter made capital; every other byte as it is.
constexpr unsigned char AsciiUpper(unsigned char c) {
    return IsAsciiLower(c) ? static_cast<unsigned char>(c - ('a' - 'A')) : c;
}

}  // namespace platform::sjis
