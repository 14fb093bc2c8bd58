// The Base64 alphabet (values 0 to 63 in order) and the padding character, with the lookup
// tables the encoder and decoder share.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace base64 {

inline constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
inline constexpr char kPadding = '=';

// Decoding classes of a byte besides its six-bit value.
inline constexpr std::uint8_t kSkip = 0x40;  // not in the alphabet: ignored
inline constexpr std::uint8_t kEnd = 0x80;   // the padding character: the data ends here

// Six-bit value of every alphabet byte, kEnd for "=", kSkip for every other byte.
inline constexpr std::array<std::uint8_t, 256> kDecodeValue = [] {
    std::array<std::uint8_t, 256> table{};
    table.fill(kSkip);
    for (std::size_t i = 0; i < kAlphabet.size(); ++i) {
        table[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::uint8_t>(i);
    }
    table[static_cast<unsigned char>(kPadding)] = kEnd;
    return table;
}();

}  // namespace base64
