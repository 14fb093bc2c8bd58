// What each function does with a text in the form found, how much room it needs, and the
// conversion itself.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/text_fault.h"
#include "fallback_writer.h"
#include "source.h"

namespace unibridge {

enum class Target {
    kUtf8,     // UTF-8 without a byte-order mark
    kUtf8Bom,  // UTF-8 after EF BB BF
    kUtf16Le,  // UTF-16 little-endian after FF FE
    kSjis,     // Shift JIS, code page 932, from UTF-8 or UTF-16 only
    kSjisReadable,  // the same, with 〓 for what Shift JIS lacks (platform/sjis_fallback.h)
    kSjisLossless,  // the same, with numeric references for what would not come back
    kUtf8Refs,      // UTF-8 without a mark, numeric references turned into their characters
};

// The fallback of a target that has one.
inline bool HasFallback(Target target) {
    return target == Target::kSjisReadable || target == Target::kSjisLossless;
}

// An upper bound of the output's size for the `n` bytes at `in`, at least 1; 0 when the text
// stays as it is (plain ASCII to UTF-8 or Shift JIS, a text already in the target form, or no
// UTF-8 or UTF-16 text to take to Shift JIS).
std::uint64_t OutputBound(Target target, Source source, const unsigned char* in, std::size_t n);

// Converts a text of `source` form (for which OutputBound is not 0) and sets `written`.
// Returns the fault that stopped it, if any: nothing is written past `capacity`.
Fault Convert(Target target, Source source, const unsigned char* in, std::size_t n,
              unsigned char* out, std::size_t capacity, std::size_t& written);

// Convert for the targets with a fallback, which also tells what it replaced.
Fault ConvertWithFallback(Target target, Source source, const unsigned char* in, std::size_t n,
                          unsigned char* out, std::size_t capacity, std::size_t& written,
                          Replacements& replaced);

// UTF-8 to Shift JIS (`target` kSjis or one with a fallback) without detecting first, for a
// text that nothing decides before the UTF-8 check (see DecidedBeforeUtf8): the conversion
// checks every sequence anyway. True, with `written` and `replaced` set, when detection would
// find UTF-8 (for kSjis: not plain ASCII) and the conversion succeed; otherwise what the
// output holds is undefined.
bool ConvertUtf8ToSjis(Target target, const unsigned char* in, std::size_t n, unsigned char* out,
                       std::size_t capacity, std::size_t& written, Replacements& replaced);

// For the size pass of the targets to Shift JIS: true when the text's first 64 KiB are
// well-formed UTF-8 (after a mark, if any) with a multi-byte sequence, and it is no UTF-16. Then
// the conversion takes it for UTF-8 and checks the rest on its way, and the size pass gives
// Utf8ToSjisBound without reading the whole text for its detection.
bool LooksLikeUtf8(const unsigned char* in, std::size_t n);

// An upper bound of the output of `target` for a UTF-8 text of `n` bytes at `in` (or for a
// text that stays as it is: then its length).
std::uint64_t Utf8ToSjisBound(Target target, const unsigned char* in, std::size_t n);

}  // namespace unibridge
