// A Shift JIS test text in the other forms the program reads: EUC-JP, JIS (ISO-2022-JP with
// ESC $ B, ESC ( I and ESC ( B) and UTF-16 in either byte order, with or without a mark. The
// legacy forms come by the row/cell arithmetic, so they hold exactly the Shift JIS characters.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/codepage.h"
#include "plugins/common/jis_row_cell.h"

namespace testing_support {

inline bool IsSjisLead(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

inline std::string EucFromSjis(std::string_view sjis) {
    std::string euc;
    for (std::size_t i = 0; i < sjis.size(); ++i) {
        const auto c = static_cast<unsigned char>(sjis[i]);
        if (IsSjisLead(c) && i + 1 < sjis.size()) {
            const jis::BytePair rc = jis::RowCellFromSjis(c, static_cast<unsigned char>(sjis[++i]));
            euc += static_cast<char>(jis::EucByte(rc.first));
            euc += static_cast<char>(jis::EucByte(rc.second));
        } else if (c >= 0xA1 && c <= 0xDF) {
            euc += '\x8E';
            euc += static_cast<char>(c);
        } else {
            euc += static_cast<char>(c);
        }
    }
    return euc;
}

inline std::string JisFromSjis(std::string_view sjis) {
    std::string jis;
    std::string_view mode = "\x1B(B";
    const auto enter = [&](std::string_view next) {
        if (next != mode) {
            jis += next;
            mode = next;
        }
    };
    for (std::size_t i = 0; i < sjis.size(); ++i) {
        const auto c = static_cast<unsigned char>(sjis[i]);
        if (IsSjisLead(c) && i + 1 < sjis.size()) {
            enter("\x1B$B");
            const jis::BytePair rc = jis::RowCellFromSjis(c, static_cast<unsigned char>(sjis[++i]));
            jis += static_cast<char>(rc.first);
            jis += static_cast<char>(rc.second);
        } else if (c >= 0xA1 && c <= 0xDF) {
            enter("\x1B(I");
            jis += static_cast<char>(c - 0x80);
        } else {
            enter("\x1B(B");
            jis += static_cast<char>(c);
        }
    }
    enter("\x1B(B");
    return jis;
}

inline std::string Utf16FromSjis(std::string_view sjis, bool bigEndian, bool mark) {
    std::u16string units = platform::DecodeCodePage(platform::kCodePageWindowsJapanese, sjis);
    if (mark) {
        units.insert(units.begin(), u'\uFEFF');
    }
    std::string bytes;
    for (const char16_t unit : units) {
        const auto low = static_cast<char>(unit & 0xFF);
        const auto high = static_cast<char>(unit >> 8);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

}  // namespace testing_support
