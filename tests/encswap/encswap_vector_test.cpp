// The 16-byte vector forms of the block classification and mapping (Shift JIS and EUC) give
// exactly what the byte-at-a-time forms give, on every kind of byte. (The plug-in runs its 32-byte
// forms where the processor has them, so the 16-byte ones are checked here on their own; the
// 32-byte ones are checked through the plug-in by the other tests.) The 16-byte build's block-wise
// conversion to JIS is checked here too, against one written a character at a time.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "byte_sink.h"
#include "euc_block.h"
#include "jis_writer.h"
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

// Shift JIS to JIS one character at a time: the reference for the block-wise conversion.
std::string JisByCharacter(const std::vector<unsigned char>& in) {
    std::string out;
    enum Mode { kAscii, kKanji, kKana } current = kAscii;
    auto switchTo = [&](Mode next) {
        if (current != next) {
            current = next;
            out += next == kAscii ? "\x1B(B" : next == kKanji ? "\x1B$B" : "\x1B(I";
        }
    };
    for (std::size_t i = 0; i < in.size();) {
        const unsigned char c = in[i];
        if (c < 0x80) {
            switchTo(kAscii);
            out += static_cast<char>(c);
            ++i;
        } else if (c >= 0xA1 && c <= 0xDF) {
            switchTo(kKana);
            out += static_cast<char>(c - 0x80);
            ++i;
        } else {
            switchTo(kKanji);
            if (i + 1 < in.size() && in[i + 1] != 0) {
                const block::BytePair rc = block::RowCellFromSjis(c, in[i + 1]);
                out += static_cast<char>(rc.first);
                out += static_cast<char>(rc.second);
                i += 2;
            } else {
                out += static_cast<char>(c);
                ++i;
            }
        }
    }
    switchTo(kAscii);
    return out;
}

// Blocks take 64 bytes each and carry a pair split between two of them; texts full of two-byte
// characters, with zero bytes and one-byte characters among them, split pairs at every block
// boundary, and a zero byte after a lead byte at the end of a block leaves it unpaired. The exact
// output size also makes the conversion finish character by character short of the end.
TEST(EncswapVectors, ShiftJisToJisInBlocksAgreesWithOneCharacterAtATime) {
    std::mt19937_64 random(10);
    const unsigned char kinds[] = {0x00, 0x0A, 0x41, 0x81, 0x88, 0x9F, 0xA1, 0xDF, 0xE0, 0xFC};
    for (int round = 0; round < 3000; ++round) {
        std::vector<unsigned char> text(random() % 700);
        for (unsigned char& c : text) {
            const auto r = random();
            c = r % 4 == 0 ? kinds[(r >> 8) % std::size(kinds)]
                           : static_cast<unsigned char>(r >> 16);
        }
        const std::string expected = JisByCharacter(text);
        block::CountingSink counter;
        block::SjisToJis(text.data(), text.size(), counter);
        ASSERT_EQ(counter.count(), expected.size()) << "round " << round;
        std::vector<unsigned char> output(expected.size());
        block::BoundedSink writer(output.data(), output.size());
        ASSERT_TRUE(block::SjisToJis(text.data(), text.size(), writer)) << "round " << round;
        ASSERT_EQ(std::string(output.begin(), output.end()), expected) << "round " << round;
    }
}

}  // namespace
