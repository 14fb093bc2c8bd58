// What each function does with a text in the form found, how much room it needs, and the
// conversion itself.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/text_fault.h"
#include "source.h"

namespace unibridge {

enum class Target {
    kUtf8,     // UTF-8 without a byte-order mark
    kUtf8Bom,  // UTF-8 after EF BB BF
    kUtf16Le,  // UTF-16 little-endian after FF FE
    kSjis,     // Shift JIS, code page 932, from UTF-8 or UTF-16 only
};

// An upper bound of the output's size for the `n` bytes at `in`, at least 1; 0 when the text
// stays as it is (plain ASCII to UTF-8 or Shift JIS, a text already in the target form, or no
// UTF-8 or UTF-16 text to take to Shift JIS).
std::uint64_t OutputBound(Target target, Source source, const unsigned char* in, std::size_t n);

// Converts a text of `source` form (for which OutputBound is not 0) and sets `written`.
// Returns the fault that stopped it, if any: nothing is written past `capacity`.
Fault Convert(Target target, Source source, const unsigned char* in, std::size_t n,
              unsigned char* out, std::size_t capacity, std::size_t& written);

// UTF-8 to Shift JIS without detecting first, for a text that nothing decides before the UTF-8
// check (see DecidedBeforeUtf8): the conversion checks every sequence anyway. True, with
// `written` set, exactly when detection would find UTF-8 and the conversion succeed; otherwise
// what the output holds is undefined.
bool ConvertUtf8ToSjis(const unsigned char* in, std::size_t n, unsigned char* out,
                       std::size_t capacity, std::size_t& written);

}  // namespace unibridge
