// A conversion's effect shown as a unified diff: the text before and after, each decoded for
// display from the form the shared detection finds in it (platform/text_form.h), compared line
// by line, the changed lines shown with the lines around them. Decoding is for the eye only:
// what a form cannot show becomes U+FFFD, and the bytes themselves are never touched.
//
// Lines end after LF, or after a CR that no LF follows; a line's ending is part of the line,
// so a changed line break is a changed line. A CR before the line's end is shown as "^M", and
// a last line without a line break is followed by "\ No newline at end of file".
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "platform/text_form.h"

namespace host {

// `bytes` in UTF-8, read as `form` (a byte-order mark left out).
std::string DecodeForDisplay(std::span<const unsigned char> bytes, platform::TextForm form);

// The lines of a UTF-8 text, each with its line break.
std::vector<std::string> SplitLines(const std::string& text);

// The unified diff of `before` and `after` with `context` lines around each change: the
// "---" and "+++" lines naming `beforeLabel` and `afterLabel`, then "@@ -a,b +c,d @@" hunks.
// Empty when the lines are equal. A diff beyond what its comparison may cost (very many
// changes in very many lines) shows the changed middle as one hunk.
std::string UnifiedDiff(const std::vector<std::string>& before,
                        const std::vector<std::string>& after, std::size_t context,
                        const std::string& beforeLabel, const std::string& afterLabel);

// The diff of two byte strings as the dry run shows it: texts decoded and compared by lines,
// labels naming each side's form ("a.txt (Shift JIS)"); when either side is binary
// (host/core/files/text_content.h), one line with both sizes and the first offset at which
// they differ. Empty when the bytes are the same; only the two labels when the bytes differ
// but not the text (the same text in another encoding).
std::string ConversionDiff(std::span<const unsigned char> before,
                           std::span<const unsigned char> after, std::size_t context,
                           const std::string& beforePath, const std::string& afterPath);

}  // namespace host
