#include "platform/text_form.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

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

// Where a reading's first fault lies: n when there is none.
std::size_t FirstFault(const Fault& fault, std::size_t n) {
    return fault ? fault.offset : n;
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
           HasJisEscape(in, n);
}

bool WellFormedUtf8Text(const unsigned char* in, std::size_t start, std::size_t n) {
    Utf8Check check;
    return !ReadUtf8(in, n, start, check);
}

TextForm DetectTextForm(const unsigned char* in, std::size_t n) {
    if (StartsWith(in, n, "\xEF\xBB\xBF", 3)) {
        return TextForm::kUtf8Bom;
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
    // The UTF-8 check notes ESC bytes on its way, so that most texts are read once here.
    Utf8Check utf8;
    const std::size_t utf8End = FirstFault(ReadUtf8(in, n, 0, utf8), n);
    const bool escape = utf8.seen.escape || std::memchr(in + utf8End, 0x1B, n - utf8End) != nullptr;
    if (escape && HasJisEscape(in, n)) {
        return TextForm::kJis;
    }
    if (utf8End == n) {
        return utf8.seen.multiByte ? TextForm::kUtf8 : TextForm::kAscii;
    }
    const Cp932Map& map = Cp932Map::Get();
    EucScorer euc;
    const std::size_t eucEnd = FirstFault(ReadEuc(map, in, n, 0, euc), n);
    // Shift JIS wins as soon as it gets past both other readings' faults, so it is read that
    // far first (and one byte more, which completes a pair) unless EUC-JP has no fault.
    const std::size_t quickLimit = eucEnd == n ? n : std::min(n, std::max(utf8End, eucEnd) + 2);
    SjisScorer sjis;
    Fault sjisFault = ReadSjis(map, in, quickLimit, 0, sjis);
    if (quickLimit < n) {
        if (!sjisFault) {
            return TextForm::kSjis;
        }
        sjisFault = ReadSjis(map, in, n, 0, sjis);
    }
    const std::size_t sjisEnd = FirstFault(sjisFault, n);
    if (eucEnd == n && sjisEnd == n) {
        return euc.score > sjis.score ? TextForm::kEuc : TextForm::kSjis;
    }
    if (sjisEnd >= eucEnd && sjisEnd >= utf8End) {
        return TextForm::kSjis;
    }
    return eucEnd >= utf8End ? TextForm::kEuc : TextForm::kUtf8;
}

}  // namespace platform
