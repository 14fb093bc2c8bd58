#include "string_table.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "byte_search.h"
#include "messages.h"
#include "platform/message_box.h"
#include "sjis.h"
#include "text_kinds.h"

namespace rulebook {
namespace {

// Whether `hit` starts a character of the text walked from `resume`, itself a character start.
bool StartsCharacter(regex::CharMode encoding, CharacterStarts& starts,
                     const unsigned char* resume, const unsigned char* hit,
                     const unsigned char* end) {
    if (hit == resume) {
        return true;
    }
    if (encoding == regex::CharMode::kUtf8) {
        return !regex::InsideUtf8Character(reinterpret_cast<const char*>(resume),
                                           reinterpret_cast<const char*>(hit),
                                           reinterpret_cast<const char*>(end));
    }
    return starts.IsStart(hit);
}

// Calls `found` with each occurrence of `search` in [begin, end) that starts a character,
// left to right and without overlap; stops early when `found` returns false.
template <typename Found>
void ForEachOccurrence(const unsigned char* begin, const unsigned char* end,
                       const std::string& search, regex::CharMode encoding, Found found) {
    const auto* needle = reinterpret_cast<const unsigned char*>(search.data());
    const unsigned char* resume = begin;  // a character start
    const unsigned char* from = begin;
    CharacterStarts starts(begin);
    while (const unsigned char* hit = FindBytes(from, end, needle, search.size())) {
        if (!StartsCharacter(encoding, starts, resume, hit, end)) {
            from = hit + 1;
            continue;
        }
        if (!found(hit)) {
            return;
        }
        resume = hit + search.size();
        from = resume;
        starts = CharacterStarts(resume);
    }
}

// The size of the result when it is at most `limit`, else limit + 1. Counted in 64 bits: on a
// 32-bit system the limit is the largest size_t, and limit + 1 would be 0.
std::uint64_t ResultSize(const unsigned char* begin, const unsigned char* end,
                         const std::string& search, regex::CharMode encoding, std::size_t growth,
                         std::size_t limit) {
    std::uint64_t size = static_cast<std::size_t>(end - begin);
    ForEachOccurrence(begin, end, search, encoding, [&](const unsigned char*) {
        if (size > limit || limit - size < growth) {
            size = std::uint64_t{limit} + 1;
            return false;
        }
        size += growth;
        return true;
    });
    return size;
}

}  // namespace

Replaced ReplaceAll(std::string& text, const std::string& search, const std::string& replacement,
                    std::string& scratch, regex::CharMode encoding, std::size_t limit) {
    const auto* begin = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = begin + text.size();
    const std::size_t growth =
        replacement.size() > search.size() ? replacement.size() - search.size() : 0;
    // With at most one occurrence per search length, a result that cannot come near the limit
    // grows as it likes (doubling stays within it); otherwise it is measured first and
    // allocated at its exact size.
    const std::uint64_t worst =
        text.size() + std::uint64_t{text.size() / search.size()} * growth;
    std::uint64_t exact = 0;
    if (growth > 0 && (growth > limit || worst > limit / 2)) {
        exact = ResultSize(begin, end, search, encoding, growth, limit);
        if (exact > limit) {
            return Replaced::kTooLarge;
        }
        if (exact == text.size()) {
            return Replaced::kNothing;
        }
    }
    std::string& result = scratch;
    const unsigned char* copied = begin;
    bool changed = false;
    ForEachOccurrence(begin, end, search, encoding, [&](const unsigned char* hit) {
        if (!changed) {
            const std::size_t room = exact != 0    ? static_cast<std::size_t>(exact)
                                     : growth == 0 ? text.size()
                                                   : text.size() + text.size() / 8;
            result.clear();
            if (result.capacity() < room) {
                std::string().swap(result);  // a fresh string reserves exactly the room
            }
            result.reserve(room);
            changed = true;
        }
        result.append(reinterpret_cast<const char*>(copied),
                      static_cast<std::size_t>(hit - copied));
        result += replacement;
        copied = hit + search.size();
        return true;
    });
    if (!changed) {
        return Replaced::kNothing;
    }
    result.append(reinterpret_cast<const char*>(copied), static_cast<std::size_t>(end - copied));
    text.swap(result);
    return Replaced::kChanged;
}

bool ApplyStringTable(const Table& table, std::string& text, regex::CharMode encoding,
                      std::size_t limit) {
    const std::size_t pairs = std::min(table.searchList.size(), table.replacementList.size());
    std::string scratch;
    for (std::size_t i = 0; i < pairs; ++i) {
        const std::string& search = table.searchList[i];
        if (search.empty()) {
            continue;
        }
        if (ReplaceAll(text, search, table.replacementList[i], scratch, encoding, limit) ==
            Replaced::kTooLarge) {
            const std::string message = std::string(kResultTooLarge) + ": " +
                                        ShownInMessage(search, encoding) + kContinueWithoutTable;
            platform::ShowMessageBox(message.c_str(), kErrorTitle,
                                     platform::kButtonsOk | platform::kIconWarning);
            return false;
        }
    }
    return true;
}

}  // namespace rulebook
