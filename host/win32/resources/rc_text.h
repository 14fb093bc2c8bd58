// Texts in the form a resource script holds them: in double quotes, a double quote doubled,
// and a backslash, tab, line feed and carriage return written as escapes, so that the resource
// compiler (reading the script as UTF-8) gives back exactly the text's own characters. Any
// other control byte, and bytes that are not UTF-8, are refused with an error naming them.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace rc {

namespace detail {

inline std::string HexByte(unsigned char byte) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    return std::string{"0x"} + kDigits[byte >> 4] + kDigits[byte & 0xF];
}

// The length of the UTF-8 sequence that starts at text[at], or 0 when it is not one (a stray
// continuation byte, a cut or overlong sequence, a surrogate or a code point past U+10FFFF).
inline std::size_t Utf8Length(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    std::size_t length = 0;
    char32_t point = 0;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, point = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, point = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, point = lead & 0x07;
    } else {
        return 0;
    }
    if (at + length > text.size())
        return 0;
    for (std::size_t i = at + 1; i < at + length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        point = (point << 6) | (byte(i) & 0x3F);
    }
    const char32_t least = length == 3 ? 0x800 : length == 4 ? 0x10000 : 0x80;
    if (point < least || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF))
        return 0;
    return length;
}

inline const char* Escape(char c) {
    switch (c) {
        case '"':
            return "\"\"";
        case '\\':
            return "\\\\";
        case '\t':
            return "\\t";
        case '\n':
            return "\\n";
        case '\r':
            return "\\r";
        default:
            return nullptr;
    }
}

}  // namespace detail

// The text as a quoted string of a resource script. Throws std::invalid_argument for a control
// byte other than tab, line feed and carriage return, and for bytes that are not UTF-8.
inline std::string Quoted(std::string_view text) {
    std::string quoted = "\"";
    for (std::size_t at = 0; at < text.size();) {
        const char c = text[at];
        const auto byte = static_cast<unsigned char>(c);
        if (const char* escape = detail::Escape(c)) {
            quoted += escape;
            ++at;
            continue;
        }
        if (byte < 0x20 || byte == 0x7F) {
            throw std::invalid_argument("control byte " + detail::HexByte(byte) + " in \"" +
                                        std::string{text} + "\"");
        }
        const std::size_t length = detail::Utf8Length(text, at);
        if (length == 0) {
            throw std::invalid_argument("byte " + detail::HexByte(byte) + " at " +
                                        std::to_string(at) + " is not UTF-8");
        }
        quoted.append(text, at, length);
        at += length;
    }
    return quoted + '"';
}

}  // namespace rc
