#include "support/binary_samples.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <map>
#include <system_error>

namespace testing_support {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

const std::string kPayload =
    "Printable bytes only: a byte test alone would take this for text.\r\n"
    "Each format's header is all that tells it from a note.\r\n";

std::string Le16(std::uint32_t v) {
    return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF)};
}
std::string Le32(std::uint32_t v) { return Le16(v & 0xFFFF) + Le16(v >> 16); }
std::string Be16(std::uint32_t v) {
    return {static_cast<char>(v >> 8 & 0xFF), static_cast<char>(v & 0xFF)};
}
std::string Be32(std::uint32_t v) { return Be16(v >> 16) + Be16(v & 0xFFFF); }

std::string Riff(const std::string& form, const std::string& body) {
    return "RIFF" + Le32(static_cast<std::uint32_t>(4 + body.size())) + form + body;
}

// A 2x2 picture of 24 bits, rows padded to 4 bytes.
std::string Bitmap() {
    const std::string pixels(16, 'p');
    return "BM" + Le32(54 + 16) + Le32(0) + Le32(54) + Le32(40) + Le32(2) + Le32(2) + Le16(1) +
           Le16(24) + Le32(0) + Le32(16) + Le32(2835) + Le32(2835) + Le32(0) + Le32(0) + pixels;
}

// One image of 40 bytes; `type` 1 for an icon, 2 for a cursor.
std::string Icon(std::uint32_t type) {
    return Le16(0) + Le16(type) + Le16(1) + "\x10\x10\0\0"s + Le16(1) + Le16(32) + Le32(40) +
           Le32(22) + std::string(40, 'i');
}

// A font's table directory for `tables` tables, with the search fields that go with it.
std::string Sfnt(const std::string& version, std::uint32_t tables) {
    std::uint32_t power = 1;
    std::uint32_t log = 0;
    while (power * 2 <= tables) {
        power *= 2;
        ++log;
    }
    std::string font = version + Be16(tables) + Be16(power * 16) + Be16(log) +
                       Be16(tables * 16 - power * 16);
    for (std::uint32_t i = 0; i < tables; ++i) {
        font += "tab" + std::string(1, static_cast<char>('a' + i)) + Be32(0) + Be32(64) + Be32(8);
    }
    return font + kPayload;
}

// The header's length field holds the file's length.
std::string Woff(const std::string& magic) {
    const std::string rest = Be16(1) + Be16(0) + std::string(32, 'w') + kPayload;
    return magic + Be32(0x00010000) + Be32(static_cast<std::uint32_t>(12 + rest.size())) + rest;
}

std::string Tar() {
    std::string header(512, '\0');
    header.replace(0, 9, "notes.txt");
    header.replace(257, 8, "ustar\0" "00"s);
    std::string block = kPayload;
    block.resize(512, '\0');
    return header + block;
}

std::string Pe() {
    std::string dos = "MZ" + std::string(0x3A, 'x') + Le32(0x40);
    return dos + "PE\0\0"s + Le16(0x14C) + kPayload;
}

}  // namespace

std::vector<BinarySample> GeneratedBinarySamples() {
    return {
        {"PNG", "image.png", "\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR"s + kPayload},
        {"GIF", "old.gif", "GIF87a" + kPayload},
        {"GIF", "image.gif", "GIF89a" + kPayload},
        {"JPEG", "photo.jpg", "\xFF\xD8\xFF\xE0\0\x10JFIF\0"s + kPayload},
        {"TIFF", "scan-le.tif", "II*\0\x08\0\0\0"s + kPayload},
        {"TIFF", "scan-be.tif", "MM\0*\0\0\0\x08"s + kPayload},
        {"WebP", "image.webp", Riff("WEBP", "VP8 " + kPayload)},
        {"WAVE", "sound.wav", Riff("WAVE", "fmt " + kPayload)},
        {"AVI", "film.avi", Riff("AVI ", "LIST" + kPayload)},
        {"BMP", "picture.bmp", Bitmap()},
        {"ICO/CUR", "icon.ico", Icon(1)},
        {"ICO/CUR", "pointer.cur", Icon(2)},
        {"ZIP", "archive.zip", "PK\x03\x04\x14\0"s + kPayload},
        {"ZIP", "empty.zip", "PK\x05\x06"s + std::string(18, '\0')},
        {"ZIP", "spanned.zip", "PK\x07\x08"s + kPayload},
        {"OLE2", "old-office.doc", "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"s + kPayload},
        {"PDF", "ascii-only.pdf",
         "%PDF-1.4\n1 0 obj\n<< /Type /Catalog >>\nendobj\ntrailer\n<< /Root 1 0 R >>\n%%EOF\n"},
        {"ELF", "program", "\x7F" "ELF\x02\x01\x01"s + kPayload},
        {"PE", "program.exe", Pe()},
        {"Mach-O", "program-32", "\xFE\xED\xFA\xCE"s + kPayload},
        {"Mach-O", "program-64", "\xFE\xED\xFA\xCF"s + kPayload},
        {"Mach-O", "program-32le", "\xCE\xFA\xED\xFE"s + kPayload},
        {"Mach-O", "program-64le", "\xCF\xFA\xED\xFE"s + kPayload},
        {"Mach-O", "universal", "\xCA\xFE\xBA\xBE\0\0\0\x02"s + kPayload},
        {"Java class", "Main.class", "\xCA\xFE\xBA\xBE\0\0\0\x34"s + kPayload},
        {"wasm", "module.wasm", "\0asm\x01\0\0\0"s + kPayload},
        {"gzip", "notes.txt.gz", "\x1F\x8B\x08\0"s + kPayload},
        {"bzip2", "notes.txt.bz2", "BZh91AY&SY" + kPayload},
        {"xz", "notes.txt.xz", "\xFD" "7zXZ\0\0\x04"s + kPayload},
        {"zstd", "notes.txt.zst", "\x28\xB5\x2F\xFD"s + kPayload},
        {"7z", "archive.7z", "7z\xBC\xAF\x27\x1C\0\x04"s + kPayload},
        {"rar", "archive.rar", "Rar!\x1A\x07\x00"s + kPayload},
        {"rar", "archive5.rar", "Rar!\x1A\x07\x01\x00"s + kPayload},
        {"ar", "library.a",
         "!<arch>\ndebian-binary   1342943816  0     0     100644  4         `\n2.0\n"},
        {"tar", "archive.tar", Tar()},
        {"TrueType", "font.ttf", Sfnt("\0\1\0\0"s, 1)},
        {"TrueType", "apple.ttf", Sfnt("true", 5)},
        {"OpenType", "font.otf", Sfnt("OTTO", 3)},
        {"TTC", "fonts.ttc", "ttcf\0\1\0\0\0\0\0\x01\0\0\0\x10"s + kPayload},
        {"WOFF", "font.woff", Woff("wOFF")},
        {"WOFF2", "font.woff2", Woff("wOF2")},
        {"MP3", "song.mp3", "ID3\x04\0\0\0\0\x01\0"s + kPayload},
        {"Ogg", "song.ogg", "OggS\0\x02"s + kPayload},
        {"FLAC", "song.flac", "fLaC\0\0\0\x22"s + std::string(34, 'f') + kPayload},
        {"MP4/MOV", "film.mp4", Be32(24) + "ftypisom" + Be32(0x200) + "isomiso2" + kPayload},
        {"MP4/MOV", "film.mov", Be32(20) + "ftypqt  " + Be32(0) + "qt  " + kPayload},
        {"Matroska/WebM", "film.mkv", "\x1A\x45\xDF\xA3"s + kPayload},
        {"MIDI", "tune.mid", "MThd\0\0\0\x06\0\x01\0\x02\x01\xE0"s + kPayload},
        {"SQLite", "data.sqlite", "SQLite format 3\0"s + kPayload},
    };
}

std::vector<FoundBinary> BinariesOnThisMachine(std::size_t perKind, std::uintmax_t maxBytes) {
    static const std::map<std::string, std::string> kKinds = {
        {".png", "image"},    {".jpg", "image"},   {".jpeg", "image"},   {".gif", "image"},
        {".bmp", "image"},    {".ico", "image"},   {".tif", "image"},    {".tiff", "image"},
        {".webp", "image"},   {".gz", "archive"},  {".xz", "archive"},   {".bz2", "archive"},
        {".zip", "archive"},  {".jar", "archive"}, {".zst", "archive"},  {".7z", "archive"},
        {".whl", "archive"},  {".ttf", "font"},    {".otf", "font"},     {".ttc", "font"},
        {".woff", "font"},    {".woff2", "font"},  {".so", "library"},   {".a", "library"},
        {".o", "library"},    {".mo", "other"},    {".pyc", "other"},    {".class", "other"},
        {".pdf", "other"},    {".wav", "other"},   {".ogg", "other"},    {".mp3", "other"},
        {".flac", "other"},
    };
    std::vector<FoundBinary> found;
#ifdef _WIN32
    // Under Wine "/usr" would be the Linux tree again, read through the emulation.
    (void)perKind;
    (void)maxBytes;
    return found;
#endif
    std::map<std::string, std::size_t> taken;  // per extension, so that every kind is mixed
    const auto startsWith = [](const fs::path& path, const std::string& magic) {
        std::ifstream in(path, std::ios::binary);
        std::string head(magic.size(), '\0');
        return in.read(head.data(), static_cast<std::streamsize>(head.size())) && head == magic;
    };
    std::error_code error;
    for (fs::recursive_directory_iterator it("/usr", fs::directory_options::skip_permission_denied,
                                             error),
         end;
         !error && it != end; it.increment(error)) {
        if (it->is_symlink(error) || !it->is_regular_file(error)) {
            continue;
        }
        const fs::path& path = it->path();
        const std::uintmax_t size = it->file_size(error);
        if (error || size == 0 || size > maxBytes) {
            error.clear();
            continue;
        }
        const std::string parent = path.parent_path().string();
        std::string extension = path.extension().string();
        std::string kind;
        if (parent == "/usr/bin" || parent == "/usr/sbin") {
            kind = "program";
            extension = "(program)";
        } else if (path.filename().string().find(".so.") != std::string::npos) {
            kind = "library";
            extension = ".so";
        } else if (const auto known = kKinds.find(extension); known != kKinds.end()) {
            kind = known->second;
        }
        if (kind.empty() || taken[extension] >= perKind) {
            continue;
        }
        // Programs and libraries by what they are: scripts and linker scripts are text.
        if ((kind == "program" || kind == "library") &&
            !startsWith(path, "\x7F" "ELF") && !startsWith(path, "!<arch>\n")) {
            continue;
        }
        ++taken[extension];
        found.push_back({kind, path});
    }
    std::sort(found.begin(), found.end(),
              [](const FoundBinary& a, const FoundBinary& b) { return a.path < b.path; });
    return found;
}

}  // namespace testing_support
