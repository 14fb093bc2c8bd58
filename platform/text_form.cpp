#include "platform/text_form.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/ascii_run.h"
#include "platform/bare_utf16.h"
#include "platform/cp932_map.h"
#include "platform/text_readers.h"
#include "platform/text_scorer.h"
#include "platform/utf8_check.h"

namespace platform {
namespace {

bool StartsWith(const unsigned char* in, std::size_t n, const char* mark, std::size_t length) {
    return n >= length && std::memcmp(in, mark, length) == 0;
}

// Rules 2 to 5 read the text from its start to kWindow bytes past its first byte that is not
// plain ASCII (one from 0x80 on, or ESC), so that a long text costs the same as its start: a
// text is written in one form throughout, and its first 64 KiB of non-ASCII leave no doubt.
constexpr std::size_t kWindow = 64 * 1024;

// The first byte from 0x80 on or ESC, looked for a page at a time: JIS text is all ASCII bytes,
// and its first ESC comes early.
std::size_t FirstNotPlainAscii(const unsigned char* in, std::size_t n) {
    constexpr std::size_t kPage = 4096;
    std::size_t i = 0;
    while (i < n) {
        const std::size_t page = std::min(kPage, n - i);
        const std::size_t run = AsciiRun(in + i, page);
        if (const void* escape = std::memchr(in + i, 0x1B, run)) {
            return static_cast<std::size_t>(static_cast<const unsigned char*>(escape) - in);
        }
        i += run;
        if (run < page) {
            break;
        }
    }
    return i;
}

std::size_t WindowEnd(const unsigned char* in, std::size_t n) {
    const std::size_t first = FirstNotPlainAscii(in, n);
    return n - first <= kWindow ? n : first + kWindow;
}

bool HasJisEscape(const unsigned char* in, std::size_t n) {
    const unsigned char* p = in;
    const unsigned char* const end = in + n;
    while ((p = static_cast<const unsigned char*>(std::memchr(p, 0x1B, end - p))) != nullptr) {
        if (end - p >= 3 &&
            ((p[1] == '$' && (p[2] == 'B' || p[2] == '@')) || (p[1] == '(' && p[2] == 'I'))) {
            return true;
        }
        ++p;
    }
    return false;
}

// An escape sequence that starts inside the window counts, though it may end past it.
bool HasJisEscapeInWindow(const unsigned char* in, std::size_t limit, std::size_t n) {
    return HasJisEscape(in, std::min(n, limit + 2));
}

// Takes every character and keeps nothing; notes whether a multi-byte one or an ESC came by.
class Utf8Check {
  public:
    static constexpr bool kChecksOnly = true;
    bool Ascii(const unsigned char* run, std::size_t length) {
        seen.escape = seen.escape || std::memchr(run, 0x1B, length) != nullptr;
        return true;
    }
    Put Unicode(char32_t) {
        seen.multiByte = true;
        return Put::kDone;
    }
    std::size_t Utf8Kernel(const unsigned char* in, std::size_t i, std::size_t n) {
        return WellFormedUtf8(in, i, n, seen);
    }
    Utf8Seen seen;
};

// How far a reading of in[0, limit) gets: to its first fault, or to `limit` when there is none.
// A window that ends before the text may cut its last character, so a fault in its last three
// bytes counts as none.
std::size_t Reach(const Fault& fault, std::size_t limit, std::size_t n) {
    if (!fault || (limit < n && fault.offset + 3 >= limit)) {
        return limit;
    }
    return fault.offset;
}

}  // namespace

const char* TextFormName(TextForm form) {
    switch (form) {
        case TextForm::kAscii:
            return "ASCII";
        case TextForm::kUtf8:
            return "UTF-8";
        case TextForm::kUtf8Bom:
            return "UTF-8 (BOM)";
        case TextForm::kUtf16Le:
            return "UTF-16LE";
        case TextForm::kUtf16Be:
            return "UTF-16BE";
        case TextForm::kUtf16LeBare:
            return "UTF-16LE (no BOM)";
        case TextForm::kUtf16BeBare:
            return "UTF-16BE (no BOM)";
        case TextForm::kJis:
            return "JIS";
        case TextForm::kEuc:
            return "EUC-JP";
        case TextForm::kSjis:
            return "Shift JIS";
    }
    return "";
}

bool DecidedBeforeUtf8(const unsigned char* in, std::size_t n) {
    return StartsWith(in, n, "\xEF\xBB\xBF", 3) || StartsWith(in, n, "\xFF\xFE", 2) ||
           StartsWith(in, n, "\xFE\xFF", 2) || DetectBareUtf16(in, n) != BareUtf16::kNone ||
           HasJisEscapeInWindow(in, WindowEnd(in, n), n);
}

bool WellFormedUtf8Text(const unsigned char* in, std::size_t start, std::size_t n) {
    Utf8Check check;
    return !ReadUtf8(in, n, start, check);
}

TextForm DetectUtf16Form(const unsigned char* in, std::size_t n) {
    if (StartsWith(in, n, "\xEF\xBB\xBF", 3)) {
        return TextForm::kSjis;
    }
    if (StartsWith(in, n, "\xFF\xFE", 2)) {
        return TextForm::kUtf16Le;
    }
    if (StartsWith(in, n, "\xFE\xFF", 2)) {
        return TextForm::kUtf16Be;
    }
    switch (DetectBareUtf16(in, n)) {
        case BareUtf16::kLittleEndian:
            return TextForm::kUtf16LeBare;
        case BareUtf16::kBigEndian:
            return TextForm::kUtf16BeBare;
        case BareUtf16::kNone:
            break;
    }
    return TextForm::kSjis;
}

namespace {

// Rules 2 to 5 over the window in[0, limit) of a text of `n` bytes.
struct Decision {
    TextForm form = TextForm::kSjis;
    bool bothValid = false;  // rule 4 weighed a valid EUC-JP reading against a valid Shift JIS one
    std::uint64_t eucScore = 0;
    std::uint64_t sjisScore = 0;
};

Decision DecideByReading(const unsigned char* in, std::size_t limit, std::size_t n) {
    // The UTF-8 check notes ESC bytes on its way, so that most windows are read once here.
    Utf8Check utf8;
    const std::size_t utf8End = Reach(ReadUtf8(in, limit, 0, utf8), limit, n);
    const bool escape =
        utf8.seen.escape || std::memchr(in + utf8End, 0x1B, limit - utf8End) != nullptr;
    if (escape && HasJisEscapeInWindow(in, limit, n)) {
        return {TextForm::kJis};
    }
    if (utf8End == limit) {
        return {utf8.seen.multiByte ? TextForm::kUtf8 : TextForm::kAscii};
    }
    const Cp932Map& map = Cp932Map::Get();
    EucScorer euc;
    const std::size_t eucEnd = Reach(ReadEuc(map, in, limit, 0, euc), limit, n);
    // Shift JIS wins as soon as it gets past both other readings' faults, so it is read that
    // far first (and one byte more, which completes a pair) unless EUC-JP has no fault.
    const std::size_t quickLimit =
        eucEnd == limit ? limit : std::min(limit, std::max(utf8End, eucEnd) + 2);
    SjisScorer sjis;
    Fault sjisFault = ReadSjis(map, in, quickLimit, 0, sjis);
    if (quickLimit < limit) {
        if (!sjisFault) {
            return {TextForm::kSjis};
        }
        sjis.score = 0;
        sjisFault = ReadSjis(map, in, limit, 0, sjis);
    }
    const std::size_t sjisEnd = Reach(sjisFault, limit, n);
    if (eucEnd == limit && sjisEnd == limit) {
        return {euc.score > sjis.score ? TextForm::kEuc : TextForm::kSjis, true, euc.score,
                sjis.score};
    }
    if (sjisEnd >= eucEnd && sjisEnd >= utf8End) {
        return {TextForm::kSjis};
    }
    return {eucEnd >= utf8End ? TextForm::kEuc : TextForm::kUtf8};
}

Decision Decide(const unsigned char* in, std::size_t n) {
    if (StartsWith(in, n, "\xEF\xBB\xBF", 3)) {
        return {TextForm::kUtf8Bom};
    }
    if (const TextForm utf16 = DetectUtf16Form(in, n); utf16 != TextForm::kSjis) {
        return {utf16};
    }
    return DecideByReading(in, WindowEnd(in, n), n);
}

}  // namespace

TextForm DetectTextForm(const unsigned char* in, std::size_t n) {
    return Decide(in, n).form;
}

TextForm DetectTextFormForShiftJis(const unsigned char* in, std::size_t n) {
    if (n == 0) {
        return TextForm::kAscii;
    }
    const Decision decision = Decide(in, n);
    const bool doubtful = decision.form == TextForm::kEuc && decision.bothValid &&
                          decision.eucScore <= 2 * decision.sjisScore + 8;
    return doubtful ? TextForm::kSjis : decision.form;
}

}  // namespace platform
