#include "host/core/files/binary_signatures.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace host {
namespace {

using namespace std::string_view_literals;
using Bytes = std::span<const unsigned char>;

bool HasAt(Bytes b, std::size_t offset, std::string_view magic) {
    return b.size() >= offset && b.size() - offset >= magic.size() &&
           std::equal(magic.begin(), magic.end(), b.begin() + static_cast<std::ptrdiff_t>(offset),
                      [](char m, unsigned char c) { return static_cast<unsigned char>(m) == c; });
}

std::uint32_t Le16(Bytes b, std::size_t at) { return b[at] | b[at + 1] << 8; }
std::uint32_t Le32(Bytes b, std::size_t at) {
    return Le16(b, at) | static_cast<std::uint32_t>(Le16(b, at + 2)) << 16;
}
std::uint32_t Be16(Bytes b, std::size_t at) { return b[at] << 8 | b[at + 1]; }
std::uint32_t Be32(Bytes b, std::size_t at) {
    return static_cast<std::uint32_t>(Be16(b, at)) << 16 | Be16(b, at + 2);
}

// A RIFF file of the form named at offset 8.
bool RiffFits(Bytes b) { return HasAt(b, 0, "RIFF"sv); }

// A marker byte after FF D8 FF.
bool JpegFits(Bytes b) { return b.size() >= 4 && b[3] >= 0xC0 && b[3] != 0xFF; }

// File header, then a DIB header of a size some version of the format has, with the pixels
// past both and within the file.
bool BmpFits(Bytes b) {
    if (b.size() < 26) {
        return false;
    }
    const std::uint32_t fileSize = Le32(b, 2);
    const std::uint32_t pixels = Le32(b, 10);
    const std::uint32_t dib = Le32(b, 14);
    const bool knownDib = dib == 12 || dib == 16 || dib == 40 || dib == 52 || dib == 56 ||
                          dib == 64 || dib == 108 || dib == 124;
    return knownDib && Le32(b, 6) == 0 && pixels >= 14 + dib && pixels <= b.size() &&
           (fileSize == 0 || (fileSize >= pixels && fileSize <= b.size()));
}

// Reserved 0, type 1 (icon) or 2 (cursor), at least one image; each 16-byte entry and the
// image it points to within the file.
bool IconFits(Bytes b) {
    if (b.size() < 6 || Le16(b, 0) != 0 || (Le16(b, 2) != 1 && Le16(b, 2) != 2)) {
        return false;
    }
    const std::uint32_t count = Le16(b, 4);
    if (count == 0 || 6 + 16 * static_cast<std::uint64_t>(count) > b.size()) {
        return false;
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t entry = 6 + 16 * static_cast<std::size_t>(i);
        const std::uint64_t size = Le32(b, entry + 8);
        const std::uint64_t offset = Le32(b, entry + 12);
        if (size == 0 || offset < 6 + 16 * static_cast<std::uint64_t>(count) ||
            offset + size > b.size()) {
            return false;
        }
    }
    return true;
}

// MZ with the offset of a "PE" header that is there. A DOS program without one holds zero
// bytes in its header, which the byte rule finds.
bool PeFits(Bytes b) {
    if (b.size() < 0x40) {
        return false;
    }
    const std::uint64_t header = Le32(b, 0x3C);
    return header + 4 <= b.size() && HasAt(b, static_cast<std::size_t>(header), "PE\0\0"sv);
}

// A table directory whose search fields agree with its number of tables.
bool SfntFits(Bytes b) {
    if (b.size() < 12) {
        return false;
    }
    const std::uint32_t tables = Be16(b, 4);
    if (tables == 0 || tables > 256 || 12 + 16 * static_cast<std::size_t>(tables) > b.size()) {
        return false;
    }
    std::uint32_t power = 1;
    std::uint32_t log = 0;
    while (power * 2 <= tables) {
        power *= 2;
        ++log;
    }
    return Be16(b, 6) == power * 16 && Be16(b, 8) == log && Be16(b, 10) == tables * 16 - power * 16;
}

bool CollectionFits(Bytes b) { return HasAt(b, 4, "\0\1\0\0"sv) || HasAt(b, 4, "\0\2\0\0"sv); }

// The length field is the file's length.
bool WoffFits(Bytes b) { return b.size() >= 12 && Be32(b, 8) == b.size(); }

// Version 2-4, a revision below FF, and a size in four 7-bit bytes.
bool Id3Fits(Bytes b) {
    return b.size() >= 10 && b[3] >= 2 && b[3] <= 4 && b[4] != 0xFF && (b[6] & 0x80) == 0 &&
           (b[7] & 0x80) == 0 && (b[8] & 0x80) == 0 && (b[9] & 0x80) == 0;
}

// The stream-information block of 34 bytes comes first.
bool FlacFits(Bytes b) { return b.size() >= 8 && (b[4] & 0x7F) == 0 && HasAt(b, 5, "\0\0\x22"sv); }

// A block size, then the magic of a compressed block or of the end of the stream.
bool Bzip2Fits(Bytes b) {
    return b.size() >= 10 && b[3] >= '1' && b[3] <= '9' &&
           (HasAt(b, 4, "\x31\x41\x59\x26\x53\x59"sv) || HasAt(b, 4, "\x17\x72\x45\x38\x50\x90"sv));
}

// A box of at least its own header and within the file, with a printable brand.
bool FtypFits(Bytes b) {
    if (b.size() < 12) {
        return false;
    }
    const std::uint32_t box = Be32(b, 0);
    for (std::size_t i = 8; i < 12; ++i) {
        if (b[i] < 0x20 || b[i] > 0x7E) {
            return false;
        }
    }
    return box >= 8 && box <= b.size();
}

struct Signature {
    const char* name;
    std::string_view magic;
    std::size_t offset = 0;
    bool (*fits)(Bytes) = nullptr;  // what else must hold
};

const Signature kSignatures[] = {
    {"PNG", "\x89PNG\r\n\x1A\n"sv},
    {"GIF", "GIF87a"sv},
    {"GIF", "GIF89a"sv},
    {"JPEG", "\xFF\xD8\xFF"sv, 0, JpegFits},
    {"TIFF", "II*\0"sv},
    {"TIFF", "MM\0*"sv},
    {"WebP", "WEBP"sv, 8, RiffFits},
    {"WAVE", "WAVE"sv, 8, RiffFits},
    {"AVI", "AVI "sv, 8, RiffFits},
    {"BMP", "BM"sv, 0, BmpFits},
    {"ICO/CUR", ""sv, 0, IconFits},
    {"ZIP", "PK\x03\x04"sv},
    {"ZIP", "PK\x05\x06"sv},
    {"ZIP", "PK\x07\x08"sv},
    {"OLE2", "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"sv},
    {"PDF", "%PDF-"sv},
    {"ELF", "\x7F" "ELF"sv},
    {"PE", "MZ"sv, 0, PeFits},
    {"Mach-O", "\xFE\xED\xFA\xCE"sv},
    {"Mach-O", "\xFE\xED\xFA\xCF"sv},
    {"Mach-O", "\xCE\xFA\xED\xFE"sv},
    {"Mach-O", "\xCF\xFA\xED\xFE"sv},
    {"wasm", "\0asm\x01\0\0\0"sv},
    {"gzip", "\x1F\x8B\x08"sv},
    {"bzip2", "BZh"sv, 0, Bzip2Fits},
    {"xz", "\xFD" "7zXZ\0"sv},
    {"zstd", "\x28\xB5\x2F\xFD"sv},
    {"7z", "7z\xBC\xAF\x27\x1C"sv},
    {"rar", "Rar!\x1A\x07\x00"sv},
    {"rar", "Rar!\x1A\x07\x01\x00"sv},
    {"ar", "!<arch>\n"sv},
    {"tar", "ustar"sv, 257},
    {"TrueType", "\0\1\0\0"sv, 0, SfntFits},
    {"TrueType", "true"sv, 0, SfntFits},
    {"OpenType", "OTTO"sv, 0, SfntFits},
    {"TTC", "ttcf"sv, 0, CollectionFits},
    {"WOFF", "wOFF"sv, 0, WoffFits},
    {"WOFF2", "wOF2"sv, 0, WoffFits},
    {"MP3", "ID3"sv, 0, Id3Fits},
    {"Ogg", "OggS\0"sv},
    {"FLAC", "fLaC"sv, 0, FlacFits},
    {"MP4/MOV", "ftyp"sv, 4, FtypFits},
    {"Matroska/WebM", "\x1A\x45\xDF\xA3"sv},
    {"MIDI", "MThd\0\0\0\x06"sv},
    {"SQLite", "SQLite format 3\0"sv},
};

}  // namespace

const char* BinarySignatureOf(Bytes bytes) {
    // Universal Mach-O programs and Java classes share their magic: a class file has its
    // version (45 and up) where a universal program has its number of architectures.
    if (HasAt(bytes, 0, "\xCA\xFE\xBA\xBE"sv) && bytes.size() >= 8) {
        return Be32(bytes, 4) < 45 ? "Mach-O" : "Java class";
    }
    for (const Signature& signature : kSignatures) {
        if (HasAt(bytes, signature.offset, signature.magic) &&
            (signature.fits == nullptr || signature.fits(bytes))) {
            return signature.name;
        }
    }
    return nullptr;
}

}  // namespace host
