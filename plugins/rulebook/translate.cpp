#include "translate.h"

#include <cstdlib>
#include <new>
#include <vector>

#include "command_flags.h"
#include "escape_numbers.h"
#include "record_output.h"
#include "regex/error_text.h"
#include "sjis.h"

namespace rulebook {
namespace {

constexpr uint32_t kNoCharacter = 0x10000;  // beyond every 16-bit character value

// One character of [p, end): a double-byte one when `pairs` and a lead byte is not the last.
uint32_t NextCharacter(const char*& p, const char* end, bool pairs) {
    const auto first = static_cast<unsigned char>(*p++);
    if (pairs && IsLeadByte(first) && p < end) {
        return first * 256u + static_cast<unsigned char>(*p++);
    }
    return first;
}

void AppendCharacter(std::string& out, uint32_t value) {
    if (value > 0xFF) {
        out.push_back(static_cast<char>(value >> 8));
    }
    out.push_back(static_cast<char>(value & 0xFF));
}

// A range end after "-": a double-byte character, an escape or a single byte.
struct RangeEnd {
    uint32_t value = 0;
    std::size_t length = 0;  // bytes as written
};

RangeEnd ReadRangeEnd(const char* p, const char* end) {
    const auto c = static_cast<unsigned char>(*p);
    if (IsLeadByte(c) && p + 1 < end) {
        return {c * 256u + static_cast<unsigned char>(p[1]), 2};
    }
    if (c == '\\' && p + 1 < end) {
        const ListEscape escape = DecodeListEscape(p + 1, end);
        return {escape.value, 1 + escape.consumed};
    }
    return {c, 1};
}

struct TranslationPair {
    uint16_t from;
    uint16_t to;
};

std::vector<TranslationPair> BuildPairs(const std::string& search, const std::string& replacement,
                                        uint32_t flags) {
    const bool kanji = (flags & regex::FLAG_KANJI) != 0;
    std::vector<TranslationPair> pairs;
    pairs.reserve(128);
    const char* s = search.data();
    const char* const sEnd = s + search.size();
    const char* r = replacement.data();
    const char* const rEnd = r + replacement.size();
    uint32_t last = kKeepCharacter;
    while (s < sEnd) {
        const uint32_t from = NextCharacter(s, sEnd, kanji);
        uint32_t to;
        if (r < rEnd) {
            last = NextCharacter(r, rEnd, kanji);
            to = last;
        } else if (flags & FLAG_DELETE) {
            to = kDeleteCharacter;
        } else {
            to = last;
        }
        pairs.push_back({static_cast<uint16_t>(from), static_cast<uint16_t>(to)});
    }
    return pairs;
}

// The table as the record keeps it: pairs (from, to) ended by (0xFFFF, 0xFFFF).
uint16_t* StoreTable(const std::vector<TranslationPair>& pairs) {
    auto* table = static_cast<uint16_t*>(std::malloc((pairs.size() + 1) * 2 * sizeof(uint16_t)));
    if (table == nullptr) {
        return nullptr;
    }
    std::size_t i = 0;
    for (const TranslationPair& pair : pairs) {
        table[i++] = pair.from;
        table[i++] = pair.to;
    }
    table[i++] = 0xFFFF;
    table[i] = 0xFFFF;
    return table;
}

// For every 16-bit character the "to" value of its first pair, or kNoCharacter.
std::vector<uint32_t> LookupTable(const uint16_t* table) {
    std::vector<uint32_t> lookup(0x10000, kNoCharacter);
    for (const uint16_t* pair = table; !(pair[0] == 0xFFFF && pair[1] == 0xFFFF); pair += 2) {
        if (lookup[pair[0]] == kNoCharacter) {
            lookup[pair[0]] = pair[1];
        }
    }
    return lookup;
}

}  // namespace

ListEscape DecodeListEscape(const char* letter, const char* end) {
    switch (*letter) {
        case '/':
            return {0x2F, 1};
        case 'a':
            return {0x07, 1};
        case 'e':
            return {0x1B, 1};
        case 'f':
            return {0x0C, 1};
        case 'n':
            return {0x0A, 1};
        case 'r':
            return {0x0D, 1};
        case 't':
            return {0x09, 1};
        case 'x': {
            const EscapeNumber n = ReadHexDigits(letter + 1, end, 2);
            return {static_cast<unsigned char>(n.value), 1 + n.digits};
        }
        case '0': {
            const EscapeNumber n = ReadOctalDigits(letter, end, 3);
            return {static_cast<unsigned char>(n.value), n.digits};
        }
        case 'c':
            if (letter + 1 < end) {
                return {ControlCharacter(static_cast<unsigned char>(letter[1])), 2};
            }
            return {'c', 1};
        default:
            return {static_cast<unsigned char>(*letter), 1};
    }
}

std::string ExpandCharList(const char* begin, const char* end) {
    std::string out;
    // A "-" before any character is an ordinary character, not a range from 0.
    bool havePrevious = false;
    uint32_t previous = 0;
    const char* p = begin;
    while (p < end) {
        const auto c = static_cast<unsigned char>(*p);
        if (c != '\\' && c != '-') {
            previous = NextCharacter(p, end, true);
            havePrevious = true;
            AppendCharacter(out, previous);
            continue;
        }
        if (p + 1 == end) {
            out.push_back(static_cast<char>(c));
            break;
        }
        if (c == '\\') {
            const ListEscape escape = DecodeListEscape(p + 1, end);
            out.push_back(static_cast<char>(escape.value));
            previous = escape.value;
            havePrevious = true;
            p += 1 + escape.consumed;
            continue;
        }
        const RangeEnd last = ReadRangeEnd(p + 1, end);
        if (havePrevious && previous < last.value && last.value - previous <= 255) {
            for (uint32_t v = previous + 1; v <= last.value; ++v) {
                if (last.value > 0xFF) {
                    out.push_back(static_cast<char>(v >> 8));
                }
                out.push_back(static_cast<char>(v & 0xFF));
            }
            previous = last.value;
        } else {
            out.append(p, 1 + last.length);  // "-" and the end, as written
        }
        p += 1 + last.length;
    }
    return out;
}

regex::RegexRecord* CompileTranslation(const char* searchBegin, const char* searchEnd,
                                       const char* replacementListBegin,
                                       const char* replacementListEnd, uint32_t optionWord,
                                       char* errorText) {
    if (searchBegin >= searchEnd) {
        return nullptr;
    }
    regex::RegexRecord* record = nullptr;
    try {
        record = regex::AllocateRegexRecord(0);
        record->flags = optionWord | FLAG_TRANSLATE;
        const std::string search = ExpandCharList(searchBegin, searchEnd);
        const std::string replacement = ExpandCharList(replacementListBegin, replacementListEnd);
        record->translationTable = StoreTable(BuildPairs(search, replacement, optionWord));
        if (record->translationTable == nullptr) {
            throw std::bad_alloc();
        }
        return record;
    } catch (const std::exception&) {
        regex::ReleaseRegexRecord(record);
        regex::SetErrorText(errorText, "out of space trcomp");
        return nullptr;
    }
}

int TranslateText(regex::RegexRecord* record, const char* targetBegin, const char* targetEnd,
                  char* errorText) {
    try {
        const uint32_t flags = record->flags;
        const bool kanji = (flags & regex::FLAG_KANJI) != 0;
        const bool complement = (flags & FLAG_COMPLEMENT) != 0;
        const bool squeeze = (flags & FLAG_SQUEEZE) != 0;
        const uint32_t complementTo = (flags & FLAG_DELETE) ? kDeleteCharacter : kKeepCharacter;
        const std::vector<uint32_t> lookup = LookupTable(record->translationTable);

        std::string out;
        out.reserve(static_cast<std::size_t>(targetEnd - targetBegin));
        int count = 0;
        uint32_t previous = kNoCharacter;
        for (const char* p = targetBegin; p < targetEnd;) {
            const char* const start = p;
            const uint32_t c = NextCharacter(p, targetEnd, kanji);
            uint32_t to = lookup[c];
            if (complement) {
                to = to == kNoCharacter ? complementTo : kNoCharacter;
            }
            if (to == kNoCharacter) {
                out.append(start, static_cast<std::size_t>(p - start));
                previous = c;
                continue;
            }
            ++count;
            if (to == kDeleteCharacter) {
                previous = c;
                continue;
            }
            const uint32_t value = to == kKeepCharacter ? c : to;
            if (!(squeeze && value == previous)) {
                AppendCharacter(out, value);
            }
            previous = value;
        }
        SetRecordOutput(record, out);
        return count;
    } catch (const std::exception&) {
        regex::SetErrorText(errorText, "lack of memory");
        return -1;
    }
}

}  // namespace rulebook
