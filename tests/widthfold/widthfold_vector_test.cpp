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
TEST(WidthfoldVectors, FullToHalfAgreesWithThePortableConversion) {
    if (!widthfold::HasAvx512()) {
        GTEST_SKIP() << "no 64-byte vectors with byte compression";
    }
    std::mt19937_64 random(11);
    // Lead bytes 0x81 and 0x82 with trail bytes that fold and some that do not, other leads,
    // invalid trail bytes (0x00, 0x0A, 0x7F, 0xFD-0xFF) and half-width katakana.
    const unsigned char kinds[] = {0x00, 0x0A, 0x20, 0x31, 0x40, 0x4F, 0x60, 0x7F, 0x81, 0x82,
                                   0x83, 0x8F, 0x9A, 0x9F, 0xA0, 0xA1, 0xBF, 0xE0, 0xFC, 0xFD};
    for (int round = 0; round < 6000; ++round) {
        std::vector<unsigned char> text(random() % 900);
        for (unsigned char& c : text) {
            const auto r = random();
            c = r % 3 != 0 ? kinds[(r >> 8) % std::size(kinds)]
                           : static_cast<unsigned char>(r >> 16);
        }
        const auto set = static_cast<widthfold::CharSet>(round % 3);
        std::vector<unsigned char> portable(text.size() + 1), vector(text.size() + 1);
        widthfold::Output a(portable.data(), portable.size());
        widthfold::Output b(vector.data(), vector.size());
        widthfold::FullToHalf(text.data(), text.size(), a, set);
        widthfold::FullToHalfAvx512(text.data(), text.size(), b, set);
        const auto length = static_cast<std::size_t>(a.next() - portable.data());
        ASSERT_EQ(length, static_cast<std::size_t>(b.next() - vector.data())) << round;
        ASSERT_EQ(std::memcmp(portable.data(), vector.data(), length), 0) << round;
    }
}

// UTF-8: full-width forms of every set and none, the ideographic space, their bytes in every
// other order and cut short, at any place in a block and across blocks.
TEST(WidthfoldVectors, FullToHalfUtf8AgreesWithThePortableConversion) {
    if (!widthfold::HasAvx512()) {
        GTEST_SKIP() << "no 64-byte vectors with byte compression";
    }
    std::mt19937_64 random(12);
    const unsigned char kinds[] = {0x00, 0x0A, 0x20, 0x31, 0x41, 0x7F, 0x80, 0x81, 0x90, 0x9E,
                                   0xA1, 0xBC, 0xBD, 0xBE, 0xBF, 0xE3, 0xEF, 0xEF, 0xF0, 0xFF};
    for (int round = 0; round < 6000; ++round) {
        std::vector<unsigned char> text(random() % 900);
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
        const auto set = static_cast<widthfold::CharSet>(round % 3);
        std::vector<unsigned char> portable(text.size() + 1), vector(text.size() + 1);
        widthfold::Output a(portable.data(), portable.size());
        widthfold::Output b(vector.data(), vector.size());
        widthfold::FullToHalfUtf8(text.data(), text.size(), a, set);
        widthfold::FullToHalfUtf8Avx512(text.data(), text.size(), b, set);
        const auto length = static_cast<std::size_t>(a.next() - portable.data());
        ASSERT_EQ(length, static_cast<std::size_t>(b.next() - vector.data())) << round;
        ASSERT_EQ(std::memcmp(portable.data(), vector.data(), length), 0) << round;
    }
}
#endif

}  // namespace
