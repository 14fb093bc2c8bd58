// The JIS conversions copy the runs that stay, and the switches between them, a 64-byte block at
// a time. Here each is checked against the same conversion taken character by character, on
// random JIS made of every kind of piece: long and short runs in each mode, switches of every
// form, lone ESC, SO and SI, 8-bit and zero bytes, characters that fold and that do not, at any
// place in a block and across its ends.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "folding_jis.h"

namespace {

using widthfold::CharSet;
using widthfold::Output;

using Fold = bool (*)(const unsigned char*, std::size_t, Output&);

struct Pair {
    const char* name;
    Fold quick;
    Fold careful;
};

template <CharSet kSet>
constexpr Pair HalfToFull(const char* name) {
    return {name, &widthfold::jis::HalfToFullJisOf<kSet>,
            &widthfold::jis::HalfToFullJisOf<kSet, false>};
}

template <CharSet kSet>
constexpr Pair FullToHalf(const char* name) {
    return {name, &widthfold::jis::FullToHalfJisOf<kSet>,
            &widthfold::jis::FullToHalfJisOf<kSet, false>};
}

const Pair kPairs[] = {
    {"katakana to full", &widthfold::jis::KatakanaToFullJisOf<>,
     &widthfold::jis::KatakanaToFullJisOf<false>},
    HalfToFull<CharSet::kDigits>("digits to full"),
    FullToHalf<CharSet::kDigits>("digits to half"),
    HalfToFull<CharSet::kLetters>("letters to full"),
    FullToHalf<CharSet::kLetters>("letters to half"),
    HalfToFull<CharSet::kSymbols>("symbols to full"),
    FullToHalf<CharSet::kSymbols>("symbols to half"),
};

// The result of `fold`, or "(no room)". The text is in a buffer of its own size, so that the
// sanitizers see a read past it.
std::string Converted(Fold fold, const std::string& text) {
    const std::vector<unsigned char> in(text.begin(), text.end());
    std::vector<unsigned char> buffer(5 * text.size() + 64);
    Output out(buffer.data(), buffer.size());
    if (!fold(in.data(), in.size(), out)) {
        return "(no room)";
    }
    return {reinterpret_cast<const char*>(buffer.data()),
            static_cast<std::size_t>(out.next() - buffer.data())};
}

std::string RandomJis(std::mt19937& random, std::size_t pieces) {
    // Runs that stay in most modes, and pieces that fold or switch.
    static const std::vector<std::string> kPieces = {
        "\x1B$B4A4A4A4A4A4A4A4A4A4A", "\x1B(Bthe quick brown fox", "\x1B(I123456789:;<",
        "\x1B$B", "\x1B$@", "\x1B(B", "\x1B(J", "\x1B(I", "\x0E", "\x0F", "\x1B", "\x1B$", "\x1B(",
        "4A4A4A4A", "#0#1#A#a", "!!!p!D", "%+", "6^", "_", "12", "ab", " ", "$", "(", ".",
        "\r\n", std::string(1, '\0'), "\xB1", "\xFF", "%", "!", "!V"};
    std::string text = "\x1B$B4A\x1B(B";
    for (std::size_t k = 0; k < pieces; ++k) {
        text += kPieces[random() % kPieces.size()];
    }
    return text;
}

TEST(WidthfoldJisRuns, BlocksGiveWhatCharacterByCharacterGives) {
    std::mt19937 random(3101);
    for (int round = 0; round < 300; ++round) {
        const std::string text = RandomJis(random, 5 + random() % (round % 3 == 0 ? 40 : 600));
        for (const Pair& pair : kPairs) {
            ASSERT_EQ(Converted(pair.quick, text), Converted(pair.careful, text))
                << pair.name << ", round " << round;
        }
    }
}

// Switches of one and three bytes at every place near the end of a text long enough for blocks:
// nothing is read past the text.
TEST(WidthfoldJisRuns, SwitchesNearTheEndStayWithinTheText) {
    for (const char* to : {"\x0E", "\x0F", "\x1B(I", "\x1B$B"}) {
        for (std::size_t run = 60; run < 140; ++run) {
            for (std::size_t after = 0; after < 3; ++after) {
                const std::string text =
                    "\x1B$B4A\x1B(B" + std::string(run, 'a') + to + std::string(after, '1');
                for (const Pair& pair : kPairs) {
                    ASSERT_EQ(Converted(pair.quick, text), Converted(pair.careful, text))
                        << pair.name << ", " << run << " bytes";
                }
            }
        }
    }
}

}  // namespace
