// Matcher: the node interpreter.
//
// MatchNodes walks the program from a node at the state's input position, backtracking by
// recursion: each alternative tried, each repeat count tried and each loop iteration calls
// MatchNodes for the rest of the program and returns its answer. Simple repeats count their
// run in a tight loop (RepeatSimple) and back off from the longest count; general loops keep
// a LoopFrame per active loop and save group positions on an explicit stack. A general loop
// whose body is one single-character node (".*", "[^,]*") is run like a simple repeat, so its
// recursion does not grow with the text it covers. Any other recursion is bounded by the
// thread's stack: past a safety margin the search ends with an error, never a crash. Work is
// bounded too: every call of MatchNodes and every candidate tried is charged to the step budget,
// and loops consult the failure memo (search_guard.h).
//
// The byte at the search end is never read: positions at or past it read as NUL.
#include <algorithm>
#include <cstring>

#include "platform/memrchr.h"
#include "regex/compile.h"
#include "regex/error_text.h"
#include "regex/literal_string.h"
#include "regex/match_state.h"
#include "regex/node_program.h"

namespace regex {
namespace {

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

[[noreturn]] void CorruptedPointers() {
    throw RegexError("corrupted regexp pointers");
}

inline const unsigned char* GoOn(const unsigned char* node) {
    const unsigned char* next = NextNode(node);
    if (next == nullptr) {
        CorruptedPointers();
    }
    return next;
}

void CheckStack(const MatchState& s) {
    const auto here = reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
    if (here < s.stackFloor) {
        throw StackExhausted();
    }
}

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

int MatchAlternatives(const unsigned char* node, const char* p, MatchState& s) {
    while (node != nullptr && node[0] == OP_ALTERNATIVE) {
        const int remembered = *s.lastParen;
        s.input = p;
        if (MatchNodes(node + 4, s)) {
            return 1;
        }
        ForgetGroupsAbove(s, remembered);
        node = NextNode(node);
    }
    return 0;
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

// Opens or closes a group and matches the rest; when the rest fails the group's position
// is put back, so a failed path leaves no trace in the captures.
int MatchGroupMark(const unsigned char* node, const char* p, MatchState& s) {
    const int n = NodeArg(node, 0);
    const unsigned char* next = GoOn(node);
    if (n > s.groupLimit) {
        s.input = p;
        return MatchNodes(next, s);
    }
    const bool open = node[0] == OP_GROUP_OPEN;
    const char** slot = open ? &s.startp[n] : &s.endp[n];
    const char* old = *slot;
    const int oldHighest = s.highestOpen;
    const int oldLastParen = *s.lastParen;
    *slot = p;
    if (open) {
        s.highestOpen = std::max(s.highestOpen, n);
    } else {
        *s.lastParen = std::max(*s.lastParen, n);
    }
    s.input = p;
    if (MatchNodes(next, s)) {
        return 1;
    }
    *slot = old;
    s.highestOpen = oldHighest;
    if (!open) {
        *s.lastParen = oldLastParen;
    }
    return 0;
}

// ---- Look-aheads --------------------------------------------------------------------------

enum class LookAheadResult { kFailed, kGoOn, kMatched };

// The group positions now, pushed on the capture stack: lastParen, highest open, then the
// start and end of every group.
void PushCaptures(MatchState& s) {
    s.captureStack.push_back(reinterpret_cast<const char*>(static_cast<intptr_t>(*s.lastParen)));
    s.captureStack.push_back(reinterpret_cast<const char*>(static_cast<intptr_t>(s.highestOpen)));
    s.captureStack.insert(s.captureStack.end(), s.startp + 1, s.startp + s.groupLimit + 1);
    s.captureStack.insert(s.captureStack.end(), s.endp + 1, s.endp + s.groupLimit + 1);
}

// Whether the positions pushed at `at` differ from the current ones.
bool CapturesChanged(const MatchState& s, std::size_t at) {
    const char* const* saved = s.captureStack.data() + at + 2;
    const auto n = static_cast<std::size_t>(s.groupLimit);
    return std::memcmp(saved, s.startp + 1, n * sizeof(const char*)) != 0 ||
           std::memcmp(saved + n, s.endp + 1, n * sizeof(const char*)) != 0;
}

void RestoreCaptures(MatchState& s, std::size_t at) {
    const char* const* saved = s.captureStack.data() + at;
    *s.lastParen = static_cast<int32_t>(reinterpret_cast<intptr_t>(saved[0]));
    s.highestOpen = static_cast<int>(reinterpret_cast<intptr_t>(saved[1]));
    const auto n = static_cast<std::size_t>(s.groupLimit);
    std::copy(saved + 2, saved + 2 + n, s.startp + 1);
    std::copy(saved + 2 + n, saved + 2 + 2 * n, s.endp + 1);
}

// A look-ahead's body is a match of its own, tried at p. Whatever the body leaves on the save
// stack when it succeeds is dropped with it, so the loops around the look-ahead find their own
// blocks again. Its captures count only when the look-ahead holds because the body matched (a
// positive look-ahead): when a negative one fails they are taken back at once, and when the
// rest after a positive one fails they are taken back before the failure is reported, so no
// failed path leaves a group set. kGoOn: go on at p with the next node; otherwise the rest has
// been decided here.
LookAheadResult MatchLookAhead(const unsigned char* node, const char* p, MatchState& s) {
    const bool positive = node[0] == OP_LOOKAHEAD;
    const std::size_t saveDepth = s.saveStack.size();
    const std::size_t captureDepth = s.captureStack.size();
    const bool groups = s.groupLimit > 0;
    if (groups) {
        Spend(s, s.groupLimit / 8);
        PushCaptures(s);
    }
    s.input = p;
    const bool matched = MatchNodes(node + 4, s) != 0;
    s.saveStack.resize(saveDepth);
    LookAheadResult result =
        matched == positive ? LookAheadResult::kGoOn : LookAheadResult::kFailed;
    if (groups) {
        if (matched && !positive) {
            RestoreCaptures(s, captureDepth);
        } else if (result == LookAheadResult::kGoOn && positive &&
                   CapturesChanged(s, captureDepth)) {
            s.input = p;
            if (MatchNodes(GoOn(node), s)) {
                result = LookAheadResult::kMatched;
            } else {
                RestoreCaptures(s, captureDepth);
                result = LookAheadResult::kFailed;
            }
        }
        s.captureStack.resize(captureDepth);
    }
    return result;
}

// ---- Simple repeats -----------------------------------------------------------------------

struct SimpleRepeat {
    int min;
    int max;
    const unsigned char* body;
};

SimpleRepeat SimpleRepeatOf(const unsigned char* node) {
    switch (node[0]) {
        case OP_STAR_SIMPLE:
            return {0, kUnbounded, node + 4};
        case OP_PLUS_SIMPLE:
            return {1, kUnbounded, node + 4};
        default:
            return {NodeArg(node, 0), NodeArg(node, 1), node + 8};
    }
}

int MatchSimpleRepeat(const unsigned char* node, const char* p, bool lazy, MatchState& s) {
    SimpleRepeat r = SimpleRepeatOf(node);
    const unsigned char* next = GoOn(node);
    const int c1 = next[0] == OP_LITERAL && LiteralLength(next) > 0 ? LiteralBytes(next)[0] : -1;
    auto acceptable = [&](const char* at) {
        return IsCharBoundary(s, p, at) && (c1 < 0 || ByteAt(s, at) == c1);
    };
    if (lazy) {
        s.input = p;
        if (r.min > 0 && RepeatSimple(r.body, r.min, s) < r.min) {
            return 0;
        }
        long n = r.min;
        const char* at = p + r.min;
        while (n <= r.max || r.max == kUnbounded) {
            Spend(s, 1);
            if (acceptable(s.input)) {
                const char* here = s.input;
                if (MatchNodes(next, s)) {
                    return 1;
                }
                s.input = here;
            }
            s.input = at;
            if (at >= s.searchEnd || RepeatSimple(r.body, 1, s) == 0) {
                return 0;
            }
            ++n;
            ++at;
            s.input = at;
        }
        return 0;
    }
    s.input = p;
    long n = RepeatSimple(r.body, r.max, s);
    Spend(s, n / 4);
    long min = r.min;
    if (n > min && NodeFamily(next[0]) == OP_LINE_END && (!s.multiline || next[0] == OP_TEXT_END)) {
        min = n;
    }
    if (n < min) {
        return 0;
    }
    for (; n >= min; --n) {
        const char* at = p + n;
        if (acceptable(at)) {
            s.input = at;
            if (MatchNodes(next, s)) {
                return 1;
            }
        }
    }
    return 0;
}

// ---- General loops ------------------------------------------------------------------------

bool Below(int n, int max) {
    return max == kUnbounded || n < max;
}

// The first byte the continuation needs at a candidate end, or -1 when any byte may do.
int FirstLiteralByte(const unsigned char* next) {
    while (next != nullptr && next[0] == OP_EMPTY) {
        next = NextNode(next);
    }
    if (next != nullptr && next[0] == OP_LITERAL && LiteralLength(next) > 0) {
        return LiteralBytes(next)[0];
    }
    return -1;
}

// Where a greedy unbounded "." run from p ends, found with a byte search; null when the text
// holds something that needs the character-by-character walk (in kanji mode a NUL, or a lead
// byte that would take the newline as its partner).
const char* DotRunEnd(const MatchState& s, const unsigned char* body, const char* p) {
    const char* end = s.searchEnd;
    const char* runEnd = end;
    if (body[0] == OP_ANY_BUT_NEWLINE) {
        const void* nl = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
        runEnd = nl != nullptr ? static_cast<const char*>(nl) : end;
    }
    if (s.mode == CharMode::kShiftJis) {
        if (std::memchr(p, 0, static_cast<std::size_t>(runEnd - p)) != nullptr) {
            return nullptr;
        }
        if (runEnd < end && runEnd > p && IsLeadByte(static_cast<unsigned char>(runEnd[-1])) &&
            ByteType(p, runEnd - 1) != 2) {
            return nullptr;
        }
    }
    return runEnd;
}

// ".*" and "(?s).*" (greedy, unbounded, no minimum in kanji mode): one byte search for the
// run's end, then candidate ends from the longest down, only where the continuation's first
// literal byte stands.
int MatchDotRun(const unsigned char* node, const char* p, const char* runEnd, MatchState& s) {
    const unsigned char* next = GoOn(node);
    const int c1 = FirstLiteralByte(next);
    const char* low = p + NodeArg(node, 0);
    LoopFrame* current = s.currentLoop;
    const int savedCount = current->count;
    const bool groups = s.groupLimit > 0;
    Spend(s, (runEnd - p) / 16);
    if (groups) {
        SaveGroupState(*s.lastParen, s);
    }
    for (const char* r = runEnd; r >= low;) {
        if (c1 >= 0 && r < s.searchEnd && static_cast<unsigned char>(*r) != c1) {
            const void* hit = memrchr(low, c1, static_cast<std::size_t>(r - low));
            if (hit == nullptr) {
                break;
            }
            r = static_cast<const char*>(hit);
        }
        if (IsCharBoundary(s, p, r)) {
            s.input = r;
            if (MatchNodes(next, s)) {
                return 1;
            }
            current->count = savedCount;
            if (groups) {
                RestoreGroupState(s);
                SaveGroupState(*s.lastParen, s);
            }
        }
        if (r == low) {
            break;
        }
        --r;
    }
    if (groups) {
        RestoreGroupState(s);
    }
    return 0;
}

// A loop whose body is one single-character node: count the characters, then back off.
int MatchSingleCharLoop(const unsigned char* node, const char* p, bool lazy, MatchState& s) {
    const int min = NodeArg(node, 0);
    const int max = NodeArg(node, 1);
    const unsigned char* body = node + 8;
    const unsigned char* next = GoOn(node);
    LoopFrame* current = s.currentLoop;
    const int savedCount = current->count;

    if (lazy) {
        const char* q = p;
        long n = 0;
        for (; n < min; ++n) {
            q = StepSingle(s, body, q);
            if (q == nullptr) {
                return 0;
            }
        }
        for (;;) {
            Spend(s, 1);
            s.input = q;
            if (MatchNodes(next, s)) {
                return 1;
            }
            current->count = savedCount;
            if (!Below(static_cast<int>(std::min(n, 65535L)), max)) {
                return 0;
            }
            q = StepSingle(s, body, q);
            if (q == nullptr) {
                return 0;
            }
            ++n;
        }
    }

    // Greedy. The widths of the characters are remembered, once one is wider than a byte,
    // so the back-off can step over them.
    std::vector<uint8_t> widths;
    bool wide = false;
    const char* q = p;
    long n = 0;
    while (Below(static_cast<int>(std::min(n, 65535L)), max)) {
        const char* after = StepSingle(s, body, q);
        if (after == nullptr) {
            break;
        }
        if (after - q > 1 && !wide) {
            widths.assign(static_cast<std::size_t>(n), 1);
            wide = true;
        }
        if (wide) {
            widths.push_back(static_cast<uint8_t>(after - q));
        }
        q = after;
        ++n;
    }
    Spend(s, n);
    if (n < min) {
        return 0;
    }
    const bool groups = s.groupLimit > 0;
    const int c1 = FirstLiteralByte(next);
    if (groups) {
        SaveGroupState(*s.lastParen, s);
    }
    for (;;) {
        if (c1 < 0 || ByteAt(s, q) == c1) {
            s.input = q;
            if (MatchNodes(next, s)) {
                return 1;
            }
            current->count = savedCount;
            if (groups) {
                RestoreGroupState(s);
                SaveGroupState(*s.lastParen, s);
            }
        }
        if (n == min) {
            if (groups) {
                RestoreGroupState(s);
            }
            return 0;
        }
        --n;
        const auto index = static_cast<std::size_t>(n);
        q -= index < widths.size() ? widths[index] : 1;
    }
}

int EnterLoop(const unsigned char* node, const char* p, bool lazy, MatchState& s) {
    const unsigned char* next = GoOn(node);
    const unsigned char* step = next - 4;
    if (step < s.rx->program || step[0] != OP_LOOP_STEP) {
        CorruptedPointers();
    }
    const unsigned char* body = node + 8;
    if (IsSingleStep(body[0]) && NextNode(body) == step) {
        if (!lazy && NodeArg(node, 1) == kUnbounded &&
            (body[0] == OP_ANY_BUT_NEWLINE || body[0] == OP_ANY_CHAR) &&
            (s.mode == CharMode::kBytes || NodeArg(node, 0) == 0)) {
            const char* runEnd = DotRunEnd(s, body, p);
            if (runEnd != nullptr && runEnd - p >= NodeArg(node, 0)) {
                return MatchDotRun(node, p, runEnd, s);
            }
            if (runEnd != nullptr) {
                return 0;  // shorter than the minimum
            }
        }
        return MatchSingleCharLoop(node, p, lazy, s);
    }
    LoopFrame frame;
    frame.parenFloor = *s.lastParen;
    frame.count = -1;
    frame.min = NodeArg(node, 0);
    frame.max = NodeArg(node, 1);
    frame.lazy = lazy;
    frame.body = body;
    frame.next = next;
    frame.outer = s.currentLoop;
    if (s.memoAllowed && frame.max == kUnbounded && frame.outer == &s.outermost) {
        frame.memoSlot = s.memo.SlotFor(static_cast<int>(node - s.rx->program));
    }
    s.currentLoop = &frame;
    s.input = p;
    const int result = MatchNodes(step, s);
    s.currentLoop = frame.outer;
    return result;
}

// Runs the continuation after loop f with the enclosing loop current.
int ContinueAfterLoop(LoopFrame* f, MatchState& s) {
    LoopFrame* outer = f->outer;
    s.currentLoop = outer;
    const int savedCount = outer->count;
    if (MatchNodes(f->next, s)) {
        return 1;
    }
    outer->count = savedCount;
    s.currentLoop = f;
    return 0;
}

int LoopStep(const char* p, MatchState& s) {
    LoopFrame* f = s.currentLoop;
    if (f->outer == nullptr) {
        CorruptedPointers();
    }
    const int n = f->count + 1;
    s.input = p;
    if (p == f->lastPosition) {
        return ContinueAfterLoop(f, s);
    }
    // Where the current iteration began. It is put back whenever a further iteration fails,
    // so the empty-iteration test above keeps comparing with the right position after
    // backtracking (otherwise a body that can match empty would iterate without end).
    const char* const began = f->lastPosition;
    auto iterate = [&] {
        f->count = n;
        f->lastPosition = p;
        if (MatchNodes(f->body, s)) {
            return true;
        }
        f->count = n - 1;
        f->lastPosition = began;
        return false;
    };
    if (n < f->min) {
        return iterate() ? 1 : 0;
    }
    auto iterateOrLeave = [&] {
        if (f->lazy) {
            if (ContinueAfterLoop(f, s)) {
                return true;
            }
            if (!Below(n, f->max)) {
                return false;
            }
            s.input = p;
            return iterate();
        }
        if (Below(n, f->max)) {
            SaveGroupState(f->parenFloor, s);
            if (iterate()) {
                return true;
            }
            RestoreGroupState(s);
            s.input = p;
        }
        if (ContinueAfterLoop(f, s)) {
            return true;
        }
        f->count = n - 1;
        return false;
    };
    // Past its minimum a loop with a memo slot fails at p however it got there.
    const int slot = f->memoSlot;
    if (slot < 0) {
        return iterateOrLeave() ? 1 : 0;
    }
    if (s.memo.KnownToFail(slot, p)) {
        return 0;
    }
    if (iterateOrLeave()) {
        return 1;
    }
    s.memo.RecordFailure(slot, p);
    return 0;
}

}  // namespace

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

void SaveGroupState(int parenFloor, MatchState& s) {
    const int top = s.highestOpen;
    for (int i = top; i > parenFloor; --i) {
        s.saveStack.push_back(reinterpret_cast<intptr_t>(s.endp[i]));
        s.saveStack.push_back(reinterpret_cast<intptr_t>(s.startp[i]));
        s.saveStack.push_back(i);
    }
    const int groups = top > parenFloor ? top - parenFloor : 0;
    s.saveStack.push_back(s.highestOpen);
    s.saveStack.push_back(*s.lastParen);
    s.saveStack.push_back(reinterpret_cast<intptr_t>(s.input));
    s.saveStack.push_back(3 * groups + 3);
    s.saveStack.push_back(21);  // block marker
}

const char* RestoreGroupState(MatchState& s) {
    auto pop = [&s] {
        if (s.saveStack.empty()) {
            throw RegexError("fatal error");
        }
        const intptr_t v = s.saveStack.back();
        s.saveStack.pop_back();
        return v;
    };
    if (pop() != 21) {
        throw RegexError("fatal error");
    }
    intptr_t entries = pop();
    const char* input = reinterpret_cast<const char*>(pop());
    *s.lastParen = static_cast<int32_t>(pop());
    s.highestOpen = static_cast<int>(pop());
    for (entries -= 3; entries > 0; entries -= 3) {
        const auto i = static_cast<int>(pop());
        s.startp[i] = reinterpret_cast<const char*>(pop());
        const auto end = reinterpret_cast<const char*>(pop());
        if (i <= *s.lastParen) {
            s.endp[i] = end;
        }
    }
    for (int i = *s.lastParen + 1; i <= s.groupLimit; ++i) {
        s.endp[i] = nullptr;
        if (i > s.highestOpen) {
            s.startp[i] = nullptr;
        }
    }
    return input;
}

int MatchNodes(const unsigned char* node, MatchState& s) {
    CheckStack(s);
    Spend(s, 1);
    const char* p = s.input;
    bool lazy = false;
    for (;;) {
        const int b = ByteAt(s, p);
        const int kind = node[0];
        switch (kind) {
            case OP_ACCEPT:
            case OP_SUBMATCH_END:
                s.input = p;
                return 1;
            case OP_LINE_START:
            case OP_LINE_START_M:
                if (p == s.searchStart) {
                    if (s.previousChar != '\n') {
                        return 0;
                    }
                } else if (AtEndOfText(s, p) || p[-1] != '\n') {
                    return 0;
                }
                break;
            case OP_TEXT_START:
                if (p != s.searchStart || s.previousChar != '\n') {
                    return 0;
                }
                break;
            case OP_SEARCH_START:
                if (p != s.searchStart) {
                    return 0;
                }
                break;
            case OP_LINE_END:
            case OP_LINE_END_M:
            case OP_TEXT_END:
                if (kind == OP_LINE_END_M || (kind == OP_LINE_END && s.multiline)) {
                    if (b == 0 ? !AtEndOfText(s, p) : b != '\n') {
                        return 0;
                    }
                } else if (!AtEndOfText(s, p) && !(b == '\n' && s.searchEnd - p <= 1)) {
                    return 0;
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
                    return 0;
                }
                break;
            case OP_LITERAL: {
                const int length = LiteralLength(node);
                if (length > 0 &&
                    (LiteralBytes(node)[0] != b || s.searchEnd - p < length ||
                     std::memcmp(LiteralBytes(node), p, static_cast<std::size_t>(length)) != 0)) {
                    return 0;
                }
                p += length;
                break;
            }
            case OP_BOUNDARY:
            case OP_NON_BOUNDARY:
                if ((IsWordBefore(s, p) != IsWordByte(b)) != (kind == OP_BOUNDARY)) {
                    return 0;
                }
                break;
            case OP_BACKREF:
                if (!BackReference(node, p, s)) {
                    return 0;
                }
                break;
            case OP_GROUP_OPEN:
            case OP_GROUP_CLOSE:
                return MatchGroupMark(node, p, s);
            case OP_ALTERNATIVE: {
                const unsigned char* next = NextNode(node);
                if (next == nullptr || next[0] != OP_ALTERNATIVE) {
                    node += 4;
                    continue;
                }
                return MatchAlternatives(node, p, s);
            }
            case OP_EMPTY:
            case OP_UNUSED_13:
                break;
            case OP_LAZY:
                lazy = true;
                break;
            case OP_LOOKAHEAD:
            case OP_NEG_LOOKAHEAD: {
                const LookAheadResult result = MatchLookAhead(node, p, s);
                if (result != LookAheadResult::kGoOn) {
                    return result == LookAheadResult::kMatched ? 1 : 0;
                }
                break;
            }
            case OP_STAR_SIMPLE:
            case OP_PLUS_SIMPLE:
            case OP_REPEAT_SIMPLE:
                return MatchSimpleRepeat(node, p, lazy, s);
            case OP_REPEAT_GROUP:
                return EnterLoop(node, p, lazy, s);
            case OP_LOOP_STEP:
                return LoopStep(p, s);
            default:
                throw RegexError("regexp memory corruption");
        }
        node = GoOn(node);
    }
}

}  // namespace regex
