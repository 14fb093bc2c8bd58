// Random texts made of whole characters, and the same texts cut between characters into short
// pieces: for the tests that check that a conversion gives a long text what it gives the text's
// pieces one by one.
#pragma once

#include <cstddef>
#include <random>
#include <string>
#include <vector>

namespace testing_support {

// A byte from `first` to `last`.
inline char ByteIn(std::mt19937& random, int first, int last) {
    return static_cast<char>(std::uniform_int_distribution<int>(first, last)(random));
}

// At least `count` characters in runs of one kind, as in real text: each run takes a kind from
// 0 to `kinds` - 1 and a length from 1 to longestRun(kind); make(kind, k) gives the k-th
// character of the run.
template <class LongestRun, class Make>
std::vector<std::string> CharacterRuns(std::mt19937& random, std::size_t count, int kinds,
                                       LongestRun longestRun, Make make) {
    std::vector<std::string> chars;
    while (chars.size() < count) {
        const int kind = std::uniform_int_distribution<int>(0, kinds - 1)(random);
        const int run = std::uniform_int_distribution<int>(1, longestRun(kind))(random);
        for (int k = 0; k < run; ++k) {
            chars.push_back(make(kind, k));
        }
    }
    return chars;
}

inline std::string Joined(const std::vector<std::string>& chars) {
    std::string text;
    for (const std::string& c : chars) {
        text += c;
    }
    return text;
}

// `chars` in groups of at most `longest` bytes, in their order. A group also ends at random,
// before one character in `oneIn`.
inline std::vector<std::vector<std::string>> CutBetweenCharacters(
    std::mt19937& random, const std::vector<std::string>& chars, std::size_t longest, int oneIn) {
    std::vector<std::vector<std::string>> groups(1);
    std::size_t size = 0;
    for (const std::string& c : chars) {
        if (size != 0 && (size + c.size() > longest ||
                          std::uniform_int_distribution<int>(0, oneIn - 1)(random) == 0)) {
            groups.emplace_back();
            size = 0;
        }
        groups.back().push_back(c);
        size += c.size();
    }
    return groups;
}

// The groups of CutBetweenCharacters, each joined into one piece.
inline std::vector<std::string> Pieces(std::mt19937& random, const std::vector<std::string>& chars,
                                       std::size_t longest, int oneIn) {
    std::vector<std::string> pieces;
    for (const auto& group : CutBetweenCharacters(random, chars, longest, oneIn)) {
        pieces.push_back(Joined(group));
    }
    return pieces;
}

// What `convert` gives each piece, joined.
template <class Convert>
std::string ConvertedPieceByPiece(const std::vector<std::string>& pieces, Convert convert) {
    std::string joined;
    for (const std::string& piece : pieces) {
        joined += convert(piece);
    }
    return joined;
}

}  // namespace testing_support
