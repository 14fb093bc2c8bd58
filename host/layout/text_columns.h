// Static texts in two columns: a line's first part ends in one or more tabs, and what follows
// stands in the second column (the regular-expression dialog's examples, "what\t\t→ how").
// The tabs only do their work when every line's tabs end on the same tab stop, which depends on
// how wide the window's font draws each first part; this finds a tab stop distance at which
// they do.
#pragma once

#include <algorithm>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace layout {

// The tab stop distance, in the units of `width` (which measures a piece of the UTF-8 text),
// at which every line that holds a tab reaches the same stop with the tabs that follow its
// first part, leaving at least `minimumGap` between the widest first part and that stop. The
// smallest such distance, for the narrowest layout; nothing when the text has no tab or no
// distance lines it up. Lines without a tab, and whatever follows the first run of tabs,
// play no part.
inline std::optional<int> AligningTabDistance(std::string_view text,
                                              const std::function<int(std::string_view)>& width,
                                              int minimumGap) {
    struct Lead {
        int width;
        int tabs;
    };
    std::vector<Lead> leads;
    int widest = 0;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = text.substr(start, end - start);
        if (const std::size_t tab = line.find('\t'); tab != std::string_view::npos) {
            const std::size_t after = std::min(line.find_first_not_of('\t', tab), line.size());
            leads.push_back({width(line.substr(0, tab)), static_cast<int>(after - tab)});
            widest = std::max(widest, leads.back().width);
        }
        start = end + 1;
    }
    if (leads.empty()) {
        return std::nullopt;
    }
    for (int distance = std::max(1, minimumGap); distance <= 2 * (widest + minimumGap);
         ++distance) {
        const auto stopOf = [distance](const Lead& lead) {
            return (lead.width / distance + lead.tabs) * distance;
        };
        const int stop = stopOf(leads.front());
        const bool aligned = std::all_of(leads.begin(), leads.end(), [&](const Lead& lead) {
            // A first part that ends right on a stop could fall on either side of it once
            // the window draws it a fraction wider or narrower than measured.
            return stopOf(lead) == stop && (lead.width == 0 || lead.width % distance != 0);
        });
        if (aligned && stop - widest >= minimumGap) {
            return distance;
        }
    }
    return std::nullopt;
}

}  // namespace layout
