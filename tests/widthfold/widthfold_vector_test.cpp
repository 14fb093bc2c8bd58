// Full to half width with 64-byte vectors gives exactly what the portable conversion gives, in
// Shift JIS and in UTF-8, on every kind of byte: broken characters, invalid bytes and zero bytes at
// any place in a block and at its ends, folding pairs split between blocks. (The plug-in runs the
// vector form where the processor has it, so the portable one is checked here against it.)
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "folding.h"
#include "folding_avx512.h"
#include "folding_utf8.h"
#include "folding_utf8_avx512.h"

namespace {

#if defined(WIDTHFOLD_WITH_AVX512)
class WidthfoldVectors : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!widthfold::HasAvx512()) {
            GTEST_SKIP() << "no 64-byte vectors with byte compression";
        }
    }

    // Folds `text` with both conversions and compares what they wrote.
    template <class Portable, class Vector>
    static ::testing::AssertionResult SameFolding(Portable portableFold, Vector vectorFold,
                                                  const std::vector<unsigned char>& text,
                                                  widthfold::CharSet set) {
        std::vector<unsigned char> portable(text.size() + 1), vector(text.size() + 1);
        widthfold::Output a(portable.data(), portable.size());
        widthfold::Output b(vector.data(), vector.size());
        portableFold(text.data(), text.size(), a, set);
        vectorFold(text.data(), text.size(), b, set);
        const auto length = static_cast<std::size_t>(a.next() - portable.data());
        if (length != static_cast<std::size_t>(b.next() - vector.data())) {
            return ::testing::AssertionFailure() << "lengths differ";
        }
        if (std::memcmp(portable.data(), vector.data(), length) != 0) {
            return ::testing::AssertionFailure() << "bytes differ";
        }
        return ::testing::AssertionSuccess();
    }

    // 6000 random texts of up to 900 bytes, which fill(random, text) writes, folded in turn to
    // each character set by both conversions.
    template <class Fill, class Portable, class Vector>
    static void ExpectAgreementOnRandomTexts(std::uint64_t seed, Fill fill, Portable portableFold,
                                             Vector vectorFold) {
        std::mt19937_64 random(seed);
        for (int round = 0; round < 6000; ++round) {
            std::vector<unsigned char> text(random() % 900);
            fill(random, text);
            ASSERT_TRUE(SameFolding(portableFold, vectorFold, text,
                                    static_cast<widthfold::CharSet>(round % 3)))
                << round;
        }
    }
};

TEST_F(WidthfoldVectors, FullToHalfAgreesWithThePortableConversion) {
    // Lead bytes 0x81 and 0x82 with trail bytes that fold and some that do not, other leads,
    // invalid trail bytes (0x00, 0x0A, 0x7F, 0xFD-0xFF) and half-width katakana.
    const unsigned char kinds[] = {0x00, 0x0A, 0x20, 0x31, 0x40, 0x4F, 0x60, 0x7F, 0x81, 0x82,
                                   0x83, 0x8F, 0x9A, 0x9F, 0xA0, 0xA1, 0xBF, 0xE0, 0xFC, 0xFD};
    ExpectAgreementOnRandomTexts(
        11,
        [&](std::mt19937_64& random, std::vector<unsigned char>& text) {
            for (unsigned char& c : text) {
                const auto r = random();
                c = r % 3 != 0 ? kinds[(r >> 8) % std::size(kinds)]
                               : static_cast<unsigned char>(r >> 16);
            }
        },
        widthfold::FullToHalf, widthfold::FullToHalfAvx512);
}

// UTF-8: full-width forms of every set and none, the ideographic space, their bytes in every
// other order and cut short, at any place in a block and across blocks.
TEST_F(WidthfoldVectors, FullToHalfUtf8AgreesWithThePortableConversion) {
    const unsigned char kinds[] = {0x00, 0x0A, 0x20, 0x31, 0x41, 0x7F, 0x80, 0x81, 0x90, 0x9E,
                                   0xA1, 0xBC, 0xBD, 0xBE, 0xBF, 0xE3, 0xEF, 0xEF, 0xF0, 0xFF};
    ExpectAgreementOnRandomTexts(
        12,
        [&](std::mt19937_64& random, std::vector<unsigned char>& text) {
            for (std::size_t i = 0; i < text.size(); ++i) {
                const auto r = random();
                if (r % 4 == 0 && i + 3 <= text.size()) {  // a whole full-width form or space
                    const unsigned code = r % 16 == 0 ? 0x3000 : 0xFF00 + (r >> 8) % 0x60;
                    text[i] = static_cast<unsigned char>(0xE0 | (code >> 12));
                    text[i + 1] = static_cast<unsigned char>(0x80 | ((code >> 6) & 0x3F));
                    text[i + 2] = static_cast<unsigned char>(0x80 | (code & 0x3F));
                    i += 2;
                    continue;
                }
                text[i] = r % 3 != 0 ? kinds[(r >> 8) % std::size(kinds)]
                                     : static_cast<unsigned char>(r >> 16);
            }
        },
        widthfold::FullToHalfUtf8, widthfold::FullToHalfUtf8Avx512);
}
#endif

}  // namespace
