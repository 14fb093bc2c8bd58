// What a file is, before anything converts it: its encoding as the functions detect it, its
// line breaks, and the characters that will not travel well. The command line's `info` prints
// it one line per file and the windows show it as a table; both take the same cells from here.
//
// Everything is decided by the rules the conversions themselves use, never by a copy:
//   - binary or text: host/core/files/text_content.h, the test a run makes before a text
//     function may touch a file;
//   - the encoding: platform/text_form.h, the one detection of the host and the plug-ins; and
//     where encswap's coarser rule (platform/legacy_guess.h) reads a legacy or ASCII text
//     otherwise, what it would take the text for;
//   - the platform-dependent characters: the character scan's classes (scan_ranges.h), counted
//     by whose they are (NEC, IBM, Mac). A Unicode text's characters are counted at the code
//     page 932 code they would convert to, and those that have none are counted apart.
// Line breaks are counted in the text's own units: bytes, or 16-bit units for UTF-16.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/legacy_guess.h"
#include "platform/text_form.h"

namespace host {

struct LineBreakCounts {
    std::uint64_t crlf = 0;
    std::uint64_t lf = 0;  // LF not after CR
    std::uint64_t cr = 0;  // CR not before LF
    bool operator==(const LineBreakCounts&) const = default;
};

struct FileInfo {
    std::string path;
    bool readable = true;
    std::string error;  // why the file could not be read (readable is false)
    std::uint64_t size = 0;

    bool binary = false;
    std::string binaryReason;  // the format or the byte that makes it binary
    platform::TextForm form = platform::TextForm::kAscii;  // for a text
    // What encswap's automatic functions would take the text for, where that is not `form`
    // (ASCII counting as undecided); nothing for Unicode texts, which encswap leaves alone.
    std::optional<platform::LegacyGuess> encswapGuess;

    LineBreakCounts breaks;
    bool halfWidthKana = false;
    std::uint64_t nec = 0;
    std::uint64_t ibm = 0;
    std::uint64_t mac = 0;
    // Characters of a Unicode text (or bytes that are no character of it) that Shift JIS
    // cannot hold; nothing for other texts.
    std::optional<std::uint64_t> notInShiftJis;
};

// The information about `bytes`, the content of the file `path`.
FileInfo DescribeFile(std::string path, std::span<const unsigned char> bytes);
// Reads the file whole (mapped where possible) and describes it; an unreadable file gives
// readable false and the reason.
FileInfo ReadAndDescribeFile(const std::string& path);

// The line breaks' cell: "CR LF", "LF", "CR", "none", or "mixed (CR LF 3, LF 1)" naming
// every kind that occurs.
std::string LineBreakCell(const LineBreakCounts& breaks);

// The table's columns, in order: path, encoding, encswap's reading, line breaks, half-width
// katakana, NEC, IBM, Mac, not in Shift JIS, size. Headers in the windows' language.
std::vector<std::string> FileInfoHeaders();
// One row's cells in the same order, UTF-8: the path; "binary", "unreadable" or the encoding's
// name (TextFormName); encswap's reading or ""; the line-break cell; "yes" or "no"; three
// counts; the count or "-"; the size in bytes. Every cell after the encoding of a binary file
// but its size is "-", and of an unreadable file all of them.
std::vector<std::string> FileInfoCells(const FileInfo& info);

}  // namespace host
