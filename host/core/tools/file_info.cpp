#include "host/core/tools/file_info.h"

#include <bit>
#include <string_view>

#include "host/core/files/text_content.h"
#include "host/core/files/whole_file.h"
#include "host/core/tools/scan_ranges.h"
#include "platform/block_bits.h"
#include "platform/cp932_map.h"
#include "platform/sjis_bytes.h"
#include "platform/utf8_text.h"
#include "plugins/common/jis_row_cell.h"

namespace host {
namespace {

constexpr unsigned char kCr = '\r';
constexpr unsigned char kLf = '\n';

// What the character walks find.
struct CharacterCounts {
    bool kana = false;
    std::uint64_t nec = 0;
    std::uint64_t ibm = 0;
    std::uint64_t mac = 0;
    std::uint64_t notInShiftJis = 0;

    // A two-byte Shift JIS code.
    void Pair(unsigned code) {
        switch (VendorOf(code)) {
            case CodeVendor::kNec:
                ++nec;
                break;
            case CodeVendor::kIbm:
                ++ibm;
                break;
            case CodeVendor::kMac:
                ++mac;
                break;
            case CodeVendor::kNone:
                break;
        }
    }
};

// Line breaks of p[i, n) one byte at a time, `breaks` holding what came before: `afterCr`
// says whether the byte before p[i] was a CR still waiting for its LF.
void CountByteBreaksFrom(const unsigned char* p, std::size_t i, std::size_t n, bool afterCr,
                         LineBreakCounts& breaks) {
    for (; i < n; ++i) {
        if (p[i] == kLf) {
            afterCr ? (--breaks.cr, ++breaks.crlf) : ++breaks.lf;
        }
        breaks.cr += p[i] == kCr;
        afterCr = p[i] == kCr;
    }
}

#if defined(POLYSHIFT_SSE2)

// Bits of the 64 bytes at `in` from `low` to `high`.
std::uint64_t RangeBits(const unsigned char* in, unsigned char low, unsigned char high) {
    const __m128i base = _mm_set1_epi8(static_cast<char>(low));
    const __m128i width = _mm_set1_epi8(static_cast<char>(high - low));
    std::uint64_t bits = 0;
    for (std::size_t k = 0; k < platform::kBlock; k += 16) {
        const __m128i d = _mm_sub_epi8(platform::Load16(in + k), base);
        const __m128i inside = _mm_cmpeq_epi8(_mm_min_epu8(d, width), d);
        bits |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(inside))) << k;
    }
    return bits;
}

// 64 bytes at a time: CR LF pairs are CR bits with an LF bit one place up.
LineBreakCounts CountByteBreaks(const unsigned char* p, std::size_t n) {
    LineBreakCounts breaks;
    std::uint64_t cr = 0;
    std::size_t i = 0;
    for (; i + platform::kBlock <= n; i += platform::kBlock) {
        const std::uint64_t lf = RangeBits(p + i, kLf, kLf);
        breaks.crlf += static_cast<unsigned>(std::popcount((cr >> 63) & lf));  // across blocks
        cr = RangeBits(p + i, kCr, kCr);
        breaks.crlf += static_cast<unsigned>(std::popcount(cr & (lf >> 1)));
        breaks.cr += static_cast<unsigned>(std::popcount(cr));
        breaks.lf += static_cast<unsigned>(std::popcount(lf));
    }
    breaks.cr -= breaks.crlf;
    breaks.lf -= breaks.crlf;
    CountByteBreaksFrom(p, i, n, (cr >> 63) != 0, breaks);
    return breaks;
}

#else

LineBreakCounts CountByteBreaks(const unsigned char* p, std::size_t n) {
    LineBreakCounts breaks;
    CountByteBreaksFrom(p, 0, n, false, breaks);
    return breaks;
}

#endif

// The 16-bit unit at `i` of a UTF-16 text.
char16_t UnitAt(const unsigned char* p, std::size_t i, bool bigEndian) {
    return bigEndian ? static_cast<char16_t>(p[i] << 8 | p[i + 1])
                     : static_cast<char16_t>(p[i + 1] << 8 | p[i]);
}

LineBreakCounts CountUnitBreaks(const unsigned char* p, std::size_t n, bool bigEndian) {
    LineBreakCounts breaks;
    bool pendingCr = false;
    for (std::size_t i = 0; i + 1 < n; i += 2) {
        const char16_t unit = UnitAt(p, i, bigEndian);
        if (unit == kLf) {
            pendingCr ? ++breaks.crlf : ++breaks.lf;
        } else if (pendingCr) {
            ++breaks.cr;
        }
        pendingCr = unit == kCr;
    }
    breaks.cr += pendingCr;
    return breaks;
}

// Lead bytes whose codes may be platform-dependent: 0x85-0x88, 0xEB-0xEE, 0xFA-0xFC.
constexpr bool IsTellingLead(unsigned char b) {
    return (b >= 0x85 && b <= 0x88) || (b >= 0xEB && b <= 0xEE) || (b >= 0xFA && b <= 0xFC);
}

// The lead byte at p[i] with the byte after it, when that is a trail byte.
void CountLead(const unsigned char* p, std::size_t i, std::size_t n, CharacterCounts& counts) {
    if (IsTellingLead(p[i]) && i + 1 < n && platform::sjis::IsTrailByte(p[i + 1])) {
        counts.Pair(p[i] * 256u + p[i + 1]);
    }
}

// Shift JIS as the character scan reads it: a lead byte takes the byte after it, whatever it
// is; a two-byte code counts when that byte is a trail byte; a half-width katakana counts
// only where it starts a character. One byte at a time from p[i], which starts a character.
void WalkSjisFrom(const unsigned char* p, std::size_t i, std::size_t n, CharacterCounts& counts) {
    while (i < n) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            ++i;
        } else if (platform::sjis::IsLeadByte(b)) {
            CountLead(p, i, n, counts);
            i += 2;
        } else {
            counts.kana |= platform::sjis::IsHalfWidthKana(b);
            ++i;
        }
    }
}

#if defined(POLYSHIFT_SSE2)

// 64 bytes at a time: the block's lead bytes at once (platform/block_bits.h), the katakana
// among the bytes that are no trail byte, and only the rare telling leads one by one.
void WalkSjis(const unsigned char* p, std::size_t n, CharacterCounts& counts) {
    std::uint64_t carry = 0;  // bit 0 of the block is the trail byte of a pair begun before
    std::size_t i = 0;
    for (; i + platform::kBlock <= n; i += platform::kBlock) {
        const std::uint64_t leads = platform::Leads(platform::LeadRangeBits(p + i), carry);
        const std::uint64_t trails = leads << 1 | carry;
        carry = leads >> 63;
        counts.kana |= (RangeBits(p + i, 0xA1, 0xDF) & ~trails) != 0;
        std::uint64_t telling = leads & (RangeBits(p + i, 0x85, 0x88) |
                                         RangeBits(p + i, 0xEB, 0xEE) |
                                         RangeBits(p + i, 0xFA, 0xFC));
        for (; telling != 0; telling &= telling - 1) {
            CountLead(p, i + static_cast<std::size_t>(std::countr_zero(telling)), n, counts);
        }
    }
    WalkSjisFrom(p, i + carry, n, counts);
}

#else

void WalkSjis(const unsigned char* p, std::size_t n, CharacterCounts& counts) {
    WalkSjisFrom(p, 0, n, counts);
}

#endif

// A JIS X 0208 row and cell (0x21-0x7E each) as its Shift JIS code.
unsigned ShiftJisOf(unsigned row, unsigned cell) {
    const jis::BytePair code =
        jis::SjisFromRowCell(static_cast<std::uint8_t>(row), static_cast<std::uint8_t>(cell));
    return code.first * 256u + code.second;
}

void WalkEuc(const unsigned char* p, std::size_t n, CharacterCounts& counts) {
    std::size_t i = 0;
    while (i < n) {
        const unsigned char b = p[i];
        const unsigned char next = i + 1 < n ? p[i + 1] : 0;
        if (b == 0x8E && platform::sjis::IsHalfWidthKana(next)) {
            counts.kana = true;
            i += 2;
        } else if (b == 0x8F) {
            i += 3;  // JIS X 0212: no code page 932 character, never platform-dependent
        } else if (b >= 0xA1 && b <= 0xFE && next >= 0xA1 && next <= 0xFE) {
            counts.Pair(ShiftJisOf(b - 0x80u, next - 0x80u));
            i += 2;
        } else {
            ++i;
        }
    }
}

// ISO-2022-JP with the mode switches that encswap reads.
void WalkJis(const unsigned char* p, std::size_t n, CharacterCounts& counts) {
    enum class Mode { kAscii, kKanji, kKana } mode = Mode::kAscii;
    std::size_t i = 0;
    while (i < n) {
        const unsigned char b = p[i];
        if (b == 0x1B && i + 2 < n) {
            const std::string_view escape(reinterpret_cast<const char*>(p + i + 1), 2);
            if (escape == "$B" || escape == "$@" || escape == "(B" || escape == "(J" ||
                escape == "(I") {
                mode = escape[0] == '$' ? Mode::kKanji : escape[1] == 'I' ? Mode::kKana
                                                                          : Mode::kAscii;
                i += 3;
                continue;
            }
        }
        if (b == 0x0E || b == 0x0F) {
            mode = b == 0x0E ? Mode::kKana : Mode::kAscii;
        } else if (mode == Mode::kKana && b >= 0x21 && b <= 0x5F) {
            counts.kana = true;
        } else if (mode == Mode::kKanji && b >= 0x21 && b <= 0x7E && i + 1 < n &&
                   p[i + 1] >= 0x21 && p[i + 1] <= 0x7E) {
            counts.Pair(ShiftJisOf(b, p[i + 1]));
            ++i;
        }
        ++i;
    }
}

// A Unicode character as code page 932 holds it.
void CountCharacter(char32_t cp, CharacterCounts& counts) {
    if (cp < 0x80) {
        return;
    }
    const std::uint16_t code = cp > 0xFFFF ? platform::Cp932Map::kNoCode
                                           : platform::Cp932Map::Get().EncodeBmp(
                                                 static_cast<char16_t>(cp));
    if (code == platform::Cp932Map::kNoCode || (code < 0x100 && !platform::sjis::IsHalfWidthKana(
                                                                    static_cast<unsigned char>(code)))) {
        ++counts.notInShiftJis;  // none, or a byte that is no Shift JIS character (0x80, 0xA0)
    } else if (code < 0x100) {
        counts.kana = true;
    } else {
        counts.Pair(code);
    }
}

char32_t CodePoint(const unsigned char* p, std::size_t length) {
    static constexpr unsigned char kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    char32_t cp = p[0] & kLeadBits[length];
    for (std::size_t k = 1; k < length; ++k) {
        cp = (cp << 6) | (p[k] & 0x3Fu);
    }
    return cp;
}

// A byte that is no UTF-8 counts once, with the continuation bytes behind it.
void WalkUtf8(const unsigned char* p, std::size_t n, CharacterCounts& counts) {
    const std::string_view text(reinterpret_cast<const char*>(p), n);
    std::size_t i = platform::HasUtf8Mark(text) ? platform::kUtf8Mark.size() : 0;
    while (i < n) {
        if (p[i] < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = platform::Utf8SequenceLength(text, i);
        if (length == 0) {
            ++counts.notInShiftJis;
            for (length = 1; length < 4 && i + length < n && (p[i + length] & 0xC0) == 0x80;) {
                ++length;
            }
        } else {
            CountCharacter(CodePoint(p + i, length), counts);
        }
        i += length;
    }
}

void WalkUtf16(const unsigned char* p, std::size_t n, bool bigEndian, bool marked,
               CharacterCounts& counts) {
    for (std::size_t i = marked ? 2 : 0; i + 1 < n; i += 2) {
        const char16_t unit = UnitAt(p, i, bigEndian);
        if (unit >= 0xD800 && unit <= 0xDFFF) {
            const bool paired = unit <= 0xDBFF && i + 3 < n &&
                                (UnitAt(p, i + 2, bigEndian) & 0xFC00) == 0xDC00;
            ++counts.notInShiftJis;  // beyond the first plane, or a lone surrogate
            i += paired ? 2 : 0;
        } else {
            CountCharacter(unit, counts);
        }
    }
    counts.notInShiftJis += n % 2;  // half a unit at the end
}

bool BigEndian(platform::TextForm form) {
    return form == platform::TextForm::kUtf16Be || form == platform::TextForm::kUtf16BeBare;
}

bool Marked(platform::TextForm form) {
    return form == platform::TextForm::kUtf16Le || form == platform::TextForm::kUtf16Be;
}

CharacterCounts CountCharacters(platform::TextForm form, const unsigned char* p, std::size_t n) {
    CharacterCounts counts;
    switch (form) {
        case platform::TextForm::kAscii:
            break;
        case platform::TextForm::kSjis:
            WalkSjis(p, n, counts);
            break;
        case platform::TextForm::kEuc:
            WalkEuc(p, n, counts);
            break;
        case platform::TextForm::kJis:
            WalkJis(p, n, counts);
            break;
        case platform::TextForm::kUtf8:
        case platform::TextForm::kUtf8Bom:
            WalkUtf8(p, n, counts);
            break;
        case platform::TextForm::kUtf16Le:
        case platform::TextForm::kUtf16Be:
        case platform::TextForm::kUtf16LeBare:
        case platform::TextForm::kUtf16BeBare:
            WalkUtf16(p, n, BigEndian(form), Marked(form), counts);
            break;
    }
    return counts;
}

// What encswap takes the text for where that is not its form. encswap refuses UTF-16 and
// UTF-8 (platform/utf8_text.h's rule, which wants a mark or a sequence of three bytes or more)
// with a message; any other text it reads by its own rule.
std::optional<platform::LegacyGuess> EncswapReading(platform::TextForm form, const unsigned char* p,
                                                    std::size_t n) {
    using platform::LegacyGuess;
    using platform::TextForm;
    if (platform::IsUtf16(form) ||
        platform::IsUtf8Text(std::string_view(reinterpret_cast<const char*>(p), n))) {
        return std::nullopt;
    }
    const LegacyGuess guess = platform::GuessLegacyEncoding(p, n);
    const bool same = (form == TextForm::kAscii && guess == LegacyGuess::kUndecided) ||
                      (form == TextForm::kJis && guess == LegacyGuess::kJis) ||
                      (form == TextForm::kEuc && guess == LegacyGuess::kEuc) ||
                      (form == TextForm::kSjis && guess == LegacyGuess::kSjis);
    return same ? std::nullopt : std::optional(guess);
}

std::string Count(std::uint64_t value) {
    return std::to_string(value);
}

}  // namespace

FileInfo DescribeFile(std::string path, std::span<const unsigned char> bytes) {
    FileInfo info;
    info.path = std::move(path);
    info.size = bytes.size();
    if (const ContentVerdict content = ClassifyContent(bytes); content.binary) {
        info.binary = true;
        info.binaryReason = content.reason;
        return info;
    }
    const unsigned char* p = bytes.data();
    const std::size_t n = bytes.size();
    info.form = platform::DetectTextForm(p, n);
    info.encswapGuess = EncswapReading(info.form, p, n);
    info.breaks = platform::IsUtf16(info.form) ? CountUnitBreaks(p, n, BigEndian(info.form))
                                               : CountByteBreaks(p, n);
    const CharacterCounts counts = CountCharacters(info.form, p, n);
    info.halfWidthKana = counts.kana;
    info.nec = counts.nec;
    info.ibm = counts.ibm;
    info.mac = counts.mac;
    const bool unicode = platform::IsUtf16(info.form) || info.form == platform::TextForm::kUtf8 ||
                         info.form == platform::TextForm::kUtf8Bom;
    if (unicode) {
        info.notInShiftJis = counts.notInShiftJis;
    }
    return info;
}

FileInfo ReadAndDescribeFile(const std::string& path) {
    const ReadResult read = ReadWholeFile(path);
    if (read.status == ReadStatus::kOk) {
        FileInfo info = DescribeFile(path, std::span(read.bytes.data(), read.bytes.size()));
        if (read.bytes.intact()) {
            return info;
        }
        FileInfo cut;
        cut.path = path;
        cut.readable = false;
        cut.error = "the file was cut short while it was read";
        return cut;
    }
    FileInfo info;
    info.path = path;
    info.readable = false;
    info.error = read.status == ReadStatus::kTooLarge ? "too large (4 GiB or more)"
                 : read.reason.empty()                 ? "cannot be read"
                                                       : read.reason;
    return info;
}

std::string LineBreakCell(const LineBreakCounts& breaks) {
    const std::pair<const char*, std::uint64_t> kinds[] = {
        {"CR LF", breaks.crlf}, {"LF", breaks.lf}, {"CR", breaks.cr}};
    std::string mixed;
    int present = 0;
    const char* only = "none";
    for (const auto& [name, count] : kinds) {
        if (count != 0) {
            ++present;
            only = name;
            mixed += (mixed.empty() ? "" : ", ") + std::string(name) + " " + Count(count);
        }
    }
    return present > 1 ? "mixed (" + mixed + ")" : only;
}

std::vector<std::string> FileInfoHeaders() {
    return {"ファイル", "文字コード", "encswapの判定", "改行",  "半角カナ",
            "NEC",      "IBM",        "Mac",           "シフトJISにない文字", "サイズ"};
}

std::vector<std::string> FileInfoCells(const FileInfo& info) {
    if (!info.readable || info.binary) {
        return {info.path, info.readable ? "binary" : "unreadable", "-", "-", "-", "-", "-", "-",
                "-",       info.readable ? Count(info.size) : "-"};
    }
    return {info.path,
            platform::TextFormName(info.form),
            info.encswapGuess ? platform::LegacyGuessName(*info.encswapGuess) : "",
            LineBreakCell(info.breaks),
            info.halfWidthKana ? "yes" : "no",
            Count(info.nec),
            Count(info.ibm),
            Count(info.mac),
            info.notInShiftJis ? Count(*info.notInShiftJis) : "-",
            Count(info.size)};
}

}  // namespace host
