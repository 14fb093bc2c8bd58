// Two texts' lines set side by side: rows of a line before, a line after, or both, in the
// order of both texts, so that lines both share stand on one row and what changed stands
// between them. Lines the two texts share at their start and end are set aside first; the
// rest is aligned by the shortest edit script (a greedy search along the diagonals) while
// the edits stay within a budget that keeps the work near linear. Past the budget, and
// whenever both middles have as many lines (the usual case for the functions, which keep
// the lines of a text), lines pair by their place. A run of removed lines next to a run of
// added ones pairs up row by row, as a changed line does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "host/core/tools/display_lines.h"

namespace host {

struct AlignedRow {
    static constexpr std::uint32_t kNoLine = 0xFFFFFFFFu;
    std::uint32_t before = kNoLine;  // line of the first text, or kNoLine
    std::uint32_t after = kNoLine;   // line of the second text, or kNoLine
    bool changed = false;
};

// The rows of `before` against `after`. More edits than `editBudget` (0: chosen by the size)
// fall back to pairing by place. Texts of more lines than kNoLine can number are refused
// (std::length_error).
std::vector<AlignedRow> AlignLines(const DisplayLines& before, const DisplayLines& after,
                                   std::size_t editBudget = 0);

}  // namespace host
