// The 16-byte vector forms of the block classification and mapping (Shift JIS and EUC) give
// exactly what the byte-at-a-time forms give, on every kind of byte. (The plug-in runs its 32-byte
// forms where the processor has them, so the 16-byte ones are checked here on their own; the
// 32-byte ones are checked through the plug-in by the other tests.)
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "euc_block.h"
#include "sjis_block.h"

namespace {

namespace block = encswap::baseline;
using block::SjisBlock;

void RandomBytes(std::mt19937_64& random, unsigned char* bytes, std::size_t n) {
    // Mostly lead, trail and kana values, with zero bytes and ASCII among them.
    const unsigned char kinds[] = {0x00, 0x20, 0x7F, 0x80, 0x81, 0x9E, 0x9F, 0xA0,
                                   0xA1, 0xDF, 0xE0, 0xF9, 0xFA, 0xFC, 0xFD, 0xFF};
    for (std::size_t i = 0; i < n; ++i) {
        const auto r = random();
        bytes[i] = r % 3 == 0 ? kinds[(r >> 8) % 16] : static_cast<unsigned char>(r >> 16);
    }
}

void ExpectSameClasses(const SjisBlock& a, const SjisBlock& b) {
    EXPECT_EQ(a.lead, b.lead);
    EXPECT_EQ(a.kana, b.kana);
    EXPECT_EQ(a.ascii, b.ascii);
    EXPECT_EQ(a.extended, b.extended);
    EXPECT_EQ(a.zero, b.zero);
}

TEST(EncswapVectors, ClassificationAgreesWithTheByteRule) {
    std::mt19937_64 random(7);
    unsigned char bytes[block::kBlockReach];
    for (int round = 0; round < 20000; ++round) {
        RandomBytes(random, bytes, sizeof bytes);
        SjisBlock reference, vector;
        block::ClassifyBytesScalar(bytes, reference);
#if defined(__SSE2__)
        block::ClassifyBytesSse2(bytes, vector);
        ExpectSameClasses(reference, vector);
#endif
        if (HasFailure()) {
            FAIL() << "round " << round;
        }
    }
}

TEST(EncswapVectors, MappingAgreesWithTheArithmetic) {
    std::mt19937_64 random(8);
    unsigned char bytes[block::kBlockReach];
    for (int round = 0; round < 20000; ++round) {
        RandomBytes(random, bytes, sizeof bytes);
        // As in a real block, no byte is more than one of lead, trail and kana start.
        const std::uint64_t pairLeads = random() & random() & 0x5555555555555555ull;
        const std::uint64_t trails = (pairLeads << 1) | (random() & random() & ~pairLeads);
        const std::uint64_t kana = round % 2 == 0 ? 0 : random() & ~(pairLeads | trails);
        const unsigned char topBit = round % 4 < 2 ? 0x80 : 0x00;
        unsigned char reference[64], vector[64];
        block::MapRowCellScalar(bytes, pairLeads, trails, kana, topBit, reference);
#if defined(__SSE2__)
        block::MapRowCellSse2(bytes, pairLeads, trails, kana, topBit, vector);
        ASSERT_EQ(std::memcmp(reference, vector, 64), 0) << "16-byte form, round " << round;
#endif
    }
}

TEST(EncswapVectors, EucClassificationAndMappingAgreeWithTheByteRule) {
    std::mt19937_64 random(9);
    unsigned char bytes[block::kBlockReach];
    for (int round = 0; round < 20000; ++round) {
        RandomBytes(random, bytes, sizeof bytes);
        const block::EucClasses reference = block::ClassifyEucScalar(bytes);
        const block::EucClasses vector = block::ClassifyEucVector(bytes);
        ASSERT_EQ(reference.high, vector.high) << round;
        ASSERT_EQ(reference.zero, vector.zero) << round;
        ASSERT_EQ(reference.kana, vector.kana) << round;
        ASSERT_EQ(reference.extension, vector.extension) << round;
        ASSERT_EQ(reference.odd, vector.odd) << round;
        // Disjoint roles, as in a real block.
        const std::uint64_t leads = random() & random() & 0x5555555555555555ull;
        const std::uint64_t trails = (leads << 1) | (random() & random() & ~leads);
        const std::uint64_t odd = trails & random();
        const std::uint64_t kana = random() & random() & ~(leads | trails);
        unsigned char expected[64], mapped[64];
        block::MapEucScalar(bytes, leads, odd, trails & ~odd, kana, expected);
        block::MapEucVector(bytes, leads, odd, trails & ~odd, kana, mapped);
        ASSERT_EQ(std::memcmp(expected, mapped, 64), 0) << round;
    }
}

}  // namespace
