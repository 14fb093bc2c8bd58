#include "host/core/tools/line_alignment.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

namespace host {
namespace {

enum class Op : std::uint8_t { kKeep, kRemove, kAdd };

// The middle parts of both texts, from line `first` on, with the hashes of their lines.
class Middle {
  public:
    Middle(const DisplayLines& before, const DisplayLines& after, std::size_t first,
           std::size_t a, std::size_t b)
        : before_(before), after_(after), first_(first) {
        beforeHash_.reserve(a);
        afterHash_.reserve(b);
        for (std::size_t i = 0; i < a; ++i) beforeHash_.push_back(before.Hash(first + i));
        for (std::size_t j = 0; j < b; ++j) afterHash_.push_back(after.Hash(first + j));
    }
    std::ptrdiff_t a() const { return static_cast<std::ptrdiff_t>(beforeHash_.size()); }
    std::ptrdiff_t b() const { return static_cast<std::ptrdiff_t>(afterHash_.size()); }
    bool Equal(std::ptrdiff_t i, std::ptrdiff_t j) const {
        const auto x = static_cast<std::size_t>(i);
        const auto y = static_cast<std::size_t>(j);
        return beforeHash_[x] == afterHash_[y] && before_.Same(first_ + x, after_, first_ + y);
    }

  private:
    const DisplayLines& before_;
    const DisplayLines& after_;
    std::size_t first_;
    std::vector<std::uint64_t> beforeHash_, afterHash_;
};

// The shortest edit script from the first middle to the second, or nothing when it needs
// more than `maxEdits` edits. trace[d] keeps the furthest x on every diagonal k in -d..d
// after d edits (at index k + d).
std::optional<std::vector<Op>> ShortestEdits(const Middle& m, std::ptrdiff_t maxEdits) {
    const std::ptrdiff_t a = m.a(), b = m.b();
    const std::ptrdiff_t offset = maxEdits + 1;
    std::vector<std::ptrdiff_t> v(static_cast<std::size_t>(2 * offset + 1), 0);
    std::vector<std::vector<std::ptrdiff_t>> trace;
    const auto at = [&](std::ptrdiff_t k) -> std::ptrdiff_t& {
        return v[static_cast<std::size_t>(k + offset)];
    };
    std::ptrdiff_t found = -1;
    for (std::ptrdiff_t d = 0; d <= maxEdits && found < 0; ++d) {
        for (std::ptrdiff_t k = -d; k <= d; k += 2) {
            std::ptrdiff_t x = (k == -d || (k != d && at(k - 1) < at(k + 1))) ? at(k + 1)
                                                                               : at(k - 1) + 1;
            std::ptrdiff_t y = x - k;
            while (x < a && y < b && m.Equal(x, y)) {
                ++x;
                ++y;
            }
            at(k) = x;
            if (x >= a && y >= b) {
                found = d;
                break;
            }
        }
        trace.emplace_back(v.begin() + (offset - d), v.begin() + (offset + d + 1));
    }
    if (found < 0) {
        return std::nullopt;
    }
    std::vector<Op> ops;
    std::ptrdiff_t x = a, y = b;
    for (std::ptrdiff_t d = found; d > 0; --d) {
        const std::vector<std::ptrdiff_t>& prev = trace[static_cast<std::size_t>(d - 1)];
        const auto prevAt = [&](std::ptrdiff_t k) {
            return prev[static_cast<std::size_t>(k + d - 1)];
        };
        const std::ptrdiff_t k = x - y;
        const bool added = k == -d || (k != d && prevAt(k - 1) < prevAt(k + 1));
        const std::ptrdiff_t prevK = added ? k + 1 : k - 1;
        const std::ptrdiff_t prevX = prevAt(prevK);
        const std::ptrdiff_t startX = added ? prevX : prevX + 1;
        while (x > startX) {
            ops.push_back(Op::kKeep);
            --x;
            --y;
        }
        ops.push_back(added ? Op::kAdd : Op::kRemove);
        x = prevX;
        y = prevX - prevK;
    }
    ops.insert(ops.end(), static_cast<std::size_t>(x), Op::kKeep);
    std::reverse(ops.begin(), ops.end());
    return ops;
}

// Rows in order, pairing a run of removed lines with the run of added lines after it.
class RowWriter {
  public:
    explicit RowWriter(std::vector<AlignedRow>& rows) : rows_(rows) {}

    void Keep(std::size_t i, std::size_t j, bool changed) {
        Flush();
        rows_.push_back({Line(i), Line(j), changed});
    }
    void Remove(std::size_t i) { removed_.push_back(Line(i)); }
    void Add(std::size_t j) { added_.push_back(Line(j)); }
    void Flush() {
        const std::size_t n = std::max(removed_.size(), added_.size());
        for (std::size_t r = 0; r < n; ++r) {
            rows_.push_back({r < removed_.size() ? removed_[r] : AlignedRow::kNoLine,
                             r < added_.size() ? added_[r] : AlignedRow::kNoLine, true});
        }
        removed_.clear();
        added_.clear();
    }

  private:
    static std::uint32_t Line(std::size_t line) { return static_cast<std::uint32_t>(line); }

    std::vector<AlignedRow>& rows_;
    std::vector<std::uint32_t> removed_, added_;
};

// Pairs the middles line by line; the longer one's remaining lines stand alone.
void PairByPlace(const DisplayLines& before, const DisplayLines& after, std::size_t first,
                 std::size_t a, std::size_t b, RowWriter& out) {
    for (std::size_t r = 0; r < std::min(a, b); ++r) {
        const std::size_t line = first + r;
        out.Keep(line, line, !before.Same(line, after, line));
    }
    for (std::size_t r = std::min(a, b); r < a; ++r) out.Remove(first + r);
    for (std::size_t r = std::min(a, b); r < b; ++r) out.Add(first + r);
    out.Flush();
}

std::size_t BudgetFor(std::size_t lines) {
    // Each edit may cost a pass over both middles; keep the whole near 50 million steps, and
    // the trace (edits squared) small.
    const std::size_t byWork = 50'000'000 / std::max<std::size_t>(lines, 1);
    return std::clamp<std::size_t>(byWork, 1, 2000);
}

}  // namespace

std::vector<AlignedRow> AlignLines(const DisplayLines& before, const DisplayLines& after,
                                   std::size_t editBudget) {
    const std::size_t n = before.size(), m = after.size();
    if (n >= AlignedRow::kNoLine || m >= AlignedRow::kNoLine) {
        throw std::length_error("too many lines to set side by side");
    }
    std::size_t prefix = 0;
    while (prefix < n && prefix < m && before.Same(prefix, after, prefix)) ++prefix;
    std::size_t suffix = 0;
    while (suffix < n - prefix && suffix < m - prefix &&
           before.Same(n - 1 - suffix, after, m - 1 - suffix)) {
        ++suffix;
    }
    std::vector<AlignedRow> rows;
    rows.reserve(std::max(n, m));
    RowWriter out(rows);
    for (std::size_t i = 0; i < prefix; ++i) out.Keep(i, i, false);

    const std::size_t a = n - prefix - suffix, b = m - prefix - suffix;
    if (a == b) {
        PairByPlace(before, after, prefix, a, b, out);
    } else {
        const Middle middle(before, after, prefix, a, b);
        const std::size_t budget = editBudget != 0 ? editBudget : BudgetFor(a + b);
        const auto ops = ShortestEdits(middle, static_cast<std::ptrdiff_t>(budget));
        if (!ops) {
            PairByPlace(before, after, prefix, a, b, out);
        } else {
            std::size_t i = prefix, j = prefix;
            for (const Op op : *ops) {
                if (op == Op::kKeep) {
                    out.Keep(i++, j++, false);
                } else if (op == Op::kRemove) {
                    out.Remove(i++);
                } else {
                    out.Add(j++);
                }
            }
            out.Flush();
        }
    }
    for (std::size_t s = suffix; s > 0; --s) out.Keep(n - s, m - s, false);
    return rows;
}

}  // namespace host
