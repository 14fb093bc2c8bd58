#include "host/core/plugins/function_lookup.h"

#include "platform/sjis_bytes.h"

namespace host {

using platform::sjis::AsciiLower;
using platform::sjis::IsLeadByte;

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
        if (AsciiLower(t) != AsciiLower(p)) {
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
