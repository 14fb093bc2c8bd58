// Shift JIS text written as EUC-JP or JIS, and UTF-8 text as UTF-16, by the plainest rules:
// the oracles of the widthfold tests in other encodings (a fold in any form must give the fold
// of the Shift JIS or UTF-8 text, written in that form) and the benchmarks' sample texts.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/utf16.h"

namespace widthfold_test {

// JIS X 0208 row and cell of a Shift JIS two-byte code, by the Shift JIS arithmetic.
inline std::string RowCell(unsigned char lead, unsigned char trail) {
    int row = 2 * (lead - (lead <= 0x9F ? 0x70 : 0xB0)) - (trail < 0x9F ? 1 : 0);
    int cell = trail <= 0x7E ? trail - 0x1F : trail <= 0x9E ? trail - 0x20 : trail - 0x7E;
    return {static_cast<char>(row), static_cast<char>(cell)};
}

inline bool IsSjisLead(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

inline std::string SjisToEuc(std::string_view sjis) {
    std::string euc;
    for (std::size_t i = 0; i < sjis.size(); ++i) {
        const auto c = static_cast<unsigned char>(sjis[i]);
        if (IsSjisLead(c) && i + 1 < sjis.size()) {
            for (char b : RowCell(c, static_cast<unsigned char>(sjis[++i]))) {
                euc += static_cast<char>(b | 0x80);
            }
        } else {
            if (c >= 0xA1 && c <= 0xDF) {
                euc += '\x8E';
            }
            euc += static_cast<char>(c);
        }
    }
    return euc;
}

// How a JIS text enters kana mode: ESC ( I, or SO (closed by SI).
enum class KanaSwitch { kEscape, kShiftOut };

// One switch before every character whose mode differs from the one before it; ESC ( B at
// the end when the text is not in ASCII mode. A kana run entered by SO is left by SI.
inline std::string SjisToJis(std::string_view sjis, KanaSwitch kana = KanaSwitch::kEscape) {
    enum { kAscii, kKanji, kKana } mode = kAscii;
    std::string jis;
    auto enter = [&](decltype(mode) to) {
        if (mode == to) {
            return;
        }
        if (mode == kKana && kana == KanaSwitch::kShiftOut) {
            jis += '\x0F';
            mode = kAscii;
            if (to == kAscii) {
                return;
            }
        }
        if (to == kKana) {
            jis += kana == KanaSwitch::kShiftOut ? "\x0E" : "\x1B(I";
        } else {
            jis += to == kKanji ? "\x1B$B" : "\x1B(B";
        }
        mode = to;
    };
    for (std::size_t i = 0; i < sjis.size(); ++i) {
        const auto c = static_cast<unsigned char>(sjis[i]);
        if (IsSjisLead(c) && i + 1 < sjis.size()) {
            enter(kKanji);
            jis += RowCell(c, static_cast<unsigned char>(sjis[++i]));
        } else if (c >= 0xA1 && c <= 0xDF) {
            enter(kKana);
            jis += static_cast<char>(c - 0x80);
        } else {
            enter(kAscii);
            jis += static_cast<char>(c);
        }
    }
    enter(kAscii);
    return jis;
}

// UTF-16 bytes in either order, with the byte-order mark or without.
inline std::string Utf16Bytes(std::string_view utf8, bool bigEndian, bool mark) {
    std::u16string units = platform::Utf8ToUtf16(utf8);
    if (mark) {
        units.insert(units.begin(), u'\uFEFF');
    }
    std::string bytes;
    for (char16_t u : units) {
        const auto high = static_cast<char>(u >> 8);
        const auto low = static_cast<char>(u & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

}  // namespace widthfold_test
