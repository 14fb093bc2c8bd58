// What one character of the text is: a byte, a Shift JIS character (a lead byte takes the byte
// after it) or a UTF-8 character (a well-formed sequence of one to four bytes).
//
// The option k asks for characters; without it every byte is a character. Which kind of
// character k means is the text's encoding, carried in the option word as FLAG_UTF8. In UTF-8
// a byte that starts no well-formed sequence is a character of its own; its value lies above
// every code point (kStrayByte + the byte), so it never passes for the character U+0080-U+00FF
// of the same number and is written back as the byte it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/sjis_bytes.h"
#include "platform/utf8_text.h"
#include "regex/regex_record.h"

namespace regex {

enum class CharMode : uint8_t { kBytes, kShiftJis, kUtf8 };

// The characters the option word asks for.
constexpr CharMode CharModeOf(uint32_t flags) {
    if ((flags & FLAG_KANJI) == 0) {
        return CharMode::kBytes;
    }
    return (flags & FLAG_UTF8) != 0 ? CharMode::kUtf8 : CharMode::kShiftJis;
}

// The encoding of the command text itself, which is read by characters with or without k.
constexpr CharMode TextModeOf(uint32_t flags) {
    return (flags & FLAG_UTF8) != 0 ? CharMode::kUtf8 : CharMode::kShiftJis;
}

// Values of UTF-8 characters: code points, then the stray bytes.
inline constexpr uint32_t kStrayByte = 0x110000;
inline constexpr uint32_t kMaxUtf8Value = kStrayByte + 0xFF;

// The length of the UTF-8 character at p (1 to 4; 1 for a stray byte and at or past `end`).
inline std::size_t Utf8Width(const char* p, const char* end) {
    if (p >= end || static_cast<unsigned char>(*p) < 0x80) {
        return 1;
    }
    const std::size_t n =
        platform::Utf8SequenceLength(std::string_view(p, static_cast<std::size_t>(end - p)), 0);
    return n == 0 ? 1 : n;
}

// The value of the UTF-8 character of `width` bytes at p (see above).
inline uint32_t Utf8Value(const char* p, std::size_t width) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    switch (width) {
        case 2:
            return (b[0] & 0x1Fu) << 6 | (b[1] & 0x3Fu);
        case 3:
            return (b[0] & 0x0Fu) << 12 | (b[1] & 0x3Fu) << 6 | (b[2] & 0x3Fu);
        case 4:
            return (b[0] & 0x07u) << 18 | (b[1] & 0x3Fu) << 12 | (b[2] & 0x3Fu) << 6 |
                   (b[3] & 0x3Fu);
        default:
            return b[0] < 0x80 ? b[0] : kStrayByte + b[0];
    }
}

// Whether p lies inside a UTF-8 character that starts before it, at or after `begin`.
inline bool InsideUtf8Character(const char* begin, const char* p, const char* end) {
    if (p >= end || (static_cast<unsigned char>(*p) & 0xC0u) != 0x80u) {
        return false;  // only a continuation byte can be inside
    }
    for (std::size_t k = 1; k <= 3 && p - k >= begin; ++k) {
        if (Utf8Width(p - k, end) > k) {
            return true;
        }
    }
    return false;
}

// Appends the UTF-8 character of `value` (a stray byte as that byte).
inline void AppendUtf8(std::string& out, uint32_t value) {
    if (value >= kStrayByte) {
        out.push_back(static_cast<char>(value & 0xFF));
    } else if (value < 0x80) {
        out.push_back(static_cast<char>(value));
    } else if (value < 0x800) {
        out.push_back(static_cast<char>(0xC0 | value >> 6));
        out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
    } else if (value < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | value >> 12));
        out.push_back(static_cast<char>(0x80 | (value >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | value >> 18));
        out.push_back(static_cast<char>(0x80 | (value >> 12 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (value >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
    }
}

// The length of the character at p in `mode` as a text is read by characters (a Shift JIS
// lead byte takes any byte after it before `end`).
inline std::size_t CharWidth(CharMode mode, const char* p, const char* end) {
    switch (mode) {
        case CharMode::kShiftJis:
            return p + 1 < end && platform::sjis::IsLeadByte(static_cast<unsigned char>(*p)) ? 2
                                                                                             : 1;
        case CharMode::kUtf8:
            return Utf8Width(p, end);
        default:
            return 1;
    }
}

// The value of the character of `width` bytes at p: a byte, lead×256+trail, or as above.
inline uint32_t CharValue(CharMode mode, const char* p, std::size_t width) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    if (mode == CharMode::kUtf8) {
        return Utf8Value(p, width);
    }
    return width == 2 ? b[0] * 256u + b[1] : b[0];
}

// Appends the character of `value` in `mode` (Shift JIS: two bytes above 255).
inline void AppendChar(std::string& out, CharMode mode, uint32_t value) {
    if (mode == CharMode::kUtf8) {
        AppendUtf8(out, value);
        return;
    }
    if (value > 0xFF) {
        out.push_back(static_cast<char>(value >> 8));
    }
    out.push_back(static_cast<char>(value & 0xFF));
}

}  // namespace regex
