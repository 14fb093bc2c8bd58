// Backtracking search is exponential by nature ("(a|a)+" over n bytes takes 2^n steps) and a
// table may grow its text at every line; the table targets keep to inputs whose cost is
// bounded, so that they hunt for crashes and bad reads, not for slow tables.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

namespace fuzz_support {

// How many operators that make a search branch ("|", "*", "+", "?" and "{") `text` holds.
inline int BranchingOperators(std::string_view text) {
    int count = 0;
    for (char c : text) {
        count += c != '\0' && std::strchr("|*+?{", c) != nullptr;
    }
    return count;
}

// An upper bound of how much a table can multiply its text: no line multiplies it by more
// than its own length (an empty match takes the replacement at every byte, "$&" copies what
// it stands for once).
inline double GrowthBound(std::string_view table) {
    double bound = 1;
    std::size_t begin = 0;
    while (begin < table.size()) {
        std::size_t end = table.find('\n', begin);
        end = end == std::string_view::npos ? table.size() : end;
        bound *= static_cast<double>(end - begin < 2 ? 2 : end - begin);
        begin = end + 1;
    }
    return bound;
}

}  // namespace fuzz_support
