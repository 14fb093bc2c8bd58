// Readers of the encodings the plug-in detects. Each reads a whole text from `start` and hands
// every character to a writer (see writers.h): ASCII runs as they stand, code page 932
// characters by their index in Cp932Map, others as Unicode. A reader stops at the first
// place that is no character of its encoding (the bytes there), the first character the
// writer has no code for, or a full output buffer, and returns that place; offsets count from
// the start of the whole text.
//
// A writer with vector code of its own for a reading offers it as a member that takes what it
// can from in[i] and returns where it stopped (i itself when it takes nothing): SjisKernel(map,
// in, i, n), EucKernel(in, i, n), Utf8Kernel(in, i, n). The readers call it where it exists.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/ascii_run.h"
#include "platform/cp932_map.h"
#include "platform/text_fault.h"
#include "plugins/common/jis_row_cell.h"

namespace platform {

// What a writer answers for a character: written, no room left for it, or no code for it in
// the writer's encoding.
enum class Put { kDone, kNoRoom, kNoCode };

// A Put's outcome at `offset` for the character `c` as a Fault (none when it was written).
inline Fault PutFault(Put put, std::size_t offset, char32_t c) {
    switch (put) {
        case Put::kDone:
            return {};
        case Put::kNoCode:
            return Fault::NoShiftJis(offset, c);
        case Put::kNoRoom:
            break;
    }
    return Fault::NoRoom(offset);
}

// The code page 932 character at `index` of `map`, written at `offset`.
template <class Writer>
Fault PutCode(Writer& out, const Cp932Map& map, std::size_t index, std::size_t offset) {
    return PutFault(out.Code(map, index), offset, map.Unit(index));
}

// Writes the run of ASCII bytes at in[i] and moves `i` past it; false, with `i` where it was,
// when the output has no room for it.
template <class Writer>
bool PutAsciiRun(const unsigned char* in, std::size_t& i, std::size_t n, Writer& out) {
    const std::size_t run = AsciiRun(in + i, n - i);
    if (!out.Ascii(in + i, run)) {
        return false;
    }
    i += run;
    return true;
}

// The loop ReadSjis, ReadEuc and ReadUtf8 share. kernel(i) takes what the writer's vector code
// can from `i` on and returns where it stopped (`i` itself where the writer has none); then a
// run of ASCII goes to the writer, and any other character to character(i), which writes it
// and moves `i` past it, or returns the fault that ends the reading.
template <class Writer, class Kernel, class Character>
Fault ReadCharacters(const unsigned char* in, std::size_t n, std::size_t start, Writer& out,
                     Kernel kernel, Character character) {
    std::size_t i = start;
    while (i < n) {
        i = kernel(i);
        if (i == n) {
            break;
        }
        if (in[i] < 0x80) {
            if (!PutAsciiRun(in, i, n, out)) {
                return Fault::NoRoom(i);
            }
            continue;
        }
        if (const Fault fault = character(i)) {
            return fault;
        }
    }
    return {};
}

// Index in `map` of the Shift JIS pair (lead, trail); 0 when the code page has no character
// there.
inline std::size_t PairIndex(const Cp932Map& map, std::uint8_t lead, std::uint8_t trail) {
    const std::size_t row = map.RowOf(lead);
    if (row == Cp932Map::kSingle) {
        return 0;
    }
    const std::size_t index = Cp932Map::Index(row, trail);
    return map.Utf8(index) != 0 ? index : 0;
}

// Shift JIS (code page 932): ASCII, half-width katakana 0xA1 to 0xDF, and pairs of a lead byte
// and a trail byte that the code page defines.
template <class Writer>
Fault ReadSjis(const Cp932Map& map, const unsigned char* in, std::size_t n, std::size_t start,
               Writer& out) {
    auto kernel = [&](std::size_t i) {
        if constexpr (requires { out.SjisKernel(map, in, i, n); }) {
            return out.SjisKernel(map, in, i, n);
        } else {
            return i;
        }
    };
    return ReadCharacters(in, n, start, out, kernel, [&](std::size_t& i) -> Fault {
        const unsigned char c = in[i];
        const std::size_t row = map.RowOf(c);
        const std::size_t length = row == Cp932Map::kSingle ? 1 : 2;
        if (i + length > n) {
            return Fault::BadBytes(i, 1);
        }
        const std::size_t index = length == 1 ? c : Cp932Map::Index(row, in[i + 1]);
        if (map.Utf8(index) == 0) {
            return Fault::BadBytes(i, length);
        }
        if (const Fault fault = PutCode(out, map, index, i)) {
            return fault;
        }
        i += length;
        return {};
    });
}

// Index in `map` of the EUC-JP character that the bytes c (0x80 or more, not 0x8F) and `next`
// make: 0x8E with a half-width katakana byte, or two bytes 0xA1 to 0xFE that carry a JIS row
// and cell; 0 when they make none that code page 932 holds.
inline std::size_t EucIndex(const Cp932Map& map, unsigned char c, unsigned char next) {
    if (c == 0x8E) {
        return next >= 0xA1 && next <= 0xDF ? next : 0;
    }
    if (c >= 0xA1 && c <= 0xFE && next >= 0xA1 && next <= 0xFE) {
        const jis::BytePair s = jis::SjisFromRowCell(jis::SevenBit(c), jis::SevenBit(next));
        return PairIndex(map, s.first, s.second);
    }
    return 0;
}

// EUC-JP: ASCII, 0x8E with a half-width katakana byte, and pairs of bytes 0xA1 to 0xFE that
// carry a JIS row and cell, read through the Shift JIS arithmetic. The three-byte characters
// (0x8F ...) have no place in code page 932: only checks (writers whose kChecksOnly is true,
// which keep nothing) pass them.
template <class Writer>
Fault ReadEuc(const Cp932Map& map, const unsigned char* in, std::size_t n, std::size_t start,
              Writer& out) {
    auto kernel = [&](std::size_t i) {
        if constexpr (requires { out.EucKernel(in, i, n); }) {
            return out.EucKernel(in, i, n);
        } else {
            return i;
        }
    };
    return ReadCharacters(in, n, start, out, kernel, [&](std::size_t& i) -> Fault {
        const unsigned char c = in[i];
        const unsigned char next = i + 1 < n ? in[i + 1] : 0;
        if (c == 0x8F) {
            std::size_t length = 1;
            while (length < 3 && i + length < n && in[i + length] >= 0xA1 &&
                   in[i + length] <= 0xFE) {
                ++length;
            }
            if (length < 3) {
                return Fault::BadBytes(i, length);
            }
            // A character of JIS X 0212, which code page 932 lacks: well-formed EUC-JP for
            // telling encodings apart, no character to convert.
            if constexpr (Writer::kChecksOnly) {
                i += 3;
                return {};
            }
            return Fault::NoShiftJisBytes(i, 3);
        }
        const std::size_t index = EucIndex(map, c, next);
        if (index == 0) {
            return Fault::BadBytes(i, i + 1 < n && next >= 0x80 ? 2 : 1);
        }
        if (const Fault fault = PutCode(out, map, index, i)) {
            return fault;
        }
        i += 2;
        return {};
    });
}

// ISO-2022-JP: ASCII until ESC $ B or ESC $ @ switch to pairs of JIS row and cell (0x21 to
// 0x7E), ESC ( I or SO to half-width katakana in 7 bits (0x21 to 0x5F), and ESC ( B, ESC ( J
// or SI back to ASCII. In the two other modes every byte must belong to a character of the
// mode, line breaks included. A switch to any other character set is a fault; in ASCII mode any
// other ESC is an ordinary byte.
template <class Writer>
Fault ReadJis(const Cp932Map& map, const unsigned char* in, std::size_t n, std::size_t start,
              Writer& out) {
    enum class Mode { kAscii, kKanji, kKana } mode = Mode::kAscii;
    std::size_t i = start;
    while (i < n) {
        const unsigned char c = in[i];
        if (c == 0x1B && i + 2 < n) {
            const unsigned char a = in[i + 1];
            const unsigned char b = in[i + 2];
            if (a == '$' && (b == 'B' || b == '@')) {
                mode = Mode::kKanji;
                i += 3;
                continue;
            }
            if (a == '(' && (b == 'B' || b == 'J' || b == 'I')) {
                mode = b == 'I' ? Mode::kKana : Mode::kAscii;
                i += 3;
                continue;
            }
        }
        // Any other switch to a character set (ESC, then one of $ ( ) * + , - . /) would
        // leave its characters misread.
        if (c == 0x1B && i + 1 < n && in[i + 1] >= 0x24 && in[i + 1] <= 0x2F) {
            return Fault::BadBytes(i, i + 2 < n ? 3 : 2);
        }
        if (c == 0x0E || c == 0x0F) {
            mode = c == 0x0E ? Mode::kKana : Mode::kAscii;
            ++i;
            continue;
        }
        if (c >= 0x80) {
            return Fault::BadBytes(i, 1);
        }
        if (mode == Mode::kAscii) {
            std::size_t end = i + 1;
            while (end < n && in[end] < 0x80 && in[end] != 0x1B && in[end] != 0x0E &&
                   in[end] != 0x0F) {
                ++end;
            }
            if (!out.Ascii(in + i, end - i)) {
                return Fault::NoRoom(i);
            }
            i = end;
            continue;
        }
        std::size_t index = 0;
        std::size_t length = 1;
        if (mode == Mode::kKana) {
            index = c >= 0x21 && c <= 0x5F ? c + 0x80u : 0;
        } else if (c >= 0x21 && c <= 0x7E && i + 1 < n) {
            const unsigned char cell = in[i + 1];
            length = 2;
            if (cell >= 0x21 && cell <= 0x7E) {
                const jis::BytePair s = jis::SjisFromRowCell(c, cell);
                index = PairIndex(map, s.first, s.second);
            }
        }
        if (index == 0) {
            return Fault::BadBytes(i, length);
        }
        if (const Fault fault = PutCode(out, map, index, i)) {
            return fault;
        }
        i += length;
    }
    return {};
}

// Length of the well-formed UTF-8 sequence at `in` (n > 0 bytes, first byte 0x80 or more)
// and its character; a length of 0 means malformed, `bad` then holds how many bytes make the
// longest well-formed beginning (at least 1).
struct Utf8Sequence {
    std::size_t length;
    char32_t character;
    std::size_t bad;
};
inline Utf8Sequence DecodeUtf8(const unsigned char* in, std::size_t n) {
    const unsigned char c = in[0];
    std::size_t length;
    char32_t character;
    unsigned char low = 0x80;  // range of the second byte
    unsigned char high = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
        character = c & 0x1Fu;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        character = c & 0x0Fu;
        low = c == 0xE0 ? 0xA0 : 0x80;
        high = c == 0xED ? 0x9F : 0xBF;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        character = c & 0x07u;
        low = c == 0xF0 ? 0x90 : 0x80;
        high = c == 0xF4 ? 0x8F : 0xBF;
    } else {
        return {0, 0, 1};
    }
    for (std::size_t k = 1; k < length; ++k) {
        const unsigned char b = k < n ? in[k] : 0;
        if (b < (k == 1 ? low : 0x80) || b > (k == 1 ? high : 0xBF)) {
            return {0, 0, k};
        }
        character = character << 6 | (b & 0x3Fu);
    }
    return {length, character, 0};
}

// UTF-8, with or without a byte-order mark (the caller starts after it).
template <class Writer>
Fault ReadUtf8(const unsigned char* in, std::size_t n, std::size_t start, Writer& out) {
    auto kernel = [&](std::size_t i) {
        if constexpr (requires { out.Utf8Kernel(in, i, n); }) {
            return out.Utf8Kernel(in, i, n);
        } else {
            return i;
        }
    };
    return ReadCharacters(in, n, start, out, kernel, [&](std::size_t& i) -> Fault {
        const Utf8Sequence s = DecodeUtf8(in + i, n - i);
        if (s.length == 0) {
            return Fault::BadBytes(i, s.bad);
        }
        if (const Fault fault = PutFault(out.Unicode(s.character), i, s.character)) {
            return fault;
        }
        i += s.length;
        return {};
    });
}

// UTF-16 in either byte order (the caller starts after the byte-order mark). Surrogates must
// come in pairs, high then low; an odd last byte is no character.
template <bool kBigEndian, class Writer>
Fault ReadUtf16(const unsigned char* in, std::size_t n, std::size_t start, Writer& out) {
    const auto unitAt = [in](std::size_t i) -> char32_t {
        return kBigEndian ? (in[i] << 8 | in[i + 1]) : (in[i + 1] << 8 | in[i]);
    };
    std::size_t i = start;
    for (; i + 1 < n; i += 2) {
        char32_t c = unitAt(i);
        std::size_t length = 2;
        if (c >= 0xD800 && c <= 0xDFFF) {
            const char32_t low = c <= 0xDBFF && i + 3 < n ? unitAt(i + 2) : 0;
            if (low < 0xDC00 || low > 0xDFFF) {
                return Fault::BadBytes(i, 2);
            }
            c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
            length = 4;
        }
        if (const Fault fault = PutFault(out.Unicode(c), i, c)) {
            return fault;
        }
        i += length - 2;
    }
    return i < n ? Fault::BadBytes(i, 1) : Fault{};
}

}  // namespace platform
