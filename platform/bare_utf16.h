// UTF-16 without a byte-order mark, taken for what it is only when the text leaves no doubt.
//
// Read as 16-bit units in one byte order, the text is UTF-16 in that order when:
//
//  - its length is even and at least 32 bytes (16 units);
//  - its first 8 KiB hold ASCII line breaks, tabs or spaces (U+000A, U+000D, U+0009, U+0020):
//    at least 4, and at least one per 512 units;
//  - its zero bytes lie mostly in the parity of theirs: units whose other byte is zero (U+xx00)
//    are at most a quarter as many as those breaks, in the first 8 KiB and in the whole text,
//    not counting the ones common in Japanese text (U+3000, the ideographs 一 最 言 紀, U+2500
//    and U+2200). The breaks of the other byte order (U+0A00, U+2000, ...) count here;
//  - zero units (U+0000) are at most one in 64, there are no control characters but those
//    four, U+000B, U+000C, U+001A and U+001B, and every surrogate is paired, high then low.
//
// Texts in Shift JIS, EUC-JP or UTF-8 seldom hold a zero byte at all: a text without one in
// its first 8 KiB is turned away by a single memchr, so the check costs the other forms next
// to nothing. Only texts that pass on that prefix are read in full.
#pragma once

#include <cstddef>

namespace platform {

enum class BareUtf16 {
    kNone,
    kLittleEndian,
    kBigEndian,
};

BareUtf16 DetectBareUtf16(const unsigned char* in, std::size_t n);

}  // namespace platform
