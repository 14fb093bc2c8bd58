// The UTF-8 pass of utf8_scan.h for processors with AVX2, 32 bytes at a time.
//
// Each byte is checked against the one, two and three bytes before it. Three lookups by nibble
// (the high and low nibble of the byte before, the high nibble of the byte itself) each give a
// set of faults the pair might show; their intersection holds the faults the pair does show:
// a lead byte without its continuation, a continuation without a lead, overlong forms of two,
// three and four bytes, surrogates, values above U+10FFFF. Two continuations in a row are
// a fault unless the byte two before leads three or four bytes, or the byte three before leads
// four; that is settled by comparing those bytes. The text's end is checked by a last block
// padded with zero bytes, where a sequence cut short meets a byte that cannot continue it.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/utf8_scan.h"

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>

#define UTF8_SCAN_AVX2 __attribute__((target("avx2")))

namespace platform::utf8_scan {
namespace {

// The kinds of fault, one bit each (the last two bits serve two kinds that need no telling
// apart: what leads them differs).
constexpr char kTooShort = 1 << 0;                     // a lead byte, then no continuation
constexpr char kTooLong = 1 << 1;                      // a continuation after ASCII
constexpr char kOverlong3 = 1 << 2;                    // E0 80-9F
constexpr char kTooLarge = 1 << 3;                     // F4 90-BF, F5-FF 90-BF
constexpr char kSurrogate = 1 << 4;                    // ED A0-BF
constexpr char kOverlong2 = 1 << 5;                    // C0-C1 and a continuation
constexpr char kTooLarge1000 = 1 << 6;                 // F5-FF 80-8F
constexpr char kOverlong4 = 1 << 6;                    // F0 80-8F
constexpr char kTwoConts = static_cast<char>(1 << 7);  // a continuation after a continuation
constexpr char kCarry = kTooShort | kTooLong | kTwoConts;

// The 16 entries of a nibble table, in both 16-byte halves of a register.
UTF8_SCAN_AVX2 __m256i Table(char e0, char e1, char e2, char e3, char e4, char e5, char e6, char e7,
                             char e8, char e9, char e10, char e11, char e12, char e13, char e14,
                             char e15) {
    return _mm256_setr_epi8(e0, e1, e2, e3, e4, e5, e6, e7, e8, e9, e10, e11, e12, e13, e14, e15,
                            e0, e1, e2, e3, e4, e5, e6, e7, e8, e9, e10, e11, e12, e13, e14, e15);
}

UTF8_SCAN_AVX2 __m256i HighNibbles(__m256i x) {
    return _mm256_and_si256(_mm256_srli_epi16(x, 4), _mm256_set1_epi8(0x0F));
}

// `input` moved up by N bytes, the last N bytes of `previous` in front.
template <int N>
UTF8_SCAN_AVX2 __m256i Before(__m256i input, __m256i previous) {
    return _mm256_alignr_epi8(input, _mm256_permute2x128_si256(previous, input, 0x21), 16 - N);
}

struct Checker {
    __m256i byte1High, byte1Low, byte2High;
    __m256i previous = _mm256_setzero_si256();
    __m256i faults = _mm256_setzero_si256();
    __m256i largest = _mm256_setzero_si256();

    UTF8_SCAN_AVX2 Checker()
        : byte1High(Table(kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong,
                          kTooLong, kTwoConts, kTwoConts, kTwoConts, kTwoConts,
                          kTooShort | kOverlong2, kTooShort, kTooShort | kOverlong3 | kSurrogate,
                          kTooShort | kTooLarge | kTooLarge1000 | kOverlong4)),
          byte1Low(Table(kCarry | kOverlong3 | kOverlong2 | kOverlong4, kCarry | kOverlong2, kCarry,
                         kCarry, kCarry | kTooLarge, kCarry | kTooLarge | kTooLarge1000,
                         kCarry | kTooLarge | kTooLarge1000, kCarry | kTooLarge | kTooLarge1000,
                         kCarry | kTooLarge | kTooLarge1000, kCarry | kTooLarge | kTooLarge1000,
                         kCarry | kTooLarge | kTooLarge1000, kCarry | kTooLarge | kTooLarge1000,
                         kCarry | kTooLarge | kTooLarge1000,
                         kCarry | kTooLarge | kTooLarge1000 | kSurrogate,
                         kCarry | kTooLarge | kTooLarge1000, kCarry | kTooLarge | kTooLarge1000)),
          byte2High(
              Table(kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort,
                    kTooShort,
                    kTooLong | kOverlong2 | kTwoConts | kOverlong3 | kTooLarge1000 | kOverlong4,
                    kTooLong | kOverlong2 | kTwoConts | kOverlong3 | kTooLarge,
                    kTooLong | kOverlong2 | kTwoConts | kSurrogate | kTooLarge,
                    kTooLong | kOverlong2 | kTwoConts | kSurrogate | kTooLarge, kTooShort,
                    kTooShort, kTooShort, kTooShort)) {}

    // Adds the faults of `input`, the block after the previous one.
    UTF8_SCAN_AVX2 void Check(__m256i input) {
        const __m256i before1 = Before<1>(input, previous);
        const __m256i pairs = _mm256_and_si256(
            _mm256_and_si256(
                _mm256_shuffle_epi8(byte1High, HighNibbles(before1)),
                _mm256_shuffle_epi8(byte1Low, _mm256_and_si256(before1, _mm256_set1_epi8(0x0F)))),
            _mm256_shuffle_epi8(byte2High, HighNibbles(input)));
        // 0x80 where the byte two before leads three or four bytes, or the byte three before
        // leads four: exactly where two continuations in a row are right.
        const __m256i third = _mm256_subs_epu8(Before<2>(input, previous),
                                               _mm256_set1_epi8(static_cast<char>(0xE0 - 0x80)));
        const __m256i fourth = _mm256_subs_epu8(Before<3>(input, previous),
                                                _mm256_set1_epi8(static_cast<char>(0xF0 - 0x80)));
        const __m256i expected = _mm256_and_si256(_mm256_or_si256(third, fourth),
                                                  _mm256_set1_epi8(static_cast<char>(0x80)));
        faults = _mm256_or_si256(faults, _mm256_xor_si256(expected, pairs));
        largest = _mm256_max_epu8(largest, input);
        previous = input;
    }

    UTF8_SCAN_AVX2 bool Faulty() const { return !_mm256_testz_si256(faults, faults); }

    // The largest byte seen.
    UTF8_SCAN_AVX2 unsigned char Largest() const {
        __m256i m = _mm256_max_epu8(largest, _mm256_permute2x128_si256(largest, largest, 1));
        m = _mm256_max_epu8(m, _mm256_srli_si256(m, 8));
        m = _mm256_max_epu8(m, _mm256_srli_si256(m, 4));
        m = _mm256_max_epu8(m, _mm256_srli_si256(m, 2));
        m = _mm256_max_epu8(m, _mm256_srli_si256(m, 1));
        return static_cast<unsigned char>(_mm256_extract_epi8(m, 0));
    }
};

}  // namespace

bool CanScanAvx2() {
    return true;
}

UTF8_SCAN_AVX2 Scan ScanAvx2(const unsigned char* text, std::size_t length) {
    constexpr std::size_t kBlock = 32;
    Checker checker;
    std::size_t i = 0;
    for (; length - i >= kBlock; i += kBlock) {
        checker.Check(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(text + i)));
        // Faults are rare in UTF-8 and come early in other encodings: look every 8 blocks.
        if ((i & (8 * kBlock - 1)) == 0 && checker.Faulty()) {
            return {false, false, true};
        }
    }
    unsigned char last[kBlock] = {};
    if (length > i) {
        std::memcpy(last, text + i, length - i);
    }
    checker.Check(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(last)));
    if (checker.Faulty()) {
        return {false, false, true};
    }
    const unsigned char largest = checker.Largest();
    return {true, largest >= 0xE0, largest >= 0x80};
}

}  // namespace platform::utf8_scan

#else

namespace platform::utf8_scan {

bool CanScanAvx2() {
    return false;
}

Scan ScanAvx2(const unsigned char* text, std::size_t length) {
    return ScanPortable(text, length);
}

}  // namespace platform::utf8_scan

#endif
