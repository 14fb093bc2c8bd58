// Long texts are converted 64 bytes at a time, short ones and the ends of texts character by
// character. Random texts of whole characters must give the same result converted whole and
// converted in short pieces cut between characters.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "support/character_pieces.h"
#include "widthfold_plugin.h"

namespace {

using testing_support::ByteIn;
using testing_support::CharacterRuns;
using testing_support::ConvertedPieceByPiece;
using testing_support::Joined;
using testing_support::Pieces;
using widthfold_test::kFunctionCount;
using widthfold_test::Widthfold;

// Characters in runs of one kind, as in real text. A katakana takes its sound mark with it,
// so that no piece boundary separates them.
std::vector<std::string> RandomCharacters(std::mt19937& random, std::size_t count) {
    auto byteIn = [&](int first, int last) { return ByteIn(random, first, last); };
    auto longestRun = [](int) { return 30; };
    return CharacterRuns(random, count, 8, longestRun, [&](int kind, int) -> std::string {
        switch (kind) {
            case 0:  // full-width digits, letters and symbols among other two-byte codes
                return {byteIn(0x81, 0x82), byteIn(0x40, 0xFC)};
            case 1:
                return {byteIn(0x83, 0x9F), byteIn(0x40, 0xFC)};
            case 2:
                return {byteIn(0xE0, 0xFC), byteIn(0x40, 0xFC)};
            case 3:
            case 4: {
                // No ESC, which could begin an escape sequence of JIS and make the text JIS.
                const char c = byteIn(0x00, 0x7E);
                return {c == '\x1B' ? '\x7F' : c};
            }
            case 5: {
                std::string kana{byteIn(0xA1, 0xDD)};
                const int mark = std::uniform_int_distribution<int>(0, 3)(random);
                if (mark >= 2) {
                    kana += static_cast<char>(mark == 2 ? 0xDE : 0xDF);
                }
                return kana;
            }
            case 6:  // a lead byte without a valid trail byte
                return {byteIn(0x81, 0x9F), byteIn(0x00, 0x3F)};
            default:  // bytes that are no character
                return {static_cast<char>(0x80 + byteIn(0, 1) * 0x20)};
        }
    });
}

// What every function gives `text` whole and its `pieces` one by one, each piece behind
// `prefix` (which the function must give back unchanged, and which is taken off again).
void ExpectPiecesAgree(const std::string& text, const std::vector<std::string>& pieces,
                       const std::string& prefix, int round) {
    for (uint32_t f = 0; f < kFunctionCount; ++f) {
        const std::string joined =
            prefix + ConvertedPieceByPiece(pieces, [&](const std::string& piece) {
                return Widthfold()
                    .Run(f, prefix + piece)
                    .value_or("<failed>")
                    .substr(prefix.size());
            });
        ASSERT_EQ(Widthfold().Run(f, text), joined) << "round " << round << " function " << f;
    }
}

// A kanji before the whole text and before every piece, which no EUC-JP or UTF-8 text begins
// with, keeps each one Shift JIS for the form detection.
TEST(WidthfoldPieces, LongTextsGiveWhatTheirPiecesGive) {
    const std::string kanji = "\x8A\xBF";
    std::mt19937 random(1208);
    for (int round = 0; round < 200; ++round) {
        const auto chars = RandomCharacters(random, 300 + round * 5);
        ASSERT_NO_FATAL_FAILURE(ExpectPiecesAgree(kanji + Joined(chars),
                                                  Pieces(random, chars, 63, 16), kanji, round));
    }
}

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
    auto longestRun = [](int) { return 30; };
    return CharacterRuns(random, count, 7, longestRun, [&](int kind, int) -> std::string {
        switch (kind) {
            case 0:
            case 1:
                return {static_cast<char>(in(0x00, 0x7F))};
            case 2:
                return in(0, 9) == 0 ? utf8(0x3000) : utf8(in(0xFF00, 0xFF60));
            case 3: {
                std::string kana = utf8(in(0xFF61, 0xFF9D));
                const int mark = in(0, 3);
                if (mark >= 2) {
                    kana += utf8(mark == 2 ? 0xFF9E : 0xFF9F);
                }
                return kana;
            }
            case 4:
                return utf8(in(0, 1) == 0 ? in(0x3041, 0x30FF) : in(0x4E00, 0x9FFF));
            case 5:
                return "\xF0\x9F\x98" + std::string(1, static_cast<char>(in(0x80, 0xBF)));
            default:
                return broken[in(0, 5)];
        }
    });
}

// A byte-order mark before the whole text and before every piece keeps each one UTF-8.
TEST(WidthfoldPieces, LongUtf8TextsGiveWhatTheirPiecesGive) {
    const std::string mark = "\xEF\xBB\xBF";
    std::mt19937 random(1209);
    for (int round = 0; round < 200; ++round) {
        const auto chars = RandomUtf8Characters(random, 200 + round * 4);
        ASSERT_NO_FATAL_FAILURE(
            ExpectPiecesAgree(mark + Joined(chars), Pieces(random, chars, 100, 16), mark, round));
    }
}

}  // namespace
