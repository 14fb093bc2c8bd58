// Literal strings and fast search.
//
// A LiteralString is a growable byte string that always keeps a NUL after its bytes; when a
// skip table is built it lives right after that NUL. The skip-table search is the bad-character
// rule alone: the table holds, for each byte value, the distance from the string's end to the
// byte's last occurrence (the string length when absent), so a text byte that does not occur in
// the string moves the search a whole string length. A "tail" string must end at the text's end
// (or just before a final newline) and is checked there directly.
//
// In kanji mode a position counts as a trail byte when an odd number of lead bytes directly
// precede it: the first byte that is not a lead byte always ends a character, and from there
// lead and trail bytes alternate.
#include "regex/literal_string.h"

#include <cstdlib>
#include <cstring>
#include <limits>

#include "platform/sjis_bytes.h"
#include "regex/char_mode.h"
#include "regex/error_text.h"

namespace regex {
namespace {

constexpr int32_t kGrowthSlack = 512;
constexpr int32_t kMaxLength = std::numeric_limits<int32_t>::max() - 2 * kGrowthSlack - 258;

constexpr auto MakeLeadTable() {
    struct Table {
        unsigned char lead[256];
    } t{};
    for (int c = 0; c < 256; ++c) {
        t.lead[c] = platform::sjis::IsLeadByte(static_cast<unsigned char>(c));
    }
    return t;
}
constexpr auto kLead = MakeLeadTable();

constexpr auto MakeFoldTable() {
    struct Table {
        unsigned char fold[256];
    } t{};
    for (int c = 0; c < 256; ++c) {
        const auto b = static_cast<unsigned char>(c);
        t.fold[c] = platform::sjis::IsAsciiUpper(b) ? platform::sjis::AsciiLower(b)
                                                    : platform::sjis::AsciiUpper(b);
    }
    return t;
}
constexpr auto kFold = MakeFoldTable();

[[noreturn]] void LackOfMemory() {
    throw RegexError("lack of memory");
}

void CheckLength(int64_t length) {
    if (length < 0 || length > kMaxLength) {
        LackOfMemory();
    }
}

// Makes room for `needed` bytes, keeping the bytes and their NUL.
void Reserve(LiteralString* s, int32_t needed) {
    if (s->capacity >= needed) {
        return;
    }
    const int32_t capacity = needed + kGrowthSlack;
    char* data = static_cast<char*>(std::malloc(static_cast<std::size_t>(capacity)));
    if (data == nullptr) {
        LackOfMemory();
    }
    if (s->data != nullptr) {
        std::memcpy(data, s->data, static_cast<std::size_t>(s->length));
        std::free(s->data);
    }
    data[s->length] = '\0';
    s->data = data;
    s->capacity = capacity;
}

// Whether p, counted from begin, lies inside a character of `mode`.
bool IsInside(CharMode mode, const char* begin, const char* p, const char* end) {
    switch (mode) {
        case CharMode::kShiftJis:
            return ByteType(begin, p) == 2;
        case CharMode::kUtf8:
            return InsideUtf8Character(begin, p, end);
        default:
            return false;
    }
}

bool MatchesAt(const char* s, const LiteralString* lit) {
    return std::memcmp(s, lit->data, static_cast<std::size_t>(lit->length)) == 0;
}

}  // namespace

const unsigned char kFoldTable[256] = {
#define ROW(i) kFold.fold[i], kFold.fold[i + 1], kFold.fold[i + 2], kFold.fold[i + 3]
#define ROW16(i) ROW(i), ROW(i + 4), ROW(i + 8), ROW(i + 12)
    ROW16(0),   ROW16(16),  ROW16(32),  ROW16(48),  ROW16(64),  ROW16(80),  ROW16(96),  ROW16(112),
    ROW16(128), ROW16(144), ROW16(160), ROW16(176), ROW16(192), ROW16(208), ROW16(224), ROW16(240),
#undef ROW16
#undef ROW
};

int IsLeadByte(unsigned char byte) {
    return kLead.lead[byte];
}

int ByteType(const char* begin, const char* p) {
    if (begin == nullptr || p == nullptr) {
        return 0;
    }
    const char* q = p;
    while (q > begin && kLead.lead[static_cast<unsigned char>(q[-1])]) {
        --q;
    }
    if ((p - q) & 1) {
        return 2;
    }
    return kLead.lead[static_cast<unsigned char>(*p)];
}

LiteralString* CreateLiteralString(const char* bytes, int32_t length) {
    auto* s = static_cast<LiteralString*>(std::calloc(1, sizeof(LiteralString)));
    if (s == nullptr) {
        LackOfMemory();
    }
    try {
        const int32_t n =
            length != 0 ? length : static_cast<int32_t>(bytes != nullptr ? std::strlen(bytes) : 0);
        SetLiteralString(s, bytes, n);
    } catch (...) {
        std::free(s);
        throw;
    }
    return s;
}

void SetLiteralString(LiteralString* s, const char* bytes, int32_t length) {
    CheckLength(length);
    Reserve(s, length < 511 ? 512 : length + 1);
    if (length > 0) {
        std::memmove(s->data, bytes, static_cast<std::size_t>(length));
    }
    s->length = length;
    s->data[length] = '\0';
}

void AppendLiteralString(LiteralString* s, const char* bytes, int32_t length) {
    CheckLength(length);
    CheckLength(int64_t{s->length} + length);
    Reserve(s, s->length + length + 1);
    if (length > 0) {
        std::memmove(s->data + s->length, bytes, static_cast<std::size_t>(length));
    }
    s->length += length;
    s->data[s->length] = '\0';
}

void CopyLiteralString(LiteralString* to, const LiteralString* from) {
    if (to == from) {
        return;
    }
    const bool table = (from->flags & kLiteralTableValid) != 0;
    Reserve(to, from->length + (table ? 258 : 1));
    // The bytes, their NUL and, when there is one, the skip table behind them.
    std::memcpy(to->data, from->data, static_cast<std::size_t>(from->length) + (table ? 257 : 1));
    to->length = from->length;
    to->flags = from->flags;
}

void FreeLiteralString(LiteralString* s) {
    if (s != nullptr) {
        std::free(s->data);
        std::free(s);
    }
}

void BuildSkipTable(LiteralString* s, bool fold) {
    const int32_t n = s->length;
    if (n >= 256) {
        return;
    }
    Reserve(s, n + 258);
    auto* table = reinterpret_cast<unsigned char*>(s->data + n + 1);
    std::memset(table, n, 256);
    for (int32_t i = n - 1, k = 0; i >= 0; --i, ++k) {
        const auto c = static_cast<unsigned char>(s->data[i]);
        if (table[c] == n) {
            table[c] = static_cast<unsigned char>(k);
            if (fold) {
                table[kFold.fold[c]] = static_cast<unsigned char>(k);
            }
        }
    }
    s->flags |= kLiteralTableValid;
    if (fold) {
        s->flags |= kLiteralTableFolded;
    } else {
        s->flags &= ~kLiteralTableFolded;
    }
}

const char* PlainSearch(const char* begin, const char* end, const char* literal,
                        const char* literalEnd, CharMode mode) {
    const std::ptrdiff_t n = literalEnd - literal;
    if (n <= 0) {
        return begin;
    }
    if (end - begin < n) {
        return nullptr;
    }
    const char* last = end - n;  // last possible start, inclusive
    const char* s = begin;
    while (s <= last) {
        const void* hit = std::memchr(s, literal[0], static_cast<std::size_t>(last - s + 1));
        if (hit == nullptr) {
            return nullptr;
        }
        s = static_cast<const char*>(hit);
        if (std::memcmp(s + 1, literal + 1, static_cast<std::size_t>(n - 1)) == 0 &&
            !IsInside(mode, begin, s, end)) {
            return s;
        }
        ++s;
    }
    return nullptr;
}

const char* SkipTableSearch(const char* begin, const char* end, const LiteralString* lit,
                            bool multiline, CharMode mode) {
    const int32_t n = lit->length;
    if (!(lit->flags & kLiteralTableValid)) {
        if (n == 0) {
            return begin;
        }
        return PlainSearch(begin, end, lit->data, lit->data + n, mode);
    }
    const bool folded = (lit->flags & kLiteralTableFolded) != 0;
    const char* from = begin;
    if ((lit->flags & kLiteralTail) && !multiline) {
        if (end - begin < n) {
            return nullptr;
        }
        const bool newlineEnd = end > begin && end[-1] == '\n' && n > 0 && lit->data[n - 1] != '\n';
        if (!folded) {
            const char* s = end - n;
            if (MatchesAt(s, lit) && !IsInside(mode, begin, s, end)) {
                return s;
            }
            if (newlineEnd && s > begin && MatchesAt(s - 1, lit) &&
                !IsInside(mode, begin, s - 1, end)) {
                return s - 1;
            }
            return nullptr;
        }
        from = end - n;
        if (newlineEnd && from > begin) {
            --from;
        }
    }
    if (n == 0) {
        return from;
    }
    if (n - 1 >= end - from) {
        return nullptr;
    }
    const auto* table = reinterpret_cast<const unsigned char*>(lit->data + n + 1);
    const auto* pattern = reinterpret_cast<const unsigned char*>(lit->data);
    const auto* text = reinterpret_cast<const unsigned char*>(from);
    const auto* textEnd = reinterpret_cast<const unsigned char*>(end);
    const unsigned char* s = text + (n - 1);
    while (s < textEnd) {
        const unsigned d = table[*s];
        if (d > 0) {
            s += d;
            continue;
        }
        int32_t i = 1;
        if (folded) {
            while (i < n &&
                   (s[-i] == pattern[n - 1 - i] || kFold.fold[s[-i]] == pattern[n - 1 - i])) {
                ++i;
            }
        } else {
            while (i < n && s[-i] == pattern[n - 1 - i]) {
                ++i;
            }
        }
        if (i == n) {
            const char* candidate = reinterpret_cast<const char*>(s - (n - 1));
            if (!IsInside(mode, begin, candidate, end)) {
                return candidate;
            }
        }
        ++s;
    }
    return nullptr;
}

}  // namespace regex
