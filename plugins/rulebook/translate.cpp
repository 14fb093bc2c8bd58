#include "translate.h"

#include <cstdlib>
#include <new>
#include <unordered_map>
#include <vector>

#include "command_flags.h"
#include "escape_numbers.h"
#include "record_output.h"
#include "regex/error_text.h"
#include "regex/char_mode.h"

namespace rulebook {
namespace {

using regex::CharMode;

constexpr uint32_t kNoCharacter = 0xFFFFFFFD;  // beyond every character value

// One character of [p, end) in `mode`: a Shift JIS lead byte that is not the last takes the
// next byte, a UTF-8 character its whole sequence.
uint32_t NextCharacter(const char*& p, const char* end, CharMode mode) {
    const std::size_t width = regex::CharWidth(mode, p, end);
    const uint32_t value = regex::CharValue(mode, p, width);
    p += width;
    return value;
}

// A range end after "-": a character of several bytes, an escape or a single byte.
struct RangeEnd {
    uint32_t value = 0;
    std::size_t length = 0;  // bytes as written
};

RangeEnd ReadRangeEnd(const char* p, const char* end, CharMode encoding) {
    const auto c = static_cast<unsigned char>(*p);
    if (c == '\\' && p + 1 < end) {
        const ListEscape escape = DecodeListEscape(p + 1, end);
        const char byte = static_cast<char>(escape.value);
        return {regex::CharValue(encoding, &byte, 1), 1 + escape.consumed};
    }
    const std::size_t width = regex::CharWidth(encoding, p, end);
    return {regex::CharValue(encoding, p, width), width};
}

// Whether a UTF-8 range from after `low` to `high` spells out: code points that are no
// surrogates, or stray bytes (written as escapes) on both sides.
bool IsUtf8Range(uint32_t low, uint32_t high) {
    if (low >= regex::kStrayByte) {
        return true;
    }
    return high < regex::kStrayByte && !(low < 0xDFFF && high >= 0xD800);
}

struct TranslationPair {
    uint32_t from;
    uint32_t to;
};

std::vector<TranslationPair> BuildPairs(const std::string& search, const std::string& replacement,
                                        uint32_t flags) {
    const CharMode mode = regex::CharModeOf(flags);
    std::vector<TranslationPair> pairs;
    pairs.reserve(128);
    const char* s = search.data();
    const char* const sEnd = s + search.size();
    const char* r = replacement.data();
    const char* const rEnd = r + replacement.size();
    uint32_t last = kKeepCharacter;
    while (s < sEnd) {
        const uint32_t from = NextCharacter(s, sEnd, mode);
        uint32_t to;
        if (r < rEnd) {
            last = NextCharacter(r, rEnd, mode);
            to = last;
        } else if (flags & FLAG_DELETE) {
            to = kDeleteCharacter;
        } else {
            to = last;
        }
        pairs.push_back({from, to});
    }
    return pairs;
}

// The table as the record keeps it: pairs (from, to) ended by (kKeepCharacter, kKeepCharacter).
uint32_t* StoreTable(const std::vector<TranslationPair>& pairs) {
    auto* table = static_cast<uint32_t*>(std::malloc((pairs.size() + 1) * 2 * sizeof(uint32_t)));
    if (table == nullptr) {
        return nullptr;
    }
    std::size_t i = 0;
    for (const TranslationPair& pair : pairs) {
        table[i++] = pair.from;
        table[i++] = pair.to;
    }
    table[i++] = kKeepCharacter;
    table[i] = kKeepCharacter;
    return table;
}

// For every character the "to" value of its first pair, or kNoCharacter: a direct table for
// the values below 0x10000 (all of Shift JIS), a map for the UTF-8 ones above.
class Lookup {
  public:
    explicit Lookup(const uint32_t* table) : low_(0x10000, kNoCharacter) {
        for (const uint32_t* pair = table; pair[0] != kKeepCharacter; pair += 2) {
            if (pair[0] < low_.size()) {
                if (low_[pair[0]] == kNoCharacter) {
                    low_[pair[0]] = pair[1];
                }
            } else {
                high_.emplace(pair[0], pair[1]);  // keeps the first pair
            }
        }
    }
    uint32_t operator[](uint32_t c) const {
        if (c < low_.size()) {
            return low_[c];
        }
        const auto hit = high_.find(c);
        return hit == high_.end() ? kNoCharacter : hit->second;
    }

  private:
    std::vector<uint32_t> low_;
    std::unordered_map<uint32_t, uint32_t> high_;
};

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

std::string ExpandCharList(const char* begin, const char* end, CharMode encoding) {
    std::string out;
    // A "-" before any character is an ordinary character, not a range from 0.
    bool havePrevious = false;
    uint32_t previous = 0;
    const char* p = begin;
    while (p < end) {
        const auto c = static_cast<unsigned char>(*p);
        if (c != '\\' && c != '-') {
            const char* const at = p;
            previous = NextCharacter(p, end, encoding);
            havePrevious = true;
            out.append(at, static_cast<std::size_t>(p - at));
            continue;
        }
        if (p + 1 == end) {
            out.push_back(static_cast<char>(c));
            break;
        }
        if (c == '\\') {
            const ListEscape escape = DecodeListEscape(p + 1, end);
            const char byte = static_cast<char>(escape.value);
            out.push_back(byte);
            previous = regex::CharValue(encoding, &byte, 1);
            havePrevious = true;
            p += 1 + escape.consumed;
            continue;
        }
        const RangeEnd last = ReadRangeEnd(p + 1, end, encoding);
        if (havePrevious && previous < last.value && last.value - previous <= 255 &&
            (encoding != CharMode::kUtf8 || IsUtf8Range(previous, last.value))) {
            for (uint32_t v = previous + 1; v <= last.value; ++v) {
                regex::AppendChar(out, encoding, v);
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
        const CharMode encoding = regex::TextModeOf(optionWord);
        const std::string search = ExpandCharList(searchBegin, searchEnd, encoding);
        const std::string replacement =
            ExpandCharList(replacementListBegin, replacementListEnd, encoding);
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
        const CharMode mode = regex::CharModeOf(flags);
        const bool complement = (flags & FLAG_COMPLEMENT) != 0;
        const bool squeeze = (flags & FLAG_SQUEEZE) != 0;
        const uint32_t complementTo = (flags & FLAG_DELETE) ? kDeleteCharacter : kKeepCharacter;
        const Lookup lookup(record->translationTable);

        std::string out;
        out.reserve(static_cast<std::size_t>(targetEnd - targetBegin));
        int count = 0;
        uint32_t previous = kNoCharacter;
        for (const char* p = targetBegin; p < targetEnd;) {
            const char* const start = p;
            const uint32_t c = NextCharacter(p, targetEnd, mode);
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
                regex::AppendChar(out, mode, value);
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
