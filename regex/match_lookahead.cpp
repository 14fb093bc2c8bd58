// Matcher: look-aheads.
//
// A look-ahead's body is a match of its own, tried at p. Its entry on the backtracking stack
// marks where the body's entries begin: when the body reaches its end, everything above the
// entry is dropped with the entry itself (the body's choices are not revisited), and when
// popping reaches the entry, the body has failed. Captures count only when the look-ahead
// holds because the body matched (a positive look-ahead): when a negative one fails they are
// taken back at once, and when the rest after a positive one fails they are taken back before
// the failure goes on, so no failed path leaves a group set.
#include <algorithm>
#include <cstring>

#include "regex/match_machine.h"

namespace regex {
namespace {

// The group positions now, pushed on the capture stack: lastParen, highest open, then the
// start and end of every group.
void PushCaptures(MatchState& s) {
    s.captureStack.push_back(reinterpret_cast<const char*>(static_cast<intptr_t>(*s.lastParen)));
    s.captureStack.push_back(reinterpret_cast<const char*>(static_cast<intptr_t>(s.highestOpen)));
    s.captureStack.insert(s.captureStack.end(), s.startp + 1, s.startp + s.groupLimit + 1);
    s.captureStack.insert(s.captureStack.end(), s.endp + 1, s.endp + s.groupLimit + 1);
    CheckMatchMemory(s);
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

// The look-ahead entry's numbers, in the order they are popped.
struct LookAheadEntry {
    std::size_t outer;  // the enclosing look-ahead's mark
    const unsigned char* node;
    std::size_t captureDepth;
    std::size_t frames;
    std::size_t widths;
    const char* p;
};

LookAheadEntry PopLookAheadNumbers(MatchState& s) {
    LookAheadEntry e{};
    e.outer = s.stack.Pop();
    e.node = NodeAt(s, s.stack.Pop());
    e.captureDepth = s.stack.Pop();
    e.frames = s.stack.Pop();
    e.widths = s.stack.Pop();
    e.p = s.searchStart + s.stack.Pop();
    return e;
}

}  // namespace

Flow StartLookAhead(const unsigned char* node, const char* p, MatchState& s, Cursor& c) {
    const std::size_t captureDepth = s.captureStack.size();
    if (s.groupLimit > 0) {
        Spend(s, s.groupLimit / 8);
        PushCaptures(s);
    }
    s.stack.Reserve(8);
    s.stack.Push(static_cast<uint64_t>(p - s.searchStart));
    s.stack.Push(s.widths.size());
    s.stack.Push(s.frames.size());
    s.stack.Push(captureDepth);
    s.stack.Push(NodeOffset(s, node));
    s.stack.Push(s.lookahead);
    EndEntry(s, p, kLookAhead, 0);
    s.lookahead = s.stack.Size();
    s.input = p;
    return Jump(s, c, node + 4, p);
}

Flow LookAheadMatched(MatchState& s, Cursor& c) {
    s.stack.Truncate(s.lookahead);
    s.stack.Pop();  // the tag
    const int64_t below = BacktrackStack::UnZigZag(s.stack.Pop());
    const LookAheadEntry e = PopLookAheadNumbers(s);
    s.lastPushed = (e.p - s.searchStart) - below;
    s.lookahead = e.outer;
    s.frames.resize(e.frames);  // loops entered in the body are done with
    s.widths.resize(e.widths);
    const bool positive = e.node[0] == OP_LOOKAHEAD;
    const unsigned char* next = GoOn(e.node);
    if (s.groupLimit == 0) {
        if (!positive) {
            return Flow::kFailed;
        }
        c.node = next;
        c.p = e.p;
        return Flow::kJumped;
    }
    if (!positive) {
        RestoreCaptures(s, e.captureDepth);
        s.captureStack.resize(e.captureDepth);
        return Flow::kFailed;
    }
    if (!CapturesChanged(s, e.captureDepth)) {
        s.captureStack.resize(e.captureDepth);
        c.node = next;
        c.p = e.p;
        return Flow::kJumped;
    }
    // The body's captures stand while the rest is tried; the entry takes them back.
    s.stack.Reserve(2);
    s.stack.Push(e.captureDepth);
    EndEntry(s, e.p, kCapturesBack, 0);
    s.input = e.p;
    return Jump(s, c, next, e.p);
}

bool LookAheadFailed(const char* p, MatchState& s, Cursor& c) {
    const LookAheadEntry e = PopLookAheadNumbers(s);
    s.lookahead = e.outer;
    s.captureStack.resize(e.captureDepth);
    if (e.node[0] == OP_LOOKAHEAD) {
        return false;
    }
    c.node = GoOn(e.node);
    c.p = p;
    return true;
}

void TakeBackCaptures(MatchState& s) {
    const auto depth = static_cast<std::size_t>(s.stack.Pop());
    RestoreCaptures(s, depth);
    s.captureStack.resize(depth);
}

}  // namespace regex
