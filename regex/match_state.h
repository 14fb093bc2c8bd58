// The matcher's working state and its node interpreter, shared by the search loop and tests.
#pragma once

#include <cstdint>
#include <vector>

#include "regex/char_mode.h"
#include "regex/error_text.h"
#include "regex/regex_record.h"
#include "regex/search_guard.h"

namespace regex {

// Thrown when the interpreter's recursion reaches the end of the thread's stack.
class StackExhausted : public RegexError {
  public:
    StackExhausted() : RegexError("regexp recursion too deep") {}
};

// One active general loop (OP_REPEAT_GROUP).
struct LoopFrame {
    int parenFloor = 0;  // lastParen when the loop was entered
    int count = 0;       // completed iterations, -1 before the first
    int min = 0;
    int max = 0;
    bool lazy = false;
    const unsigned char* body = nullptr;  // first body node
    const unsigned char* next = nullptr;  // the OP_EMPTY after the loop's OP_LOOP_STEP
    const char* lastPosition = nullptr;   // input when the last iteration began
    int memoSlot = -1;                    // the loop's slot in the failure memo, or -1
    LoopFrame* outer = nullptr;
};

struct MatchState {
    RegexRecord* rx = nullptr;
    std::vector<intptr_t> saveStack;
    // Group positions as they stood before each look-ahead being tried (see MatchLookAhead).
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
    LoopFrame outermost;  // dummy frame: count 0, no outer frame
    LoopFrame* currentLoop = &outermost;
    uintptr_t stackFloor = 0;  // deeper recursion than this address is refused
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

void SaveGroupState(int parenFloor, MatchState& state);
// Returns the input position saved with the block.
const char* RestoreGroupState(MatchState& state);

// Character tests of \w \s \d: plain ASCII, only for bytes 1..126.
bool IsWordByte(int c);
bool IsSpaceByte(int c);
bool IsDigitByte(int c);

}  // namespace regex
