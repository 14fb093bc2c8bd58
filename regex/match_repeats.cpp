// Matcher: simple repeats and loops whose body is one character.
//
// A simple repeat ("a*", "\d+", "x{2,5}") counts its run in a tight loop (RepeatSimple) and
// then tries the rest of the program after each count, from the longest down (or, minimal,
// from the shortest up), only where the rest's first literal byte stands. A general loop whose
// body is one single-character node (".*", "[^,]*") is run the same way, so it needs no frame
// and no entry per character. One entry on the backtracking stack holds the count being
// tried; popping it tries the next count. Greedy ".*" finds its run's end with a byte search.
#include <algorithm>
#include <cstring>

#include "platform/memrchr.h"
#include "regex/match_machine.h"

namespace regex {
namespace {

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

// The first byte of a literal directly after a simple repeat, or -1.
int NextLiteralByte(const unsigned char* next) {
    return next[0] == OP_LITERAL && LiteralLength(next) > 0 ? LiteralBytes(next)[0] : -1;
}

// Whether the rest may be tried at `at` after a simple repeat from p.
bool Acceptable(const MatchState& s, const char* p, const char* at, int c1) {
    return IsCharBoundary(s, p, at) && (c1 < 0 || ByteAt(s, at) == c1);
}

// Pushes an entry of `kind` for the repeat at `node` tried at `at`, with one more number.
void PushCount(MatchState& s, EntryKind kind, const unsigned char* node, const char* at,
               uint64_t number) {
    s.stack.Reserve(4);
    s.stack.Push(number);
    s.stack.Push(NodeOffset(s, node));
    EndEntry(s, at, kind, 0);
}

// Greedy simple repeat from p: counts from n down to min.
bool GreedySimpleFrom(const unsigned char* node, const char* p, long n, long min, MatchState& s,
                      Cursor& c) {
    const unsigned char* next = GoOn(node);
    const int c1 = NextLiteralByte(next);
    for (; n >= min; --n) {
        const char* at = p + n;
        if (Acceptable(s, p, at, c1)) {
            // The program's end accepts whatever count reaches it: no shorter one is tried.
            if (next[0] != OP_ACCEPT) {
                s.stack.Reserve(5);
                s.stack.Push(static_cast<uint64_t>(min));
                PushCount(s, kSimpleGreedy, node, p, static_cast<uint64_t>(n));
            }
            s.input = at;
            Jump(s, c, next, at);
            return true;
        }
    }
    return false;
}

// Minimal simple repeat from p: `at` is where n repetitions end.
bool LazySimpleFrom(const unsigned char* node, const char* p, long n, const char* at,
                    MatchState& s, Cursor& c) {
    const SimpleRepeat r = SimpleRepeatOf(node);
    const unsigned char* next = GoOn(node);
    const int c1 = NextLiteralByte(next);
    while (n <= r.max || r.max == kUnbounded) {
        Spend(s, 1);
        if (Acceptable(s, p, at, c1)) {
            PushCount(s, kSimpleLazy, node, p, static_cast<uint64_t>(n));
            s.input = at;
            Jump(s, c, next, at);
            return true;
        }
        // One repetition more; counts are bytes, whatever the step took.
        const char* from = p + n;
        s.input = from;
        if (from >= s.searchEnd || RepeatSimple(r.body, 1, s) == 0) {
            return false;
        }
        ++n;
        at = p + n;
    }
    return false;
}

// The literal the continuation begins with, or null.
const unsigned char* FirstLiteral(const unsigned char* next) {
    while (next != nullptr && next[0] == OP_EMPTY) {
        next = NextNode(next);
    }
    return next != nullptr && next[0] == OP_LITERAL && LiteralLength(next) > 0 ? next : nullptr;
}

// The first byte the continuation needs at a candidate end, or -1 when any byte may do.
int FirstLiteralByte(const unsigned char* next) {
    const unsigned char* literal = FirstLiteral(next);
    return literal != nullptr ? LiteralBytes(literal)[0] : -1;
}

bool LiteralAt(const MatchState& s, const unsigned char* literal, const char* at) {
    const int length = LiteralLength(literal);
    return s.searchEnd - at >= length &&
           std::memcmp(LiteralBytes(literal), at, static_cast<std::size_t>(length)) == 0;
}

bool Below(long n, int max) {
    return max == kUnbounded || n < max;
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

// The last `c` in [low, r), or null.
const char* LastByteBefore(const char* low, const char* r, int c) {
    return static_cast<const char*>(memrchr(low, c, static_cast<std::size_t>(r - low)));
}

// ".*" from p: candidate ends from r down, only where the continuation's first literal byte
// stands.
bool DotRunFrom(const unsigned char* node, const char* p, const char* r, MatchState& s,
                Cursor& c) {
    const unsigned char* next = GoOn(node);
    const unsigned char* literal = FirstLiteral(next);
    const int c1 = literal != nullptr ? LiteralBytes(literal)[0] : -1;
    const char* low = p + NodeArg(node, 0);
    while (r >= low) {
        if (c1 >= 0 && r < s.searchEnd && static_cast<unsigned char>(*r) != c1) {
            r = LastByteBefore(low, r, c1);
            if (r == nullptr) {
                return false;
            }
        }
        if (IsCharBoundary(s, p, r) && literal != nullptr && !LiteralAt(s, literal, r)) {
            Spend(s, 1);  // the continuation fails at once at its literal
        } else if (IsCharBoundary(s, p, r)) {
            PushCount(s, kDotRun, node, r, static_cast<uint64_t>(r - p));
            s.input = r;
            Jump(s, c, next, r);
            return true;
        }
        if (r == low) {
            return false;
        }
        --r;
    }
    return false;
}

// Minimal single-character loop: the rest is tried after n characters, ending at q.
Flow LazyCharAt(const unsigned char* node, const char* q, long n, MatchState& s, Cursor& c) {
    Spend(s, 1);
    PushCount(s, kCharLazy, node, q, static_cast<uint64_t>(n));
    s.input = q;
    return Jump(s, c, GoOn(node), q);
}

// Greedy single-character loop backing off from n characters ending at q. The widths of its
// characters, when one was wider than a byte, are on the state's width list from `widths`.
bool GreedyCharFrom(const unsigned char* node, const char* q, long n, std::size_t widths,
                    MatchState& s, Cursor& c) {
    const int min = NodeArg(node, 0);
    const unsigned char* next = GoOn(node);
    const int c1 = FirstLiteralByte(next);
    const std::size_t known = s.widths.size() - widths;
    for (;;) {
        if (c1 < 0 || ByteAt(s, q) == c1) {
            s.stack.Reserve(5);
            s.stack.Push(widths);
            PushCount(s, kCharGreedy, node, q, static_cast<uint64_t>(n));
            s.input = q;
            Jump(s, c, next, q);
            return true;
        }
        if (n == min) {
            s.widths.resize(widths);
            return false;
        }
        --n;
        const auto index = static_cast<std::size_t>(n);
        q -= index < known ? s.widths[widths + index] : 1;
    }
}

Flow StartCharLoop(const unsigned char* node, const char* p, bool lazy, MatchState& s,
                   Cursor& c) {
    const int min = NodeArg(node, 0);
    const int max = NodeArg(node, 1);
    const unsigned char* body = node + 8;
    const char* q = p;
    long n = 0;
    if (lazy) {
        for (; n < min; ++n) {
            q = StepSingle(s, body, q);
            if (q == nullptr) {
                return Flow::kFailed;
            }
        }
        return LazyCharAt(node, q, n, s, c);
    }
    // The widths are remembered once one character is wider than a byte.
    const std::size_t widths = s.widths.size();
    bool wide = false;
    while (Below(n, max)) {
        const char* after = StepSingle(s, body, q);
        if (after == nullptr) {
            break;
        }
        if (after - q > 1 && !wide) {
            s.widths.resize(widths + static_cast<std::size_t>(n), 1);
            wide = true;
        }
        if (wide) {
            s.widths.push_back(static_cast<uint8_t>(after - q));
        }
        q = after;
        ++n;
    }
    if (wide) {
        CheckMatchMemory(s);
    }
    Spend(s, n);
    if (n < min) {
        s.widths.resize(widths);
        return Flow::kFailed;
    }
    return GreedyCharFrom(node, q, n, widths, s, c) ? Flow::kJumped : Flow::kFailed;
}

bool ResumeCharLazy(const unsigned char* node, const char* q, long n, MatchState& s, Cursor& c) {
    if (!Below(n, NodeArg(node, 1))) {
        return false;
    }
    q = StepSingle(s, node + 8, q);
    if (q == nullptr) {
        return false;
    }
    LazyCharAt(node, q, n + 1, s, c);
    return true;
}

}  // namespace

Flow StartSimpleRepeat(const unsigned char* node, const char* p, bool lazy, MatchState& s,
                       Cursor& c) {
    const SimpleRepeat r = SimpleRepeatOf(node);
    if (lazy) {
        s.input = p;
        if (r.min > 0 && RepeatSimple(r.body, r.min, s) < r.min) {
            return Flow::kFailed;
        }
        return LazySimpleFrom(node, p, r.min, s.input, s, c) ? Flow::kJumped : Flow::kFailed;
    }
    s.input = p;
    const long n = RepeatSimple(r.body, r.max, s);
    Spend(s, n / 4);
    long min = r.min;
    const unsigned char* next = GoOn(node);
    if (n > min && NodeFamily(next[0]) == OP_LINE_END && (!s.multiline || next[0] == OP_TEXT_END)) {
        min = n;
    }
    if (n < min) {
        return Flow::kFailed;
    }
    return GreedySimpleFrom(node, p, n, min, s, c) ? Flow::kJumped : Flow::kFailed;
}

Flow StartSingleCharLoop(const unsigned char* node, const char* p, bool lazy, MatchState& s,
                         Cursor& c) {
    const unsigned char* body = node + 8;
    if (!lazy && NodeArg(node, 1) == kUnbounded &&
        (body[0] == OP_ANY_BUT_NEWLINE || body[0] == OP_ANY_CHAR) &&
        (s.mode == CharMode::kBytes || NodeArg(node, 0) == 0)) {
        const char* runEnd = DotRunEnd(s, body, p);
        if (runEnd != nullptr && runEnd - p >= NodeArg(node, 0)) {
            Spend(s, (runEnd - p) / 16);
            return DotRunFrom(node, p, runEnd, s, c) ? Flow::kJumped : Flow::kFailed;
        }
        if (runEnd != nullptr) {
            return Flow::kFailed;  // shorter than the minimum
        }
    }
    return StartCharLoop(node, p, lazy, s, c);
}

bool ResumeRepeat(EntryKind kind, uint64_t, const char* p, MatchState& s, Cursor& c) {
    const unsigned char* node = NodeAt(s, s.stack.Pop());
    const auto n = static_cast<long>(s.stack.Pop());
    switch (kind) {
        case kSimpleGreedy: {
            const auto min = static_cast<long>(s.stack.Pop());
            return GreedySimpleFrom(node, p, n - 1, min, s, c);
        }
        case kSimpleLazy: {
            const SimpleRepeat r = SimpleRepeatOf(node);
            const char* from = p + n;
            s.input = from;
            if (from >= s.searchEnd || RepeatSimple(r.body, 1, s) == 0) {
                return false;
            }
            return LazySimpleFrom(node, p, n + 1, p + n + 1, s, c);
        }
        case kCharGreedy: {
            const auto widths = static_cast<std::size_t>(s.stack.Pop());
            if (n == NodeArg(node, 0)) {
                s.widths.resize(widths);
                return false;
            }
            const auto index = static_cast<std::size_t>(n - 1);
            const std::size_t known = s.widths.size() - widths;
            const char* q = p - (index < known ? s.widths[widths + index] : 1);
            return GreedyCharFrom(node, q, n - 1, widths, s, c);
        }
        case kCharLazy:
            return ResumeCharLazy(node, p, n, s, c);
        default: {  // kDotRun: n is the run's length so far, p its end
            const char* start = p - n;
            if (p == start + NodeArg(node, 0)) {
                return false;
            }
            return DotRunFrom(node, start, p - 1, s, c);
        }
    }
}

}  // namespace regex
