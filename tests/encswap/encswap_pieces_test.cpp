// Long texts are converted 64 bytes at a time, short ones and the ends of texts character by
// character. Random texts made of whole characters of every kind must give the same result
// both ways: converted whole, and converted in short pieces cut between characters.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/utf8_text.h"
#include "support/plugin_under_test.h"

namespace {

const testing_support::PluginUnderTest& Encswap() {
    return testing_support::SharedPlugin("encswap");
}

// A Shift JIS text as a list of whole characters, in runs of one kind as in real text.
std::vector<std::string> RandomCharacters(std::mt19937& random, std::size_t count) {
    std::vector<std::string> chars;
    auto byteIn = [&](int first, int last) {
        return static_cast<char>(std::uniform_int_distribution<int>(first, last)(random));
    };
    auto trailByte = [&] {
        char trail;
        do {
            trail = byteIn(0x40, 0xFC);
        } while (trail == 0x7F);
        return trail;
    };
    while (chars.size() < count) {
        const int kind = std::uniform_int_distribution<int>(0, 9)(random);
        const int run = std::uniform_int_distribution<int>(1, kind < 8 ? 40 : 6)(random);
        for (int k = 0; k < run; ++k) {
            std::string c;
            switch (kind) {
                case 0:
                case 1:
                case 2:  // kanji and kana of the 0x81-0x9F leads
                    c = {byteIn(0x81, 0x9F), trailByte()};
                    break;
                case 3:  // 0xE0-0xFC leads, the IBM extension codes among them
                    c = {byteIn(0xE0, 0xFC), trailByte()};
                    break;
                case 4:
                case 5:  // one-byte characters, never a JIS mode switch
                    do {
                        c = {byteIn(0x00, 0x7F)};
                    } while (c[0] == 0x1B || c[0] == 0x0E || c[0] == 0x0F);
                    break;
                case 6:
                case 7:
                    c = {byteIn(0xA1, 0xDF)};
                    break;
                case 8:  // a lead byte cut short by a zero byte
                    c = {byteIn(0x81, 0x9F), '\0'};
                    break;
                default:
                    c = {'\r', '\n'};
                    break;
            }
            chars.push_back(c);
        }
    }
    return chars;
}

// An EUC text as a list of whole characters, malformed ones among them.
std::vector<std::string> RandomEucCharacters(std::mt19937& random, std::size_t count) {
    auto byteIn = [&](int first, int last) {
        return static_cast<char>(std::uniform_int_distribution<int>(first, last)(random));
    };
    std::vector<std::string> chars;
    while (chars.size() < count) {
        const int kind = std::uniform_int_distribution<int>(0, 7)(random);
        const int run = std::uniform_int_distribution<int>(1, 40)(random);
        for (int k = 0; k < run; ++k) {
            switch (kind) {
                case 0:
                case 1:  // kanji and kana
                    chars.push_back({byteIn(0xA1, 0xF4), byteIn(0xA1, 0xFE)});
                    break;
                case 2:  // the extension rows and the rest up to 0xFE
                    chars.push_back({byteIn(0xF5, 0xFE), byteIn(0xA1, 0xFE)});
                    break;
                case 3:  // half-width katakana, 8-bit and 7-bit
                    chars.push_back({'\x8e', k % 3 == 0 ? byteIn(0x21, 0x5F) : byteIn(0xA1, 0xDF)});
                    break;
                case 4:  // one-byte characters
                    chars.push_back({byteIn(0x00, 0x7F)});
                    break;
                case 5:  // first bytes with anything after them
                    chars.push_back({byteIn(0x80, 0xFF), byteIn(0x01, 0xFF)});
                    break;
                case 6:  // a first byte cut short by a zero byte
                    chars.push_back({byteIn(0x80, 0xFF), '\0'});
                    break;
                default:
                    chars.push_back({'\r', '\n'});
                    break;
            }
        }
    }
    return chars;
}

// Pieces of fewer than 64 bytes, cut between characters. A piece that happens to be UTF-8,
// which encswap refuses, is cut into its characters, none of which can be.
std::vector<std::string> Pieces(std::mt19937& random, const std::vector<std::string>& chars) {
    std::vector<std::vector<std::string>> groups(1);
    std::size_t size = 0;
    for (const std::string& c : chars) {
        if (size != 0 && (size + c.size() > 63 ||
                          std::uniform_int_distribution<int>(0, 20)(random) == 0)) {
            groups.emplace_back();
            size = 0;
        }
        groups.back().push_back(c);
        size += c.size();
    }
    std::vector<std::string> pieces;
    for (const auto& group : groups) {
        std::string piece;
        for (const std::string& c : group) {
            piece += c;
        }
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

TEST(EncswapPieces, LongTextsGiveWhatTheirPiecesGive) {
    std::mt19937 random(20261208);
    for (int round = 0; round < 300; ++round) {
        const auto chars = RandomCharacters(random, 200 + round * 7);
        std::string text;
        for (const auto& c : chars) {
            text += c;
        }
        std::string euc;
        for (const std::string& piece : Pieces(random, chars)) {
            euc += Converted(4, piece);
        }
        ASSERT_EQ(Converted(4, text), euc) << "round " << round;
        const std::string jis = Converted(3, text);
        ASSERT_EQ(Converted(5, jis), text) << "round " << round;
    }
}

TEST(EncswapPieces, LongEucTextsGiveWhatTheirPiecesGive) {
    std::mt19937 random(1209);
    for (int round = 0; round < 300; ++round) {
        const auto chars = RandomEucCharacters(random, 200 + round * 7);
        std::string text;
        for (const auto& c : chars) {
            text += c;
        }
        std::string joined;
        for (const std::string& piece : Pieces(random, chars)) {
            joined += Converted(7, piece);
        }
        ASSERT_EQ(Converted(7, text), joined) << "round " << round;
    }
}

}  // namespace
