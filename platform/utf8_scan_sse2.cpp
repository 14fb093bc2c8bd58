// The UTF-8 pass of utf8_scan.h with 16-byte vectors (every x86-64 processor has them, and the
// 32-bit x86 build asks for them), 64 bytes at a time.
//
// Each block becomes bit masks of its kinds of byte: continuations, leads of two, three and
// four bytes, bytes that never occur (C0, C1, F5-FF), and the four leads whose second byte has
// a narrower range (E0, ED, F0, F4). The leads say where continuations must stand; the text is
// well-formed when they stand exactly there, no byte that never occurs is present and no second
// byte after E0, ED, F0 or F4 leaves its range. What a lead near a block's end expects of the next
// block is carried into it, and the end of the text must expect nothing.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/utf8_scan.h"

#if defined(__SSE2__)
#include <emmintrin.h>

namespace platform::utf8_scan {
namespace {

constexpr std::size_t kBlock = 64;

// A bit for every byte of the 64 at `p` from `first` to `last`.
std::uint64_t InRange(const __m128i (&x)[4], unsigned char first, unsigned char last) {
    std::uint64_t mask = 0;
    for (int k = 0; k < 4; ++k) {
        const __m128i offset = _mm_sub_epi8(x[k], _mm_set1_epi8(static_cast<char>(first)));
        const __m128i span = _mm_set1_epi8(static_cast<char>(last - first));
        const __m128i in = _mm_cmpeq_epi8(_mm_min_epu8(offset, span), offset);
        mask |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(in)))
                << (16 * k);
    }
    return mask;
}

std::uint64_t NonAscii(const __m128i (&x)[4]) {
    std::uint64_t mask = 0;
    for (int k = 0; k < 4; ++k) {
        mask |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(x[k])))
                << (16 * k);
    }
    return mask;
}

// What a block expects of the bytes after it: continuations, and second bytes in a range.
struct Carry {
    std::uint64_t continuations = 0;
    std::uint64_t afterE0 = 0, afterED = 0, afterF0 = 0, afterF4 = 0;
};

// Second bytes at `at` must not lie in [first, last].
struct SecondByteRule {
    std::uint64_t at;
    unsigned char first;
    unsigned char last;
};

class Checker {
  public:
    // Checks the 64 bytes at `p`; false at the first fault.
    bool Check(const unsigned char* p) {
        __m128i x[4];
        for (int k = 0; k < 4; ++k) {
            x[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
        }
        const std::uint64_t high = NonAscii(x);
        if (high == 0) {
            return carry_.continuations == 0;  // nothing expected, nothing to expect
        }
        nonAscii_ = true;
        const std::uint64_t cont = InRange(x, 0x80, 0xBF);
        const std::uint64_t lead2 = InRange(x, 0xC2, 0xDF);
        const std::uint64_t lead3 = InRange(x, 0xE0, 0xEF);
        const std::uint64_t lead4 = InRange(x, 0xF0, 0xF4);
        if ((high & ~(cont | lead2 | lead3 | lead4)) != 0) {
            return false;  // C0, C1 or F5-FF
        }
        longSequence_ = longSequence_ || (lead3 | lead4) != 0;
        const std::uint64_t expected = lead2 << 1 | lead3 << 1 | lead3 << 2 | lead4 << 1 |
                                       lead4 << 2 | lead4 << 3 | carry_.continuations;
        if (expected != cont) {
            return false;
        }
        // The second bytes after E0, ED, F0 and F4, checked where there are any.
        const std::uint64_t e0 = InRange(x, 0xE0, 0xE0), ed = InRange(x, 0xED, 0xED);
        const std::uint64_t f0 = lead4 != 0 ? InRange(x, 0xF0, 0xF0) : 0;
        const std::uint64_t f4 = lead4 != 0 ? InRange(x, 0xF4, 0xF4) : 0;
        const SecondByteRule rules[] = {{e0 << 1 | carry_.afterE0, 0x80, 0x9F},
                                        {ed << 1 | carry_.afterED, 0xA0, 0xBF},
                                        {f0 << 1 | carry_.afterF0, 0x80, 0x8F},
                                        {f4 << 1 | carry_.afterF4, 0x90, 0xBF}};
        for (const SecondByteRule& rule : rules) {
            if (rule.at != 0 && (rule.at & InRange(x, rule.first, rule.last)) != 0) {
                return false;  // overlong, surrogate or above U+10FFFF
            }
        }
        carry_ = {lead2 >> 63 | lead3 >> 63 | lead3 >> 62 | lead4 >> 63 | lead4 >> 62 | lead4 >> 61,
                  e0 >> 63, ed >> 63, f0 >> 63, f4 >> 63};
        return true;
    }

    bool EndsWell() const { return carry_.continuations == 0; }
    Scan Result() const { return {true, longSequence_, nonAscii_}; }

  private:
    Carry carry_;
    bool nonAscii_ = false;
    bool longSequence_ = false;
};

}  // namespace

bool CanScanSse2() {
    return true;
}

Scan ScanSse2(const unsigned char* text, std::size_t length) {
    constexpr Scan kFaulty{false, false, true};
    Checker checker;
    std::size_t i = 0;
    for (; length - i >= kBlock; i += kBlock) {
        if (!checker.Check(text + i)) {
            return kFaulty;
        }
    }
    if (length > i) {
        unsigned char last[kBlock] = {};  // zero bytes continue nothing
        std::memcpy(last, text + i, length - i);
        if (!checker.Check(last)) {
            return kFaulty;
        }
    }
    return checker.EndsWell() ? checker.Result() : kFaulty;
}

}  // namespace platform::utf8_scan

#else

namespace platform::utf8_scan {

bool CanScanSse2() {
    return false;
}

Scan ScanSse2(const unsigned char* text, std::size_t length) {
    return ScanPortable(text, length);
}

}  // namespace platform::utf8_scan

#endif
