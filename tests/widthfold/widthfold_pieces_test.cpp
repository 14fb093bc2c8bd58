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

// UTF-8 characters in runs of one kind: ASCII, the full-width forms and the ideographic space,
// half-width katakana with or without a sound mark, kana and kanji, emoji, and malformed
// bytes that cannot join what follows them.
std::vector<std::string> RandomUtf8Characters(std::mt19937& random, std::size_t count) {
    auto in = [&](int first, int last) {
        return std::uniform_int_distribution<int>(first, last)(random);
    };
    auto utf8 = [](int c) {
        return std::string{static_cast<char>(0xE0 | (c >> 12)),
                           static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                           static_cast<char>(0x80 | (c & 0x3F))};
    };
    const char* const broken[] = {"\xFF", "\xC0", "\xF5", "\xEF\xBC", "\xEF\xBE", "\xE3\x80"};
    std::vector<std::string> chars;
    while (chars.size() < count) {
        const int kind = in(0, 6);
        const int run = in(1, 30);
        for (int k = 0; k < run; ++k) {
            switch (kind) {
                case 0:
                case 1:
                    chars.push_back({static_cast<char>(in(0x00, 0x7F))});
                    break;
                case 2:
                    chars.push_back(in(0, 9) == 0 ? utf8(0x3000) : utf8(in(0xFF00, 0xFF60)));
                    break;
                case 3: {
                    std::string kana = utf8(in(0xFF61, 0xFF9D));
                    const int mark = in(0, 3);
                    if (mark >= 2) {
                        kana += utf8(mark == 2 ? 0xFF9E : 0xFF9F);
                    }
                    chars.push_back(kana);
                    break;
                }
                case 4:
                    chars.push_back(utf8(in(0, 1) == 0 ? in(0x3041, 0x30FF) : in(0x4E00, 0x9FFF)));
                    break;
                case 5:
                    chars.push_back("\xF0\x9F\x98" +
                                    std::string(1, static_cast<char>(in(0x80, 0xBF))));
                    break;
                default:
                    chars.push_back(broken[in(0, 5)]);
                    break;
            }
        }
    }
    return chars;
}

// A byte-order mark before the whole text and before every piece keeps each one UTF-8.
TEST(WidthfoldPieces, LongUtf8TextsGiveWhatTheirPiecesGive) {
    const std::string mark = "\xEF\xBB\xBF";
    std::mt19937 random(1209);
    for (int round = 0; round < 200; ++round) {
        const auto chars = RandomUtf8Characters(random, 200 + round * 4);
        std::string text = mark;
        std::vector<std::string> pieces(1);
        for (const auto& c : chars) {
            text += c;
            if (!pieces.back().empty() &&
                (pieces.back().size() + c.size() > 100 ||
                 std::uniform_int_distribution<int>(0, 15)(random) == 0)) {
                pieces.emplace_back();
            }
            pieces.back() += c;
        }
        for (uint32_t f = 0; f < 7; ++f) {
            std::string joined = mark;
            for (const auto& piece : pieces) {
                joined += Widthfold().Run(f, mark + piece).value_or("<failed>").substr(mark.size());
            }
            ASSERT_EQ(Widthfold().Run(f, text), joined) << "round " << round << " function " << f;
        }
    }
}
