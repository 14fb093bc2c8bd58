#include "host/core/function_lookup.h"

namespace host {
namespace {

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

unsigned char Fold(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }

}  // namespace

bool TitleStartsWith(std::string_view title, std::string_view prefix) {
    if (prefix.size() > title.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const auto t = static_cast<unsigned char>(title[i]);
        const auto p = static_cast<unsigned char>(prefix[i]);
        if (IsLeadByte(t)) {
            // A double-byte character: both bytes must be the same.
            if (t != p || i + 1 >= prefix.size() || title[i + 1] != prefix[i + 1]) {
                return false;
            }
            ++i;
            continue;
        }
        if (Fold(t) != Fold(p)) {
            return false;
        }
    }
    return true;
}

std::optional<std::size_t> FindFunctionByTitle(const FunctionList& list, std::string_view prefix) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (TitleStartsWith(list[i].title, prefix)) {
            return i;
        }
    }
    return std::nullopt;
}

}  // namespace host
