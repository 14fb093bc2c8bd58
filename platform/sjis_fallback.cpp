#include "platform/sjis_fallback.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

#include "platform/text_form.h"
#include "platform/text_readers.h"

namespace platform {
namespace {

// Characters code page 932 lacks whose form there is what Japanese users write, and nothing
// beyond them:
//   - the four kanji of the 2010 jōyō list outside code page 932, in their customary forms;
//   - the other printed forms JIS X 0213:2004 added, beside the simplified forms users type;
//   - two forms of names: 鷗 (as in 森鷗外) and 𠮷 (the 吉 of registers).
// Sorted by the first character.
constexpr std::array<std::pair<char32_t, char32_t>, 14> kCustomaryForms = {{
    {U'\u4FF1', U'\u5036'},    // 俱 → 倶
    {U'\u525D', U'\u5265'},    // 剝 → 剥
    {U'\u541E', U'\u5451'},    // 吞 → 呑
    {U'\u5653', U'\u5618'},    // 噓 → 嘘
    {U'\u5861', U'\u586B'},    // 塡 → 填
    {U'\u59F8', U'\u598D'},    // 姸 → 妍
    {U'\u5C5B', U'\u5C4F'},    // 屛 → 屏
    {U'\u5E77', U'\u5E76'},    // 幷 → 并
    {U'\u7626', U'\u75E9'},    // 瘦 → 痩
    {U'\u7E6B', U'\u7E4B'},    // 繫 → 繋
    {U'\u9830', U'\u982C'},    // 頰 → 頬
    {U'\u9DD7', U'\u9D0E'},    // 鷗 → 鴎
    {U'\U00020B9F', U'\u53F1'},  // 𠮟 → 叱
    {U'\U00020BB7', U'\u5409'},  // 𠮷 → 吉
}};

bool IsModifier(char32_t c) {
    return c >= 0x1F3FB && c <= 0x1F3FF;  // the five skin tones
}

bool IsRegionalIndicator(char32_t c) {
    return c >= 0x1F1E6 && c <= 0x1F1FF;
}

bool IsTag(char32_t c) {
    return c >= 0xE0020 && c <= 0xE007F;
}

constexpr char32_t kZeroWidthJoiner = 0x200D;
constexpr char32_t kKeycap = 0x20E3;

// What belongs to a replaced character without a joiner: it adds to the glyph, not a
// character of its own.
bool ExtendsSequence(char32_t c) {
    return IsVariationSelector(c) || IsModifier(c) || IsTag(c) || c == kKeycap;
}

unsigned HexValue(unsigned char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    c = static_cast<unsigned char>(c | 0x20);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10u : 16u;
}

// Counts what each fallback changes, character by character, with the line of each.
class Counter {
  public:
    explicit Counter(const Cp932Map& map) : map_(map) {}

    void Character(char32_t c, const unsigned char* ascii, std::size_t asciiLeft) {
        if (c < 0x80) {
            if (c == '&' && ReadNumericReference(ascii, asciiLeft).length != 0) {
                Lossless();
            }
            line_ += c == '\r' || (c == '\n' && previous_ != '\r') ? 1 : 0;
            previous_ = c;
            readable_.Kept();
            return;
        }
        previous_ = c;
        if (ExactCode(map_, c) == Cp932Map::kNoCode) {
            Lossless();
        }
        const std::uint16_t code = c < 0x10000 ? map_.EncodeBmp(static_cast<char16_t>(c))
                                               : Cp932Map::kNoCode;
        switch (readable_.Next(c, code != Cp932Map::kNoCode)) {
            case ReadableFallback::Action::kKeep:
            case ReadableFallback::Action::kDrop:
                break;
            case ReadableFallback::Action::kCustomary:
            case ReadableFallback::Action::kGeta:
            case ReadableFallback::Action::kDropSelector:
                ++counts.readable;
                counts.firstReadableLine = counts.firstReadableLine ? counts.firstReadableLine
                                                                    : line_;
                break;
        }
    }

    FallbackCounts counts;

  private:
    void Lossless() {
        ++counts.lossless;
        counts.firstLosslessLine = counts.firstLosslessLine ? counts.firstLosslessLine : line_;
    }

    const Cp932Map& map_;
    ReadableFallback readable_;
    std::uint64_t line_ = 1;
    char32_t previous_ = 0;
};

// False at the first fault: the conversion fails there, and replaces nothing.
bool CountUtf8(const unsigned char* in, std::size_t n, std::size_t i, Counter& counter) {
    while (i < n) {
        if (in[i] < 0x80) {
            counter.Character(in[i], in + i, n - i);
            ++i;
            continue;
        }
        const Utf8Sequence s = DecodeUtf8(in + i, n - i);
        if (s.length == 0) {
            return false;
        }
        counter.Character(s.character, nullptr, 0);
        i += s.length;
    }
    return true;
}

// UTF-16 in the byte order `bigEndian`. A reference is all ASCII, so its units are looked at
// as bytes one by one.
bool CountUtf16(const unsigned char* in, std::size_t n, std::size_t i, bool bigEndian,
                Counter& counter) {
    const auto unitAt = [&](std::size_t at) -> char32_t {
        return bigEndian ? (in[at] << 8 | in[at + 1]) : (in[at + 1] << 8 | in[at]);
    };
    for (; i + 1 < n; i += 2) {
        char32_t c = unitAt(i);
        if (c < 0x80) {
            unsigned char ascii[kLongestReference + 8];
            std::size_t length = 0;
            while (length < sizeof ascii && i + 2 * length + 1 < n &&
                   unitAt(i + 2 * length) < 0x80) {
                ascii[length] = static_cast<unsigned char>(unitAt(i + 2 * length));
                ++length;
            }
            counter.Character(c, ascii, length);
            continue;
        }
        if (c >= 0xD800 && c <= 0xDFFF) {
            const char32_t low = c <= 0xDBFF && i + 3 < n ? unitAt(i + 2) : 0;
            if (low < 0xDC00 || low > 0xDFFF) {
                return false;
            }
            c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
            i += 2;
        }
        counter.Character(c, nullptr, 0);
    }
    return i == n;
}

}  // namespace

char32_t CustomaryForm(char32_t c) {
    const auto* found = std::lower_bound(
        kCustomaryForms.begin(), kCustomaryForms.end(), c,
        [](const std::pair<char32_t, char32_t>& form, char32_t key) { return form.first < key; });
    return found != kCustomaryForms.end() && found->first == c ? found->second : 0;
}

bool IsVariationSelector(char32_t c) {
    return (c >= 0xFE00 && c <= 0xFE0F) || (c >= 0xE0100 && c <= 0xE01EF);
}

std::uint16_t ExactCode(const Cp932Map& map, char32_t c) {
    if (c >= 0x10000) {
        return Cp932Map::kNoCode;
    }
    for (const JisAlias& alias : kJisAliases) {
        if (alias.unit == c) {
            return Cp932Map::kNoCode;
        }
    }
    return map.EncodeBmp(static_cast<char16_t>(c));
}

ReadableFallback::Action ReadableFallback::Next(char32_t c, bool hasCode) {
    const State state = state_;
    if (state == State::kJoin && c >= 0x80) {
        state_ = State::kReplaced;
        return Action::kDrop;
    }
    if (state == State::kFlag && IsRegionalIndicator(c)) {
        state_ = State::kReplaced;
        return Action::kDrop;
    }
    if (state == State::kReplaced || state == State::kFlag) {
        if (ExtendsSequence(c)) {
            return Action::kDrop;
        }
        if (c == kZeroWidthJoiner) {
            state_ = State::kJoin;
            return Action::kDrop;
        }
    }
    if (hasCode) {
        state_ = State::kAfterKept;
        return Action::kKeep;
    }
    if (IsVariationSelector(c)) {
        return Action::kDropSelector;
    }
    if (CustomaryForm(c) != 0) {
        state_ = State::kAfterKept;
        return Action::kCustomary;
    }
    state_ = IsRegionalIndicator(c)  ? State::kFlag
             : c == kZeroWidthJoiner ? State::kJoin
                                     : State::kReplaced;
    return Action::kGeta;
}

NumericReference ReadNumericReference(const unsigned char* p, std::size_t n) {
    if (n < 4 || p[0] != '&' || p[1] != '#') {
        return {};
    }
    const bool hex = p[2] == 'x' || p[2] == 'X';
    const unsigned base = hex ? 16 : 10;
    std::size_t i = hex ? 3 : 2;
    const std::size_t first = i;
    std::uint64_t value = 0;
    for (; i < n && i - first < 8; ++i) {
        const unsigned digit = HexValue(p[i]);
        if (digit >= base) {
            break;
        }
        value = value * base + digit;
    }
    if (i == first || i >= n || p[i] != ';' || value == 0 || value > 0x10FFFF ||
        (value >= 0xD800 && value <= 0xDFFF)) {
        return {};
    }
    return {i + 1, static_cast<char32_t>(value)};
}

std::size_t WriteNumericReference(char32_t c, unsigned char* out) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::size_t digits = 1;
    while (digits < 6 && (c >> (4 * digits)) != 0) {
        ++digits;
    }
    out[0] = '&';
    out[1] = '#';
    out[2] = 'x';
    for (std::size_t k = 0; k < digits; ++k) {
        out[3 + k] = static_cast<unsigned char>(kDigits[(c >> (4 * (digits - 1 - k))) & 0xF]);
    }
    out[3 + digits] = ';';
    return 4 + digits;
}

std::size_t DecodeNumericReferences(unsigned char* text, std::size_t n) {
    unsigned char* const end = text + n;
    unsigned char* from = static_cast<unsigned char*>(std::memchr(text, '&', n));
    if (from == nullptr) {
        return n;
    }
    unsigned char* to = from;
    while (from < end) {
        const unsigned char* amp =
            static_cast<const unsigned char*>(std::memchr(from, '&', end - from));
        const std::size_t plain = (amp == nullptr ? end : amp) - from;
        std::memmove(to, from, plain);
        to += plain;
        from += plain;
        if (from == end) {
            break;
        }
        const NumericReference reference = ReadNumericReference(from, end - from);
        if (reference.length == 0) {
            *to++ = *from++;
            continue;
        }
        const char32_t c = reference.character;
        if (c < 0x80) {
            *to++ = static_cast<unsigned char>(c);
        } else if (c < 0x800) {
            *to++ = static_cast<unsigned char>(0xC0 | c >> 6);
            *to++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            *to++ = static_cast<unsigned char>(0xE0 | c >> 12);
            *to++ = static_cast<unsigned char>(0x80 | (c >> 6 & 0x3F));
            *to++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
        } else {
            *to++ = static_cast<unsigned char>(0xF0 | c >> 18);
            *to++ = static_cast<unsigned char>(0x80 | (c >> 12 & 0x3F));
            *to++ = static_cast<unsigned char>(0x80 | (c >> 6 & 0x3F));
            *to++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
        }
        from += reference.length;
    }
    return static_cast<std::size_t>(to - text);
}

bool HasNumericReference(const unsigned char* in, std::size_t n) {
    const unsigned char* const end = in + n;
    for (const unsigned char* p = in;
         (p = static_cast<const unsigned char*>(std::memchr(p, '&', end - p))) != nullptr; ++p) {
        if (ReadNumericReference(p, end - p).length != 0) {
            return true;
        }
    }
    return false;
}

FallbackCounts CountFallbacks(const unsigned char* in, std::size_t n) {
    Counter counter(Cp932Map::Get());
    bool whole = false;
    switch (const TextForm form = DetectTextForm(in, n)) {
        case TextForm::kUtf8:
        case TextForm::kUtf8Bom:
            whole = CountUtf8(in, n, form == TextForm::kUtf8Bom ? 3 : 0, counter);
            break;
        case TextForm::kUtf16Le:
        case TextForm::kUtf16Be:
        case TextForm::kUtf16LeBare:
        case TextForm::kUtf16BeBare:
            whole = CountUtf16(in, n,
                               form == TextForm::kUtf16Le || form == TextForm::kUtf16Be ? 2 : 0,
                               form == TextForm::kUtf16Be || form == TextForm::kUtf16BeBare,
                               counter);
            break;
        default:
            break;
    }
    return whole ? counter.counts : FallbackCounts{};
}

}  // namespace platform
