// Long texts are converted 64 bytes at a time, short ones and the ends of texts character by
// character. Random texts of whole characters must give the same result converted whole and
// converted in short pieces cut between characters.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "support/plugin_under_test.h"

namespace {

const testing_support::PluginUnderTest& Widthfold() {
    return testing_support::SharedPlugin("widthfold");
}

// Characters in runs of one kind, as in real text. A katakana takes its sound mark with it,
// so that no piece boundary separates them.
std::vector<std::string> RandomCharacters(std::mt19937& random, std::size_t count) {
    auto byteIn = [&](int first, int last) {
        return static_cast<char>(std::uniform_int_distribution<int>(first, last)(random));
    };
    std::vector<std::string> chars;
    while (chars.size() < count) {
        const int kind = std::uniform_int_distribution<int>(0, 7)(random);
        const int run = std::uniform_int_distribution<int>(1, 30)(random);
        for (int k = 0; k < run; ++k) {
            switch (kind) {
                case 0:  // full-width digits, letters and symbols among other two-byte codes
                    chars.push_back({byteIn(0x81, 0x82), byteIn(0x40, 0xFC)});
                    break;
                case 1:
                    chars.push_back({byteIn(0x83, 0x9F), byteIn(0x40, 0xFC)});
                    break;
                case 2:
                    chars.push_back({byteIn(0xE0, 0xFC), byteIn(0x40, 0xFC)});
                    break;
                case 3:
                case 4:
                    chars.push_back({byteIn(0x00, 0x7F)});
                    break;
                case 5: {
                    std::string kana{byteIn(0xA1, 0xDD)};
                    const int mark = std::uniform_int_distribution<int>(0, 3)(random);
                    if (mark >= 2) {
                        kana += static_cast<char>(mark == 2 ? 0xDE : 0xDF);
                    }
                    chars.push_back(kana);
                    break;
                }
                case 6:  // a lead byte without a valid trail byte
                    chars.push_back({byteIn(0x81, 0x9F), byteIn(0x00, 0x3F)});
                    break;
                default:  // bytes that are no character
                    chars.push_back({static_cast<char>(0x80 + byteIn(0, 1) * 0x20)});
                    break;
            }
        }
    }
    return chars;
}

TEST(WidthfoldPieces, LongTextsGiveWhatTheirPiecesGive) {
    std::mt19937 random(1208);
    for (int round = 0; round < 200; ++round) {
        const auto chars = RandomCharacters(random, 300 + round * 5);
        std::string text;
        std::vector<std::string> pieces(1);
        for (const auto& c : chars) {
            text += c;
            if (!pieces.back().empty() &&
                (pieces.back().size() + c.size() > 63 ||
                 std::uniform_int_distribution<int>(0, 15)(random) == 0)) {
                pieces.emplace_back();
            }
            pieces.back() += c;
        }
        for (uint32_t f = 0; f < 7; ++f) {
            std::string joined;
            for (const auto& piece : pieces) {
                joined += Widthfold().Run(f, piece).value_or("<failed>");
            }
            ASSERT_EQ(Widthfold().Run(f, text), joined) << "round " << round << " function " << f;
        }
    }
}

}  // namespace
