// The interpreter's moving parts, shared by its files: the cursor, the kinds of backtracking
// entries, and the character steps.
//
// The interpreter runs nodes from a cursor (node, position). A node that offers a choice
// pushes an entry describing the ways not yet taken and goes on with the first; a node that
// changes state a failure must take back pushes an entry describing the change. Failing pops
// entries (Backtrack): undo entries undo and the popping goes on; choice entries set the
// cursor to their next way, or, when none is left, the popping goes on. Whatever a failed
// path changed is thus taken back before the next way is tried, and nothing of it stays on
// the thread's stack.
//
// Every entry is: its own numbers, its position, and last a tag (the entry's kind in the low
// four bits, small flags and numbers above), so that popping reads the tag first.
#pragma once

#include <cstddef>
#include <cstdint>

#include "regex/literal_string.h"
#include "regex/match_state.h"
#include "regex/node_program.h"

namespace regex {

struct Cursor {
    const unsigned char* node;
    const char* p;
};

// How running nodes from a cursor ended.
enum class Flow { kAccepted, kJumped, kFailed };

enum EntryKind : unsigned {
    kAlternative,   // the alternatives after this one are still to try
    kGroupMark,     // a group's start or end to put back
    kLookAhead,     // a look-ahead's body is being matched above this entry
    kCapturesBack,  // captures of a positive look-ahead to take back
    kSimpleGreedy,  // shorter counts of a simple repeat
    kSimpleLazy,    // longer counts of a minimal simple repeat
    kCharGreedy,    // shorter runs of a single-character loop
    kCharLazy,      // longer runs of a minimal single-character loop
    kDotRun,        // shorter runs of ".*"
    kLoopEntered,   // a general loop's frame to drop
    kIterated,      // a loop iteration to take back (then perhaps leave the loop)
    kContinued,     // the loop left for its continuation is current again
    kLazyMore,      // a minimal loop may still iterate
};

inline constexpr unsigned kTagBits = 4;

inline void PushPosition(MatchState& s, const char* p) {
    const int64_t at = p - s.searchStart;
    s.stack.Push(BacktrackStack::ZigZag(at - s.lastPushed));
    s.lastPushed = at;
}

inline const char* PopPosition(MatchState& s) {
    const int64_t at = s.lastPushed;
    s.lastPushed = at - BacktrackStack::UnZigZag(s.stack.Pop());
    return s.searchStart + at;
}

// Ends an entry: its position and tag. The caller reserved room and pushed the numbers.
inline void EndEntry(MatchState& s, const char* p, EntryKind kind, uint64_t extra) {
    PushPosition(s, p);
    s.stack.Push(kind | (extra << kTagBits));
}

inline uint64_t NodeOffset(const MatchState& s, const unsigned char* node) {
    return static_cast<uint64_t>(node - s.rx->program);
}

inline const unsigned char* NodeAt(const MatchState& s, uint64_t offset) {
    return s.rx->program + offset;
}

// A position that may be none, as stored in an entry at p: 0 for none, else its distance from
// p, zigzagged, plus 1.
inline uint64_t EncodeRelative(const char* at, const char* p) {
    return at == nullptr ? 0 : BacktrackStack::ZigZag(p - at) + 1;
}
inline const char* DecodeRelative(uint64_t code, const char* p) {
    return code == 0 ? nullptr : p - BacktrackStack::UnZigZag(code - 1);
}

// A call of the interpreter on a node, as far as the step budget goes.
inline Flow Jump(MatchState& s, Cursor& c, const unsigned char* node, const char* p) {
    Spend(s, 1);
    c.node = node;
    c.p = p;
    return Flow::kJumped;
}

// ---- Characters ----------------------------------------------------------------------------

inline int ByteAt(const MatchState& s, const char* p) {
    return p < s.searchEnd ? static_cast<unsigned char>(*p) : 0;
}

inline bool AtEndOfText(const MatchState& s, const char* p) {
    return p >= s.searchEnd;
}

// One character from p: in Shift JIS two bytes for a lead byte followed by a byte other than
// NUL, in UTF-8 a whole well-formed sequence.
inline const char* NextChar(const MatchState& s, const char* p) {
    switch (s.mode) {
        case CharMode::kShiftJis:
            if (IsLeadByte(static_cast<unsigned char>(ByteAt(s, p))) && ByteAt(s, p + 1) != 0) {
                return p + 2;
            }
            return p + 1;
        case CharMode::kUtf8:
            return p + Utf8Width(p, s.searchEnd);
        default:
            return p + 1;
    }
}

// Whether a run of characters stepped from `from` can end at `at`: never inside a character.
inline bool IsCharBoundary(const MatchState& s, const char* from, const char* at) {
    switch (s.mode) {
        case CharMode::kShiftJis:
            return at >= s.searchEnd || ByteType(from, at) != 2;
        case CharMode::kUtf8:
            return !InsideUtf8Character(from, at, s.searchEnd);
        default:
            return true;
    }
}

[[noreturn]] void CorruptedPointers();

inline const unsigned char* GoOn(const unsigned char* node) {
    const unsigned char* next = NextNode(node);
    if (next == nullptr) {
        CorruptedPointers();
    }
    return next;
}

// A single-character node at p: the position after the character, or null when it fails.
const char* StepSingle(const MatchState& s, const unsigned char* node, const char* p);

// ---- Nodes that push entries, and their entries when popped ---------------------------------
// The starts return where to go on; the resumes return true when they set the cursor to a
// way not yet tried, false when the popping goes on.

Flow StartAlternatives(const unsigned char* node, const char* p, MatchState& s, Cursor& c);
bool ResumeAlternative(uint64_t extra, const char* p, MatchState& s, Cursor& c);
Flow MarkGroup(const unsigned char* node, const char* p, MatchState& s, Cursor& c);
void UndoGroupMark(uint64_t extra, const char* p, MatchState& s);

Flow StartLookAhead(const unsigned char* node, const char* p, MatchState& s, Cursor& c);
// The innermost look-ahead's body reached its end.
Flow LookAheadMatched(MatchState& s, Cursor& c);
bool LookAheadFailed(const char* p, MatchState& s, Cursor& c);
void TakeBackCaptures(MatchState& s);

Flow StartSimpleRepeat(const unsigned char* node, const char* p, bool lazy, MatchState& s,
                       Cursor& c);
bool ResumeRepeat(EntryKind kind, uint64_t extra, const char* p, MatchState& s, Cursor& c);

// A general loop whose body is one single-character node, run like a simple repeat.
Flow StartSingleCharLoop(const unsigned char* node, const char* p, bool lazy, MatchState& s,
                         Cursor& c);
Flow EnterLoop(const unsigned char* node, const char* p, bool lazy, MatchState& s, Cursor& c);
Flow LoopStep(const char* p, MatchState& s, Cursor& c);
bool ResumeLoop(EntryKind kind, uint64_t extra, const char* p, MatchState& s, Cursor& c);

}  // namespace regex
