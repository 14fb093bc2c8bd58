#include "string_table.h"

#include <algorithm>
#include <cstddef>

#include "byte_search.h"
#include "sjis.h"

namespace rulebook {
namespace {

const unsigned char* Find(const unsigned char* from, const unsigned char* end,
                          const std::string& search) {
    return FindBytes(from, end, reinterpret_cast<const unsigned char*>(search.data()),
                     search.size());
}

}  // namespace

bool ReplaceAll(std::string& text, const std::string& search, const std::string& replacement,
                std::string& scratch) {
    const auto* begin = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = begin + text.size();
    const auto* copied = begin;  // where the walk resumes: a character start
    const auto* from = begin;
    std::string& result = scratch;
    bool changed = false;
    CharacterStarts starts(begin);
    while (const unsigned char* hit = Find(from, end, search)) {
        if (hit != copied && !starts.IsStart(hit)) {
            from = hit + 1;
            continue;
        }
        if (!changed) {
            result.clear();
            result.reserve(text.size() + text.size() / 8);
            changed = true;
        }
        result.append(reinterpret_cast<const char*>(copied),
                      static_cast<std::size_t>(hit - copied));
        result += replacement;
        copied = hit + search.size();
        from = copied;
        starts = CharacterStarts(copied);
    }
    if (!changed) {
        return false;
    }
    result.append(reinterpret_cast<const char*>(copied), static_cast<std::size_t>(end - copied));
    text.swap(result);
    return true;
}

void ApplyStringTable(const Table& table, std::string& text) {
    const std::size_t pairs = std::min(table.searchList.size(), table.replacementList.size());
    std::string scratch;
    for (std::size_t i = 0; i < pairs; ++i) {
        if (!table.searchList[i].empty()) {
            ReplaceAll(text, table.searchList[i], table.replacementList[i], scratch);
        }
    }
}

}  // namespace rulebook
