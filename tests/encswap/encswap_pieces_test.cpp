// Long texts are converted 64 bytes at a time, short ones and the ends of texts character by
// character. Random texts made of whole characters of every kind must give the same result
// both ways: converted whole, and converted in short pieces cut between characters.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "encswap_plugin.h"
#include "platform/utf8_text.h"
#include "support/character_pieces.h"

namespace {

using namespace encswap_test;
using testing_support::ByteIn;
using testing_support::CharacterRuns;
using testing_support::Joined;

// A Shift JIS text as a list of whole characters, in runs of one kind as in real text.
std::vector<std::string> RandomCharacters(std::mt19937& random, std::size_t count) {
    auto byteIn = [&](int first, int last) { return ByteIn(random, first, last); };
    auto trailByte = [&] {
        char trail;
        do {
            trail = byteIn(0x40, 0xFC);
        } while (trail == 0x7F);
        return trail;
    };
    auto longestRun = [](int kind) { return kind < 8 ? 40 : 6; };
    return CharacterRuns(random, count, 10, longestRun, [&](int kind, int) -> std::string {
        switch (kind) {
            case 0:
            case 1:
            case 2:  // kanji and kana of the 0x81-0x9F leads
                return {byteIn(0x81, 0x9F), trailByte()};
            case 3:  // 0xE0-0xFC leads, the IBM extension codes among them
                return {byteIn(0xE0, 0xFC), trailByte()};
            case 4:
            case 5: {  // one-byte characters, never a JIS mode switch
                std::string c;
                do {
                    c = {byteIn(0x00, 0x7F)};
                } while (c[0] == 0x1B || c[0] == 0x0E || c[0] == 0x0F);
                return c;
            }
            case 6:
            case 7:
                return {byteIn(0xA1, 0xDF)};
            case 8:  // a lead byte cut short by a zero byte
                return {byteIn(0x81, 0x9F), '\0'};
            default:
                return {'\r', '\n'};
        }
    });
}

// An EUC text as a list of whole characters, malformed ones among them.
std::vector<std::string> RandomEucCharacters(std::mt19937& random, std::size_t count) {
    auto byteIn = [&](int first, int last) { return ByteIn(random, first, last); };
    auto longestRun = [](int) { return 40; };
    return CharacterRuns(random, count, 8, longestRun, [&](int kind, int k) -> std::string {
        switch (kind) {
            case 0:
            case 1:  // kanji and kana
                return {byteIn(0xA1, 0xF4), byteIn(0xA1, 0xFE)};
            case 2:  // the extension rows and the rest up to 0xFE
                return {byteIn(0xF5, 0xFE), byteIn(0xA1, 0xFE)};
            case 3:  // half-width katakana, 8-bit and 7-bit
                return {'\x8e', k % 3 == 0 ? byteIn(0x21, 0x5F) : byteIn(0xA1, 0xDF)};
            case 4:  // one-byte characters
                return {byteIn(0x00, 0x7F)};
            case 5:  // first bytes with anything after them
                return {byteIn(0x80, 0xFF), byteIn(0x01, 0xFF)};
            case 6:  // a first byte cut short by a zero byte
                return {byteIn(0x80, 0xFF), '\0'};
            default:
                return {'\r', '\n'};
        }
    });
}

// Pieces of fewer than 64 bytes, cut between characters. A piece that happens to be UTF-8,
// which encswap refuses, is cut into its characters, none of which can be.
std::vector<std::string> Pieces(std::mt19937& random, const std::vector<std::string>& chars) {
    std::vector<std::string> pieces;
    for (const auto& group : testing_support::CutBetweenCharacters(random, chars, 63, 21)) {
        const std::string piece = Joined(group);
        if (platform::IsUtf8Text(piece)) {
            pieces.insert(pieces.end(), group.begin(), group.end());
        } else {
            pieces.push_back(piece);
        }
    }
    return pieces;
}

std::string Converted(uint32_t function, const std::string& text) {
    uint32_t size = 0;
    const auto out = Encswap().Run(function, text, "", &size);
    EXPECT_TRUE(out.has_value());
    EXPECT_EQ(size, std::max<std::size_t>(out.value_or("").size(), 1));
    return out.value_or("");
}

// What `function` gives the text of `chars` whole and piece by piece.
void ExpectPiecesAgree(std::mt19937& random, uint32_t function,
                       const std::vector<std::string>& chars, int round) {
    const std::string joined = testing_support::ConvertedPieceByPiece(
        Pieces(random, chars),
        [&](const std::string& piece) { return Converted(function, piece); });
    ASSERT_EQ(Converted(function, Joined(chars)), joined) << "round " << round;
}

TEST(EncswapPieces, LongTextsGiveWhatTheirPiecesGive) {
    std::mt19937 random(20261208);
    for (int round = 0; round < 300; ++round) {
        const auto chars = RandomCharacters(random, 200 + round * 7);
        ASSERT_NO_FATAL_FAILURE(ExpectPiecesAgree(random, kSjisToEuc, chars, round));
        const std::string text = Joined(chars);
        ASSERT_EQ(Converted(kJisToSjis, Converted(kSjisToJis, text)), text) << "round " << round;
    }
}

TEST(EncswapPieces, LongEucTextsGiveWhatTheirPiecesGive) {
    std::mt19937 random(1209);
    for (int round = 0; round < 300; ++round) {
        const auto chars = RandomEucCharacters(random, 200 + round * 7);
        ASSERT_NO_FATAL_FAILURE(ExpectPiecesAgree(random, kEucToSjis, chars, round));
    }
}

}  // namespace
