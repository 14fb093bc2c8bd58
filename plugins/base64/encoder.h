// Base64 encoding into one unbroken line with "=" padding.
#pragma once

#include <cstddef>
#include <cstdint>

namespace base64 {

// Length of the encoded text of `n` bytes: four characters per started group of three.
constexpr std::uint64_t EncodedSize(std::uint64_t n) {
    return (n + 2) / 3 * 4;
}

// Writes the EncodedSize(n) characters of [in, in + n) to `out`.
void Encode(const unsigned char* in, std::size_t n, unsigned char* out);

}  // namespace base64
