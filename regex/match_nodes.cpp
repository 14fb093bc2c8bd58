// Matcher: the node interpreter.
//
// MatchNodes walks the program from a node at the state's input position. Backtracking goes
// through an explicit stack on the heap (match_machine.h), not through recursion, so a loop
// over a line of many megabytes costs a few bytes of that stack per iteration and nothing of
// the thread's stack; the stack's limit and the step budget (search_guard.h) bound a search.
// This file holds the node loop, the popping of entries, alternatives and group marks;
// repeats and loops are in match_repeats.cpp and look-aheads in match_lookahead.cpp.
//
// The byte at the search end is never read: positions at or past it read as NUL.
#include <algorithm>
#include <cstring>

#include "regex/compile.h"
#include "regex/error_text.h"
#include "regex/literal_string.h"
#include "regex/match_machine.h"
#include "regex/match_state.h"
#include "regex/node_program.h"

namespace regex {

void CorruptedPointers() {
    throw RegexError("corrupted regexp pointers");
}

namespace {

bool IsWordBefore(const MatchState& s, const char* p) {
    return IsWordByte(p == s.searchStart ? s.previousChar : static_cast<unsigned char>(p[-1]));
}

// Clears the end of every group above `floor` and restores lastParen (a failed alternative).
void ForgetGroupsAbove(MatchState& s, int floor) {
    for (int i = floor + 1; i <= *s.lastParen && i <= s.groupLimit; ++i) {
        s.endp[i] = nullptr;
    }
    *s.lastParen = floor;
}

int BackReference(const unsigned char* node, const char*& p, MatchState& s) {
    const int n = NodeArg(node, 0);
    if (n > s.groupLimit) {
        return 0;  // no such group
    }
    const char* from = s.startp[n];
    const char* to = s.endp[n];
    if (from == nullptr || to == nullptr || to < from) {
        return 0;
    }
    const std::ptrdiff_t length = to - from;
    if (length == 0) {
        return 1;
    }
    Spend(s, length / 16);
    if (s.searchEnd - p < length || std::memcmp(from, p, static_cast<std::size_t>(length)) != 0) {
        return 0;
    }
    p += length;
    return 1;
}

}  // namespace

// A single-character node at p: the position after the character, or null when it fails.
const char* StepSingle(const MatchState& s, const unsigned char* node, const char* p) {
    const int b = ByteAt(s, p);
    switch (node[0]) {
        case OP_ANY_BUT_NEWLINE:
            if (AtEndOfText(s, p) || b == '\n') {
                return nullptr;
            }
            return NextChar(s, p);
        case OP_ANY_CHAR:
            if (AtEndOfText(s, p)) {
                return nullptr;
            }
            return NextChar(s, p);
        case OP_CLASS: {
            uint32_t c = static_cast<uint32_t>(b);
            const char* q = p;
            if (s.mode == CharMode::kShiftJis && IsLeadByte(static_cast<unsigned char>(c)) &&
                ByteAt(s, p + 1) != 0) {
                ++q;
                c = c * 256 + static_cast<uint32_t>(ByteAt(s, q));
            } else if (s.mode == CharMode::kUtf8 && b >= 0x80) {
                const std::size_t width = Utf8Width(p, s.searchEnd);
                c = Utf8Value(p, width);
                q += width - 1;
            }
            if (!ClassContains(c, node + 3)) {
                return nullptr;
            }
            if (c == 0 && AtEndOfText(s, p)) {
                return nullptr;
            }
            return q + 1;
        }
        case OP_WORD:
            return IsWordByte(b) ? p + 1 : nullptr;
        case OP_SPACE:
            return IsSpaceByte(b) ? p + 1 : nullptr;
        case OP_DIGIT:
            return IsDigitByte(b) ? p + 1 : nullptr;
        case OP_NON_WORD:
            if (AtEndOfText(s, p) || IsWordByte(b)) {
                return nullptr;
            }
            return NextChar(s, p);
        case OP_NON_DIGIT:
            if (AtEndOfText(s, p) || IsDigitByte(b)) {
                return nullptr;
            }
            return NextChar(s, p);
        case OP_NON_SPACE:
            if (b == 0 || IsSpaceByte(b)) {
                return nullptr;
            }
            return NextChar(s, p);
        default:
            return nullptr;
    }
}

// ---- Alternatives and groups -------------------------------------------------------------

namespace {

// Tries the alternative at `node`; the ones after it stay on the stack.
Flow TryAlternative(const unsigned char* node, const char* p, MatchState& s, Cursor& c) {
    s.stack.Reserve(4);
    s.stack.Push(static_cast<uint64_t>(*s.lastParen));
    s.stack.Push(NodeOffset(s, node));
    EndEntry(s, p, kAlternative, 0);
    s.input = p;
    return Jump(s, c, node + 4, p);
}

constexpr unsigned kMarkOpen = 1, kMarkHighest = 2, kMarkLastParen = 4, kMarkFlagBits = 3;

}  // namespace

Flow StartAlternatives(const unsigned char* node, const char* p, MatchState& s, Cursor& c) {
    return TryAlternative(node, p, s, c);
}

bool ResumeAlternative(uint64_t, const char* p, MatchState& s, Cursor& c) {
    const unsigned char* node = NodeAt(s, s.stack.Pop());
    ForgetGroupsAbove(s, static_cast<int>(s.stack.Pop()));
    node = NextNode(node);
    if (node == nullptr || node[0] != OP_ALTERNATIVE) {
        return false;
    }
    TryAlternative(node, p, s, c);
    return true;
}

// Opens or closes a group; the entry puts the old position back if the rest fails.
Flow MarkGroup(const unsigned char* node, const char* p, MatchState& s, Cursor& c) {
    const int n = NodeArg(node, 0);
    const unsigned char* next = GoOn(node);
    if (n > s.groupLimit) {
        s.input = p;
        return Jump(s, c, next, p);
    }
    const bool open = node[0] == OP_GROUP_OPEN;
    const char** slot = open ? &s.startp[n] : &s.endp[n];
    unsigned flags = open ? kMarkOpen : 0;
    s.stack.Reserve(5);
    if (open && n > s.highestOpen) {
        s.stack.Push(static_cast<uint64_t>(s.highestOpen));
        flags |= kMarkHighest;
        s.highestOpen = n;
    }
    if (!open && n > *s.lastParen) {
        s.stack.Push(static_cast<uint64_t>(*s.lastParen));
        flags |= kMarkLastParen;
        *s.lastParen = n;
    }
    s.stack.Push(EncodeRelative(*slot, p));
    *slot = p;
    EndEntry(s, p, kGroupMark, flags | static_cast<uint64_t>(n) << kMarkFlagBits);
    s.input = p;
    return Jump(s, c, next, p);
}

void UndoGroupMark(uint64_t extra, const char* p, MatchState& s) {
    const auto n = static_cast<int>(extra >> kMarkFlagBits);
    const char** slot = (extra & kMarkOpen) != 0 ? &s.startp[n] : &s.endp[n];
    *slot = DecodeRelative(s.stack.Pop(), p);
    if ((extra & kMarkLastParen) != 0) {
        *s.lastParen = static_cast<int32_t>(s.stack.Pop());
    }
    if ((extra & kMarkHighest) != 0) {
        s.highestOpen = static_cast<int>(s.stack.Pop());
    }
}

// ---- The node loop ------------------------------------------------------------------------

namespace {

// Runs nodes from the cursor until the program accepts, a node fails, or a node jumps.
Flow Run(MatchState& s, Cursor& c) {
    const unsigned char* node = c.node;
    const char* p = c.p;
    bool lazy = false;
    for (;;) {
        const int b = ByteAt(s, p);
        const int kind = node[0];
        switch (kind) {
            case OP_ACCEPT:
            case OP_SUBMATCH_END:
                c.p = p;
                return Flow::kAccepted;
            case OP_LINE_START:
            case OP_LINE_START_M:
                if (p == s.searchStart) {
                    if (s.previousChar != '\n') {
                        return Flow::kFailed;
                    }
                } else if (AtEndOfText(s, p) || p[-1] != '\n') {
                    return Flow::kFailed;
                }
                break;
            case OP_TEXT_START:
                if (p != s.searchStart || s.previousChar != '\n') {
                    return Flow::kFailed;
                }
                break;
            case OP_SEARCH_START:
                if (p != s.searchStart) {
                    return Flow::kFailed;
                }
                break;
            case OP_LINE_END:
            case OP_LINE_END_M:
            case OP_TEXT_END:
                if (kind == OP_LINE_END_M || (kind == OP_LINE_END && s.multiline)) {
                    if (b == 0 ? !AtEndOfText(s, p) : b != '\n') {
                        return Flow::kFailed;
                    }
                } else if (!AtEndOfText(s, p) && !(b == '\n' && s.searchEnd - p <= 1)) {
                    return Flow::kFailed;
                }
                break;
            case OP_ANY_BUT_NEWLINE:
            case OP_ANY_CHAR:
            case OP_CLASS:
            case OP_WORD:
            case OP_SPACE:
            case OP_DIGIT:
            case OP_NON_WORD:
            case OP_NON_DIGIT:
            case OP_NON_SPACE:
                p = StepSingle(s, node, p);
                if (p == nullptr) {
                    return Flow::kFailed;
                }
                break;
            case OP_LITERAL: {
                const int length = LiteralLength(node);
                if (length > 0 &&
                    (LiteralBytes(node)[0] != b || s.searchEnd - p < length ||
                     std::memcmp(LiteralBytes(node), p, static_cast<std::size_t>(length)) != 0)) {
                    return Flow::kFailed;
                }
                p += length;
                break;
            }
            case OP_BOUNDARY:
            case OP_NON_BOUNDARY:
                if ((IsWordBefore(s, p) != IsWordByte(b)) != (kind == OP_BOUNDARY)) {
                    return Flow::kFailed;
                }
                break;
            case OP_BACKREF:
                if (!BackReference(node, p, s)) {
                    return Flow::kFailed;
                }
                break;
            case OP_GROUP_OPEN:
            case OP_GROUP_CLOSE:
                return MarkGroup(node, p, s, c);
            case OP_ALTERNATIVE: {
                const unsigned char* next = NextNode(node);
                if (next == nullptr || next[0] != OP_ALTERNATIVE) {
                    node += 4;
                    continue;
                }
                return StartAlternatives(node, p, s, c);
            }
            case OP_EMPTY:
            case OP_UNUSED_13:
                break;
            case OP_LAZY:
                lazy = true;
                break;
            case OP_LOOKAHEAD:
            case OP_NEG_LOOKAHEAD:
                return StartLookAhead(node, p, s, c);
            case OP_STAR_SIMPLE:
            case OP_PLUS_SIMPLE:
            case OP_REPEAT_SIMPLE:
                return StartSimpleRepeat(node, p, lazy, s, c);
            case OP_REPEAT_GROUP:
                return EnterLoop(node, p, lazy, s, c);
            case OP_LOOP_STEP:
                return LoopStep(p, s, c);
            default:
                throw RegexError("regexp memory corruption");
        }
        node = GoOn(node);
    }
}

// Pops entries down to `base` until one offers a way on; false when none does.
bool Backtrack(MatchState& s, Cursor& c, std::size_t base) {
    while (s.stack.Size() > base) {
        const uint64_t tag = s.stack.Pop();
        const auto kind = static_cast<EntryKind>(tag & ((1u << kTagBits) - 1));
        const uint64_t extra = tag >> kTagBits;
        const char* p = PopPosition(s);
        bool resumed = false;
        switch (kind) {
            case kAlternative:
                resumed = ResumeAlternative(extra, p, s, c);
                break;
            case kGroupMark:
                UndoGroupMark(extra, p, s);
                break;
            case kLookAhead:
                resumed = LookAheadFailed(p, s, c);
                break;
            case kCapturesBack:
                TakeBackCaptures(s);
                break;
            case kSimpleGreedy:
            case kSimpleLazy:
            case kCharGreedy:
            case kCharLazy:
            case kDotRun:
                resumed = ResumeRepeat(kind, extra, p, s, c);
                break;
            case kLoopEntered:
            case kIterated:
            case kContinued:
            case kLazyMore:
                resumed = ResumeLoop(kind, extra, p, s, c);
                break;
            default:
                throw RegexError("fatal error");
        }
        if (resumed) {
            return true;
        }
    }
    return false;
}

}  // namespace

int MatchNodes(const unsigned char* node, MatchState& s) {
    const std::size_t base = s.stack.Size();
    const std::size_t outerLookAhead = s.lookahead;
    Spend(s, 1);
    Cursor c{node, s.input};
    for (;;) {
        Flow flow = Run(s, c);
        if (flow == Flow::kAccepted) {
            if (s.lookahead == outerLookAhead) {
                s.input = c.p;
                return 1;
            }
            flow = LookAheadMatched(s, c);
        }
        if (flow == Flow::kJumped) {
            continue;
        }
        if (!Backtrack(s, c, base)) {
            return 0;
        }
    }
}

void CheckMatchMemory(const MatchState& s) {
    const std::size_t held = s.stack.Capacity() + s.frames.capacity() * sizeof(LoopFrame) +
                             s.widths.capacity() + s.captureStack.capacity() * sizeof(char*);
    if (held > s.stack.Limit()) {
        ThrowOutOfMatchMemory();
    }
}

bool IsWordByte(int c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsSpaceByte(int c) {
    return c == ' ' || (c >= 9 && c <= 13);
}
bool IsDigitByte(int c) {
    return c >= '0' && c <= '9';
}

int RepeatSimple(const unsigned char* node, int max, MatchState& s) {
    const char* start = s.input;
    const char* end = s.searchEnd;
    const char* limit = end;
    if (max != kUnbounded && max < end - start) {
        limit = start + max;
    }
    const char* q = start;
    switch (node[0]) {
        case OP_LITERAL: {
            const char c = static_cast<char>(LiteralBytes(node)[0]);
            while (q < limit && *q == c) {
                ++q;
            }
            break;
        }
        case OP_WORD:
            while (q < limit && IsWordByte(static_cast<unsigned char>(*q))) {
                ++q;
            }
            break;
        case OP_SPACE:
            while (q < limit && IsSpaceByte(static_cast<unsigned char>(*q))) {
                ++q;
            }
            break;
        case OP_DIGIT:
            while (q < limit && IsDigitByte(static_cast<unsigned char>(*q))) {
                ++q;
            }
            break;
        case OP_NON_WORD:
        case OP_NON_SPACE:
        case OP_NON_DIGIT: {
            bool (*test)(int) = node[0] == OP_NON_WORD    ? IsWordByte
                                : node[0] == OP_NON_SPACE ? IsSpaceByte
                                                          : IsDigitByte;
            while (q < limit && !test(static_cast<unsigned char>(*q))) {
                // A lead byte takes its partner, but never one past the text.
                q += CharWidth(s.mode, q, end);
            }
            break;
        }
        default:
            break;
    }
    s.input = q;
    return static_cast<int>(std::min<std::ptrdiff_t>(q - start, 0x7FFFFFFF));
}

}  // namespace regex
