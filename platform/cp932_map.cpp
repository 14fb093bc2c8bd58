#include "platform/cp932_map.h"

#include "platform/codepage.h"
#include "platform/sjis_bytes.h"

namespace platform {
namespace {

constexpr unsigned kCodePage = platform::kCodePageWindowsJapanese;

using platform::sjis::IsLeadByte;

// Bytes the code page passes through as private placeholders rather than characters: 0x80,
// 0xA0 and 0xFD to 0xFF. No Shift JIS text holds them.
bool IsPlaceholderByte(unsigned byte) {
    return byte == 0x80 || byte == 0xA0 || byte >= 0xFD;
}

// The unit the runtime decodes an undefined two-byte code to (and its own middle dot).
constexpr char16_t kUndefinedUnit = u'\u30FB';

// The runtime's unit for one or two bytes, and whether it is a character there: an undefined
// code decodes to the middle dot, which encodes back only to the dot's own code.
bool Decode(const unsigned char* bytes, std::size_t length, char16_t& unit) {
    if (platform::MultiByteToWideChar(kCodePage, bytes, length, &unit, 1) != 1) {
        return false;
    }
    if (unit != kUndefinedUnit) {
        return true;
    }
    unsigned char back[2] = {};
    const std::size_t backLength = platform::WideCharToMultiByte(kCodePage, &unit, 1, back, 2);
    return backLength == length && back[0] == bytes[0] && (length == 1 || back[1] == bytes[1]);
}

std::uint32_t PackUtf8(char16_t unit) {
    if (unit < 0x80) {
        return 1u << 24 | unit;
    }
    if (unit < 0x800) {
        return 2u << 24 | (0x80u | (unit & 0x3Fu)) << 8 | (0xC0u | unit >> 6);
    }
    return 3u << 24 | (0x80u | (unit & 0x3Fu)) << 16 | (0x80u | (unit >> 6 & 0x3Fu)) << 8 |
           (0xE0u | unit >> 12);
}

}  // namespace

const Cp932Map& Cp932Map::Get() {
    static const Cp932Map map;
    return map;
}

Cp932Map::Cp932Map() {
    codes_.fill(kNoCode);
    std::size_t rows = 1;
    for (unsigned byte = 0; byte < 256; ++byte) {
        if (IsLeadByte(byte)) {
            leadOf_[rows] = static_cast<std::uint8_t>(byte);
            rowOf_[byte] = static_cast<std::uint8_t>(rows++);
            continue;
        }
        const unsigned char bytes[1] = {static_cast<unsigned char>(byte)};
        char16_t unit = 0;
        rowOf_[byte] = kSingle;
        if (IsPlaceholderByte(byte) || !Decode(bytes, 1, unit)) {
            continue;
        }
        utf8_[byte] = PackUtf8(unit);
        unit_[byte] = unit;
        codes_[unit] = static_cast<std::uint16_t>(byte);
    }
    for (std::size_t row = 1; row < kRows; ++row) {
        for (unsigned trail = 0; trail < 256; ++trail) {
            const unsigned char bytes[2] = {leadOf_[row], static_cast<unsigned char>(trail)};
            char16_t unit = 0;
            if (!Decode(bytes, 2, unit)) {
                continue;
            }
            utf8_[Index(row, bytes[1])] = PackUtf8(unit);
            unit_[Index(row, bytes[1])] = unit;
        }
    }
    for (unsigned pair = 0; pair < 0x10000; ++pair) {
        const std::size_t row = rowOf_[pair >> 8];
        utf8ByPair_[pair] = utf8_[row == kSingle ? pair >> 8 : Index(row, pair & 0xFF)];
    }
    // The way back takes the code the runtime encodes each character to, where that code
    // decodes to the same character again.
    for (unsigned u = 0; u < 0x10000; ++u) {
        if (u >= 0xD800 && u < 0xE000) {
            continue;
        }
        const char16_t unit = static_cast<char16_t>(u);
        unsigned char bytes[2] = {};
        const std::size_t length = platform::WideCharToMultiByte(kCodePage, &unit, 1, bytes, 2);
        std::size_t index = 0;
        if (length == 1 && rowOf_[bytes[0]] == kSingle) {
            index = bytes[0];
        } else if (length == 2 && rowOf_[bytes[0]] != kSingle) {
            index = Index(rowOf_[bytes[0]], bytes[1]);
        } else {
            continue;
        }
        if (utf8_[index] != 0 && unit_[index] == unit) {
            codes_[u] =
                static_cast<std::uint16_t>(length == 1 ? bytes[0] : bytes[0] << 8 | bytes[1]);
        }
    }
    for (const JisAlias& alias : kJisAliases) {
        codes_[alias.unit] = alias.code;
    }
    for (unsigned u = 0; u < 0x10000; ++u) {
        const std::uint32_t code = codes_[u];
        sjisByUnit_[u] = code == kNoCode ? 0
                         : code < 0x100  ? 1u << 24 | code
                                         : 2u << 24 | (code & 0xFFu) << 8 | code >> 8;
    }
}

}  // namespace platform
