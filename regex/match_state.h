// The matcher's working state and its node interpreter, shared by the search loop and tests.
#pragma once

#include <cstdint>
#include <vector>

#include "regex/backtrack_stack.h"
#include "regex/char_mode.h"
#include "regex/error_text.h"
#include "regex/regex_record.h"
#include "regex/search_guard.h"

namespace regex {

// One active general loop (OP_REPEAT_GROUP). Frames live in the state's frame list, in the
// order their loops were entered; frame i is frames[i - 1], and 0 stands for no loop.
struct LoopFrame {
    int parenFloor = 0;  // lastParen when the loop was entered
    int count = 0;       // completed iterations, -1 before the first
    int min = 0;
    int max = 0;
    bool lazy = false;
    int memoSlot = -1;                    // the loop's slot in the failure memo, or -1
    uint32_t outer = 0;                   // the enclosing frame, or 0
    const unsigned char* body = nullptr;  // first body node
    const unsigned char* next = nullptr;  // the OP_EMPTY after the loop's OP_LOOP_STEP
    const char* lastPosition = nullptr;   // input when the last iteration began
};

struct MatchState {
    RegexRecord* rx = nullptr;
    BacktrackStack stack;
    int64_t lastPushed = 0;      // offset from searchStart of the stack's top position
    std::size_t lookahead = 0;   // stack size just above the innermost look-ahead's entry, or 0
    std::vector<LoopFrame> frames;
    uint32_t currentLoop = 0;  // the innermost active loop, or 0

    LoopFrame& Frame(uint32_t i) { return frames[i - 1]; }
    // Character widths of the greedy single-character loops being backed off (see
    // match_repeats.cpp).
    std::vector<uint8_t> widths;
    // Group positions as they stood before each look-ahead being tried (see match_lookahead.cpp).
    std::vector<const char*> captureStack;
    int groupLimit = 0;   // the record's groupCount
    int highestOpen = 0;  // highest group opened in the current attempt
    const char* input = nullptr;
    const char* searchStart = nullptr;
    const char* searchEnd = nullptr;  // never read; the text is taken as NUL there
    const char** startp = nullptr;
    const char** endp = nullptr;
    int32_t* lastParen = nullptr;
    const char* matchEndFloor = nullptr;
    int previousChar = 0;
    bool multiline = false;
    CharMode mode = CharMode::kBytes;  // what one character is (the option k)
    int64_t stepsLeft = 0;     // the search fails as too complex below 0
    bool memoAllowed = false;  // the pattern has no back-reference
    FailureMemo memo;
};

// Charges `steps` to the search's budget.
inline void Spend(MatchState& state, int64_t steps) {
    state.stepsLeft -= steps;
    if (__builtin_expect(state.stepsLeft < 0, 0)) {
        ThrowTooComplex();
    }
}

// Prepares `state` for searching [start, end) with `rx`.
void InitMatchState(MatchState& state, RegexRecord* rx, const char* start, const char* end);

// 1 when the program matches starting exactly at `position`.
int TryMatchAt(RegexRecord* rx, const char* position, MatchState& state);

// 1 when the program from `node` matches at state.input; state.input then holds the end.
int MatchNodes(const unsigned char* node, MatchState& state);

// Bytes a simple node matches repeatedly from state.input (at most `max`, 32767 = no limit);
// state.input moves past them.
int RepeatSimple(const unsigned char* node, int max, MatchState& state);

// Memory the search holds beside the backtracking stack; fails the search past the limit.
void CheckMatchMemory(const MatchState& state);

// Character tests of \w \s \d: plain ASCII, only for bytes 1..126.
bool IsWordByte(int c);
bool IsSpaceByte(int c);
bool IsDigitByte(int c);

}  // namespace regex
