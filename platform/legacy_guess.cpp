#include "platform/legacy_guess.h"

namespace platform {

LegacyGuess GuessLegacyEncoding(const unsigned char* in, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char c = in[i];
        if (c < 0x80) {
            if (c == 0x1B && i + 1 < n && in[i + 1] == 0x24) {
                return LegacyGuess::kJis;
            }
            continue;
        }
        if (c >= 0x81 && c <= 0x9F) {
            return LegacyGuess::kSjis;
        }
        if (c >= 0xA1 && c <= 0xDF) {
            return LegacyGuess::kEuc;
        }
        const unsigned char next = i + 1 < n ? in[i + 1] : 0;
        if (next <= 0xA0) {
            return LegacyGuess::kSjis;
        }
        if (c == 0xFD || c == 0xFE) {
            return LegacyGuess::kEuc;
        }
    }
    return LegacyGuess::kUndecided;
}

const char* LegacyGuessName(LegacyGuess guess) {
    switch (guess) {
        case LegacyGuess::kJis:
            return "JIS";
        case LegacyGuess::kEuc:
            return "EUC-JP";
        case LegacyGuess::kSjis:
            return "Shift JIS";
        case LegacyGuess::kUndecided:
            break;
    }
    return "undecided";
}

}  // namespace platform
