// A file's bytes as lines a window can show, whatever form they are in. Text is decoded from
// the form the one shared detection gives it (platform/text_form.h) into UTF-8, so that a
// Shift JIS file and its UTF-8 conversion read the same; a place that is no character of that
// form shows as U+FFFD and is counted. Lines end at CR LF, LF or CR, and each line keeps the
// break it ended with, since changing line breaks is a conversion of its own. Bytes that are
// binary by the host's one rule (host/core/files/text_content.h) show as a dump of 16 bytes a
// line, made only when a line is asked for, so that a large binary file costs no more than
// its bytes.
//
// Lines are kept as ranges of one decoded text: a view asks only for the lines it shows, and a
// comparison of two sides compares ranges without copying them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text_form.h"

namespace host {

enum class LineBreak : std::uint8_t { kNone, kCrLf, kLf, kCr };

// "CRLF", "LF", "CR", or "" for a last line without a break.
const char* LineBreakName(LineBreak lineBreak);

class DisplayLines {
  public:
    static constexpr std::size_t kDumpWidth = 16;  // bytes a line of a binary dump

    DisplayLines() = default;
    static DisplayLines Decode(std::span<const unsigned char> bytes);

    bool binary() const { return binary_; }
    // The detected form; meaningful for text only.
    platform::TextForm form() const { return form_; }
    // Why the bytes are binary ("PNG", "byte 0x00 at offset 16"); empty for text.
    const std::string& binaryReason() const { return binaryReason_; }
    // Places that are no character of the detected form.
    std::size_t faults() const { return faults_; }
    std::size_t byteCount() const { return byteCount_; }

    std::size_t size() const;
    // Bytes of the longest line's UTF-8 (a dump line's characters): at least its columns but
    // for tabs, a bound for a view's horizontal scrolling.
    std::size_t longestLine() const { return longestLine_; }
    // Line `line` in UTF-8, without its break.
    std::string Text(std::size_t line) const;
    LineBreak Break(std::size_t line) const;
    // Whether line `line` reads the same as line `otherLine` of `other`, its break included.
    bool Same(std::size_t line, const DisplayLines& other, std::size_t otherLine) const;
    // A hash of what Same compares.
    std::uint64_t Hash(std::size_t line) const;

  private:
    struct Line {
        std::size_t begin, end;  // in text_
        LineBreak lineBreak;
    };
    std::string_view View(std::size_t line) const;

    bool binary_ = false;
    platform::TextForm form_ = platform::TextForm::kAscii;
    std::string binaryReason_;
    std::size_t faults_ = 0;
    std::size_t byteCount_ = 0;
    std::size_t longestLine_ = 0;
    std::string text_;          // text: the decoded UTF-8; binary: the bytes themselves
    std::vector<Line> lines_;   // text only
};

// Decodes `bytes` in `form` into UTF-8, U+FFFD for each place that is no character of it;
// `faults` counts those places.
std::string DecodeToUtf8(std::span<const unsigned char> bytes, platform::TextForm form,
                         std::size_t& faults);

// A line as a fixed-pitch view draws it: tabs expanded to every eighth column (a Japanese
// font gives characters from U+1100 up two columns, half-width katakana one) and control
// characters as "^" and a letter ("^L" for a form feed).
std::string ShownLine(std::string_view utf8);

// One line of a binary dump: offset, the bytes in hex, and the printable ones.
std::string DumpLine(std::span<const unsigned char> bytes, std::size_t offset);

}  // namespace host
