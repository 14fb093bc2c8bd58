#include "host/core/tools/cell_order.h"

#include <algorithm>
#include <numeric>

namespace host {
namespace {

bool IsNumber(const std::string& cell) {
    return !cell.empty() && cell.size() <= 19 &&
           std::all_of(cell.begin(), cell.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

bool CellLess(const std::string& a, const std::string& b) {
    const bool numberA = IsNumber(a), numberB = IsNumber(b);
    if (numberA != numberB) {
        return numberA;
    }
    if (numberA) {
        return std::stoull(a) < std::stoull(b);
    }
    return a < b;
}

std::vector<std::size_t> SortedRows(const std::vector<std::vector<std::string>>& rows,
                                    std::size_t column, bool ascending) {
    static const std::string kEmpty;
    const auto cell = [&](std::size_t row) -> const std::string& {
        return column < rows[row].size() ? rows[row][column] : kEmpty;
    };
    std::vector<std::size_t> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) {
        return ascending ? CellLess(cell(x), cell(y)) : CellLess(cell(y), cell(x));
    });
    return order;
}

}  // namespace host
