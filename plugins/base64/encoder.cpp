#include "encoder.h"

#include <array>
#include <cstring>

#include "alphabet.h"

namespace base64 {
namespace {

// The two characters of every 12-bit value, so that a group of three bytes takes two
// lookups.
const std::array<std::array<unsigned char, 2>, 4096> kPairs = [] {
    std::array<std::array<unsigned char, 2>, 4096> pairs{};
    for (std::size_t v = 0; v < pairs.size(); ++v) {
        pairs[v][0] = static_cast<unsigned char>(kAlphabet[v >> 6]);
        pairs[v][1] = static_cast<unsigned char>(kAlphabet[v & 0x3F]);
    }
    return pairs;
}();

unsigned char Char(std::uint32_t sixBits) {
    return static_cast<unsigned char>(kAlphabet[sixBits & 0x3F]);
}

}  // namespace

void Encode(const unsigned char* in, std::size_t n, unsigned char* out) {
    const std::size_t full = n - n % 3;
    std::size_t i = 0;
    for (; i < full; i += 3) {
        const std::uint32_t group =
            (std::uint32_t{in[i]} << 16) | (std::uint32_t{in[i + 1]} << 8) | in[i + 2];
        std::memcpy(out, kPairs[group >> 12].data(), 2);
        std::memcpy(out + 2, kPairs[group & 0xFFF].data(), 2);
        out += 4;
    }
    const std::size_t rest = n - full;
    if (rest == 0) {
        return;
    }
    const std::uint32_t first = in[i];
    const std::uint32_t second = rest == 2 ? in[i + 1] : 0;
    out[0] = Char(first >> 2);
    out[1] = Char((first << 4) | (second >> 4));
    out[2] = rest == 2 ? Char(second << 2) : kPadding;
    out[3] = kPadding;
}

}  // namespace base64
