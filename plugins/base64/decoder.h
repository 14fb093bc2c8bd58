// Base64 decoding: bytes outside the alphabet are skipped, the first "=" ends the data, and
// every output byte is written as soon as all its bits are known, so a final group of two or
// three characters gives one or two bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace base64 {

// Exact number of bytes that [in, in + n) decodes to.
std::uint64_t DecodedSize(const unsigned char* in, std::size_t n);

// Decodes [in, in + n) into `out`, which holds `capacity` bytes, and returns the number of
// bytes written; nothing when the result does not fit (what was written so far is then
// meaningless).
std::optional<std::size_t> Decode(const unsigned char* in, std::size_t n, unsigned char* out,
                                  std::size_t capacity);

}  // namespace base64
