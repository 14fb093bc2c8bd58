#include "decoder.h"

#include <array>
#include <cstring>

#include "alphabet.h"

namespace base64 {
namespace {

// Any byte outside the alphabet sets this bit in a quad's combined value.
constexpr std::uint32_t kNotAlphabet = 0x01000000;

// The six-bit value of a byte already moved to its place in a group of four characters
// (position 0 holds the top bits), or kNotAlphabet.
using PlacedTable = std::array<std::uint32_t, 256>;

constexpr PlacedTable Placed(unsigned shift) {
    PlacedTable table{};
    for (std::size_t c = 0; c < table.size(); ++c) {
        const std::uint8_t value = kDecodeValue[c];
        table[c] = value < 64 ? std::uint32_t{value} << shift : kNotAlphabet;
    }
    return table;
}

constexpr std::array<PlacedTable, 4> kPlaced = {Placed(18), Placed(12), Placed(6), Placed(0)};

// 1 for the bytes of the alphabet, 0 for every other byte; plain comparisons, so that a loop
// over it vectorises.
inline std::uint8_t IsAlphabet(unsigned char c) {
    const bool letter =
        static_cast<unsigned char>(c - 'A') < 26 || static_cast<unsigned char>(c - 'a') < 26;
    const bool digit = static_cast<unsigned char>(c - '0') < 10;
    return static_cast<std::uint8_t>(letter | digit | (c == '+') | (c == '/'));
}

}  // namespace

std::uint64_t DecodedSize(const unsigned char* in, std::size_t n) {
    if (n == 0) {
        return 0;
    }
    // Only the characters before the first "=" count.
    const void* padding = std::memchr(in, kPadding, n);
    const std::size_t end =
        padding == nullptr
            ? n
            : static_cast<std::size_t>(static_cast<const unsigned char*>(padding) - in);
    std::uint64_t characters = 0;
    std::size_t i = 0;
    // Fixed-size blocks whose count fits one byte let the compiler count 16 or 32 bytes at
    // a time.
    constexpr std::size_t kBlock = 240;
    for (; end - i >= kBlock; i += kBlock) {
        std::uint8_t block = 0;
        for (std::size_t j = 0; j < kBlock; ++j) {
            block += IsAlphabet(in[i + j]);
        }
        characters += block;
    }
    for (; i < end; ++i) {
        characters += IsAlphabet(in[i]);
    }
    // Three bytes per full group; a final group of k > 1 characters gives k - 1 bytes.
    const std::uint64_t rest = characters % 4;
    return characters / 4 * 3 + (rest > 1 ? rest - 1 : 0);
}

std::optional<std::size_t> Decode(const unsigned char* in, std::size_t n, unsigned char* out,
                                  std::size_t capacity) {
    unsigned char* const start = out;
    unsigned char* const end = out + capacity;
    std::size_t i = 0;
    std::uint32_t pending = 0;  // bits of the output byte not yet complete
    unsigned position = 0;      // characters of the current group seen so far
    while (i < n) {
        if (position == 0) {
            // Whole groups of four alphabet characters, three bytes at a time.
            while (n - i >= 4 && end - out >= 3) {
                const std::uint32_t group = kPlaced[0][in[i]] | kPlaced[1][in[i + 1]] |
                                            kPlaced[2][in[i + 2]] | kPlaced[3][in[i + 3]];
                if (group & kNotAlphabet) {
                    break;
                }
                out[0] = static_cast<unsigned char>(group >> 16);
                out[1] = static_cast<unsigned char>(group >> 8);
                out[2] = static_cast<unsigned char>(group);
                out += 3;
                i += 4;
            }
            if (i == n) {
                break;
            }
        }
        const std::uint8_t value = kDecodeValue[in[i++]];
        if (value == kEnd) {
            break;
        }
        if (value == kSkip) {
            continue;
        }
        if (position == 0) {
            pending = value;
            position = 1;
            continue;
        }
        if (out == end) {
            return std::nullopt;
        }
        // Characters 2, 3 and 4 of a group each complete one byte: 6 + 2, 4 + 4, 2 + 6 bits.
        const unsigned taken = 2 * position;  // bits of this value that finish the byte
        *out++ = static_cast<unsigned char>((pending << taken) | (value >> (6 - taken)));
        pending = value & ((1u << (6 - taken)) - 1);
        position = (position + 1) % 4;
    }
    return static_cast<std::size_t>(out - start);
}

}  // namespace base64
