// The character scan: lists every platform-dependent Shift JIS character of the listed files
// (half-width katakana, the special-character rows, the extended and the user-defined areas)
// with its line number and code. Files are only read.
//
// Bytes are classified as code page 932 does, each with the class of the byte before it:
// after a lead byte, 0x40-0x7E and 0x80-0xFC are trail bytes and anything else is invalid;
// otherwise 0x81-0x9F and 0xE0-0xFC are lead bytes, 0x20-0x7E and 0xA1-0xDF one-byte
// characters, and everything else (CR, LF and 0x00 among them) is invalid. A trail byte is
// never taken for half-width katakana.
//
// A UTF-8 file (platform/utf8_text.h) is read as UTF-8 instead. Its characters are looked up in
// code page 932: one that code page 932 has only at a platform-dependent code (as above) is
// reported with its code point and that code, under the option of the code's range; one that
// code page 932 has no character for at all (emoji, most of Unicode outside JIS) is always
// reported, and so are bytes that are no well-formed UTF-8.
//
// Lines are counted at LF; without `unifyLineBreaks` only an LF right after a CR counts, so
// a file with LF-only or CR-only breaks reports everything on line 1.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "host/core/ui/display_text.h"
#include "host/core/ui/user_interface.h"

namespace host {

struct ScanOptions {
    bool halfWidthKana = true;     // one-byte characters 0xA1-0xDF
    bool specialRows = true;       // two-byte codes 0x8540-0x889E
    bool extendedArea = true;      // two-byte codes 0xEB40-0xEFFC
    bool userArea = true;          // two-byte codes from 0xF040 up
    bool unifyLineBreaks = false;  // CR LF, lone CR and lone LF each count as a line break
};

// The report lines (Shift JIS, each ended by CR LF) for the characters of `text` that the
// options ask for, in the order they stand.
std::string ScanText(std::string_view text, const ScanOptions& options);

// The report lines (UTF-8, each ended by CR LF) for the UTF-8 text `text`, a byte-order mark
// at its start skipped:
//   "   3行目:[ ① ] = U+2460 （シフトJISでは機種依存文字 0x8740）"
//   "   4行目:[ 😀 ] = U+1F600 （シフトJISにない文字）"
//   "   5行目:[ F0 9F ] （UTF-8として読めないバイト）"
std::string ScanUtf8Text(std::string_view text, const ScanOptions& options);

struct FileScan {
    DisplayText report;  // header line, then the character lines or the error line
    bool opened = true;  // false when the file could not be read
};

// The report of one file: "*** <path> ***" and its lines, or the error line when it cannot be
// read, or a line saying it is binary (host/core/files/text_content.h) and not scanned. The
// whole file is scanned, in its own encoding.
FileScan ScanOneFile(const std::string& path, const ScanOptions& options);

struct ScanReport {
    DisplayText text;            // every file's report, then the end line
    std::size_t unreadable = 0;  // files that could not be read
    bool ran = false;            // false when there was nothing to scan
};

// The scan button: every path in order, with the wait cursor while it runs and a beep when
// the report is ready. With no paths it shows the error box and scans nothing.
ScanReport ScanFiles(UserInterface& ui, const std::vector<std::string>& paths,
                     const ScanOptions& options);

// Rewrites `text` so that every line break (CR LF, lone CR, lone LF) is one LF; CR CR gives
// two. The text never grows.
void UnifyLineBreaks(std::string& text);

}  // namespace host
