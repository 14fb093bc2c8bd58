// Whether a file's bytes are text: the one test the run, the tools and the window use before
// a text function may touch a file. A text function (a line-ending, encoding or width
// conversion) makes sense of text only; over an image, an archive, a program or a
// repository's object file it rewrites bytes that happen to look like line breaks or kanji,
// and the file is lost.
//
// The rule. Bytes are binary when either holds:
//
//  1. They start with the signature of a common binary format: PNG, GIF, JPEG, TIFF,
//     RIFF (WebP, WAVE, AVI), BMP and ICO/CUR when their header adds up (BMP: "BM", a file-size
//     field no larger than the length and no smaller than the pixel-data offset, or zero; that
//     offset past a known DIB header size (12, 16, 40, 52, 56, 64, 108, 124) and within the
//     file. ICO/CUR: reserved 0, type 1 or 2, a count above 0, every directory entry and every
//     image it points to within the file), ZIP (office documents, jar and epub are ZIP), OLE2
//     compound files (old office documents), PDF, ELF, PE (MZ with its "PE" header), Mach-O,
//     Java class, wasm, gzip, bzip2, xz, zstd, 7z, rar, ar (static libraries, Debian packages),
//     tar, TrueType/OpenType (with a consistent table directory), TTC, WOFF and WOFF2 (with
//     their length field), MP3 with an ID3 tag, Ogg, FLAC, MP4/MOV ("ftyp"), Matroska/WebM,
//     MIDI, SQLite. Where a text could begin with the same letters ("true", "OTTO", "BM",
//     "MZ", "ID3", "BZh"), more of the header must fit before the bytes count as that format.
//  2. They hold a byte that no text in this program's encodings holds. Shift JIS, EUC-JP,
//     UTF-8 and ASCII text use every byte from 0x20 up (Shift JIS trail bytes cover
//     0x40-0xFC, EUC and UTF-8 all of 0x80-0xFF), and of the control bytes tab, LF, VT, FF
//     and CR; JIS text ESC, SO and SI besides; roff sources BEL (a delimiter of their
//     macros) and pages that nroff formatted BS (its overstrike). So 0x00-0x06, 0x10-0x19 and
//     0x1C-0x1F are binary, and 0x1A too unless nothing but 0x1A, CR and LF follows it (the
//     end mark of old files, which a later editor may have closed with a line break).
//     UTF-16 text holds zero bytes, so UTF-16 is read by its 16-bit units instead, with the
//     same rule for units below U+0020: text with a byte-order mark (FF FE, FE FF) and an
//     even length, or text without one that platform/bare_utf16.h takes for UTF-16 (the rule
//     unibridge converts by).
//
// What is looked at: the signatures, then the first and the last 32 KiB (the whole of a
// smaller file). Binary formats keep their control bytes in their headers, at the start; a
// self-extracting script or a text with an archive appended carries its payload at the end.
// Reading the middle of a large file as well would cost a pass over all of it, more than the
// text functions' own time allows for a check that the start and the end already decide.
#pragma once

#include <cstddef>
#include <span>
#include <string>

namespace host {

struct ContentVerdict {
    bool binary = false;
    // Why it is binary: the format's name ("PNG") or the first byte found ("byte 0x00 at
    // offset 16", "UTF-16 unit U+0001 at offset 42"); empty for text.
    std::string reason;
};

// How many bytes at each end of a file the byte rule reads.
inline constexpr std::size_t kTextWindow = 32 * 1024;

ContentVerdict ClassifyContent(std::span<const unsigned char> bytes);

}  // namespace host
