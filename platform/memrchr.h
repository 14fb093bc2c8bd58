// memrchr, the backward memchr, where the C library lacks it (Windows' C runtime). Elsewhere
// this header only brings in <cstring>.
#pragma once

#include <cstring>

#ifdef _WIN32
inline void* memrchr(const void* bytes, int c, std::size_t length) {
    const auto* p = static_cast<const unsigned char*>(bytes) + length;
    while (p != static_cast<const unsigned char*>(bytes)) {
        if (*--p == static_cast<unsigned char>(c)) {
            return const_cast<unsigned char*>(p);
        }
    }
    return nullptr;
}
#endif
