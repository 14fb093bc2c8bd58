// What encswap.cpp asks of the conversion code: the exact output size of a route over a text,
// and the output itself. Both builds of the code (see isa.h) answer alike.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace encswap {

enum class Encoding { kJis, kEuc, kSjis };

// What a function reads and writes; no `from` means the encoding is detected from the text.
struct Route {
    std::optional<Encoding> from;
    Encoding to;
};

#define ENCSWAP_DECLARE_CONVERSIONS(isa)                                                  \
    namespace isa {                                                                       \
    std::uint64_t OutputSize(const Route& route, const unsigned char* in, std::size_t n); \
    /* False, with nothing written past `capacity`, when the output does not fit. */      \
    bool WriteOutput(const Route& route, const unsigned char* in, std::size_t n,          \
                     unsigned char* out, std::size_t capacity, std::size_t& written);     \
    }

ENCSWAP_DECLARE_CONVERSIONS(baseline)
#if defined(ENCSWAP_WITH_AVX2)
ENCSWAP_DECLARE_CONVERSIONS(avx2)
#endif
#if defined(ENCSWAP_WITH_AVX512)
ENCSWAP_DECLARE_CONVERSIONS(avx512)
#endif

#undef ENCSWAP_DECLARE_CONVERSIONS

}  // namespace encswap
