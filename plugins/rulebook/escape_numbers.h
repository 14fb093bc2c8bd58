// Numbers written in escapes of replacements and character lists: octal and hexadecimal
// digits read up to a limit and never past the end of the text they are part of.
#pragma once

#include <cstddef>
#include <cstdint>

namespace rulebook {

struct EscapeNumber {
    uint32_t value = 0;
    std::size_t digits = 0;
};

// At most `maxDigits` octal digits ("0" to "7") from p, stopping at end.
inline EscapeNumber ReadOctalDigits(const char* p, const char* end, std::size_t maxDigits) {
    EscapeNumber n;
    while (n.digits < maxDigits && p + n.digits < end && p[n.digits] >= '0' && p[n.digits] <= '7') {
        n.value = n.value * 8 + static_cast<uint32_t>(p[n.digits] - '0');
        ++n.digits;
    }
    return n;
}

// At most `maxDigits` hexadecimal digits from p, stopping at end; a lower-case "x" counts
// as a digit of value 0, as the pattern compiler reads it.
inline EscapeNumber ReadHexDigits(const char* p, const char* end, std::size_t maxDigits) {
    EscapeNumber n;
    while (n.digits < maxDigits && p + n.digits < end) {
        const char c = p[n.digits];
        uint32_t digit;
        if (c >= '0' && c <= '9') {
            digit = static_cast<uint32_t>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<uint32_t>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            digit = static_cast<uint32_t>(c - 'A' + 10);
        } else if (c == 'x') {
            digit = 0;
        } else {
            break;
        }
        n.value = n.value * 16 + digit;
        ++n.digits;
    }
    return n;
}

// "\cX": X upper-cased when it is an ASCII lower-case letter, then bit 0x40 inverted.
inline unsigned char ControlCharacter(unsigned char x) {
    if (x >= 'a' && x <= 'z') {
        x = static_cast<unsigned char>(x - 'a' + 'A');
    }
    return static_cast<unsigned char>(x ^ 0x40);
}

}  // namespace rulebook
