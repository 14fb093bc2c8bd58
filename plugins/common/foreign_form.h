// The forms of text that a plug-in working in Shift JIS and UTF-8 must never read as Shift JIS:
// UTF-16 (with a byte-order mark, or without one where the shared detection is sure), EUC-JP
// and JIS. Read byte by byte as Shift JIS, each would come out as a different text that still
// looks converted; such a plug-in leaves them unchanged, saying which encoding it met where it
// has something to say.
//
// A text that reads as both EUC-JP and Shift JIS stays Shift JIS unless it is clearly EUC-JP
// (rule 6 of platform/text_form.h), as it always was.
#pragma once

#include <cstddef>

#include "platform/text_form.h"

namespace plugin_support {

// The form of `in[0, n)` by the shared detection, with a doubtful EUC-JP taken for Shift JIS;
// an empty text is ASCII.
inline platform::TextForm FormOf(const unsigned char* in, std::size_t n) {
    return platform::DetectTextFormForShiftJis(in, n);
}

// "UTF-16", "EUC-JP" or "JIS" (the same in Shift JIS and UTF-8) for a text in one of those
// forms; null for every other form.
inline const char* ForeignFormName(platform::TextForm form) {
    if (platform::IsUtf16(form)) {
        return "UTF-16";
    }
    if (form == platform::TextForm::kEuc) {
        return "EUC-JP";
    }
    return form == platform::TextForm::kJis ? "JIS" : nullptr;
}

}  // namespace plugin_support
