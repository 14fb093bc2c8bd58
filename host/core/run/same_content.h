#pragma once

#include <cstddef>
#include <cstring>

namespace host {

// True when the two byte ranges have the same length and the same bytes.
inline bool SameContent(const unsigned char* first, std::size_t firstLength,
                        const unsigned char* second, std::size_t secondLength) {
    return firstLength == secondLength &&
           (firstLength == 0 || std::memcmp(first, second, firstLength) == 0);
}

}  // namespace host
