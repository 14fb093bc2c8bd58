// The forms of text that a plug-in working in Shift JIS and UTF-8 must never read as Shift JIS:
// UTF-16 (with a byte-order mark, or without one where the shared detection is sure), EUC-JP
// and JIS. Read byte by byte as Shift JIS, each would come out as a different text that still
// looks converted; such a plug-in leaves them unchanged, saying which encoding it met where it
// has something to say.
//
// EUC-JP and Shift JIS can be the very same bytes: "あい" in EUC-JP (A4 A2 A4 A4) is four
// half-width katakana in Shift JIS, and any Shift JIS text of half-width katakana alone reads
// as EUC-JP kanji. The shared detection picks the higher-scoring reading; these plug-ins take a
// text that both read without a fault for EUC-JP only when its EUC-JP score is more than twice
// its Shift JIS score, and more than that by over two characters' worth (8). Half-width
// katakana score 1 each in Shift JIS and a two-byte character at most 4 in EUC-JP, so no text of
// half-width katakana and ASCII, however long, passes that bar, and no text of a character or
// two does: such a text is too doubtful to decide and stays Shift JIS, as it always was.
#pragma once

#include <cstddef>

#include "platform/cp932_map.h"
#include "platform/text_form.h"
#include "platform/text_scorer.h"

namespace plugin_support {

// Whether a text the shared detection takes for EUC-JP leaves no doubt (see above).
inline bool ClearlyEuc(const unsigned char* in, std::size_t n) {
    const platform::Cp932Map& map = platform::Cp932Map::Get();
    platform::SjisScorer sjis;
    if (platform::ReadSjis(map, in, n, 0, sjis)) {
        return true;  // no Shift JIS text: the detection weighed EUC-JP against UTF-8 alone
    }
    platform::EucScorer euc;
    return !platform::ReadEuc(map, in, n, 0, euc) && euc.score > 2 * sjis.score + 8;
}

// The form of `in[0, n)` by the shared detection, with a doubtful EUC-JP taken for Shift JIS;
// an empty text is ASCII.
inline platform::TextForm FormOf(const unsigned char* in, std::size_t n) {
    if (n == 0) {
        return platform::TextForm::kAscii;
    }
    const platform::TextForm form = platform::DetectTextForm(in, n);
    return form == platform::TextForm::kEuc && !ClearlyEuc(in, n) ? platform::TextForm::kSjis
                                                                  : form;
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
