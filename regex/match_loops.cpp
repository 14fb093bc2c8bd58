// Matcher: general loops (OP_REPEAT_GROUP and the OP_LOOP_STEP at the end of its body).
//
// Entering a loop makes a LoopFrame (in the state's frame list) current and goes to the loop
// step. At every step the loop either runs its body once more or leaves for the node after
// the loop; the way not taken waits on the backtracking stack with the step's position, and
// an entry takes back the frame's count and position when an iteration fails. An iteration
// that matched empty ends the loop. A greedy loop tries the body first, a minimal one the way
// out. Loops served by the failure memo (search_guard.h) record a step that failed for good
// and refuse it at once when it comes again.
#include "regex/match_machine.h"

namespace regex {
namespace {

constexpr unsigned kMemo = 1, kThenLeave = 2;

bool Below(int n, int max) {
    return max == kUnbounded || n < max;
}

// Leaves loop `f` for its continuation with the enclosing loop current.
Flow Leave(uint32_t f, const char* p, bool memo, MatchState& s, Cursor& c) {
    s.stack.Reserve(2);
    EndEntry(s, p, kContinued, (memo ? kMemo : 0) | static_cast<uint64_t>(f) << 1);
    s.currentLoop = s.Frame(f).outer;
    s.input = p;
    return Jump(s, c, s.Frame(f).next, p);
}

// Runs the body of loop `f` once more from p as iteration n.
Flow Iterate(uint32_t f, int n, const char* p, unsigned flags, MatchState& s, Cursor& c) {
    LoopFrame& frame = s.Frame(f);
    s.stack.Reserve(3);
    s.stack.Push(EncodeRelative(frame.lastPosition, p));
    EndEntry(s, p, kIterated, flags | static_cast<uint64_t>(f) << 2);
    frame.count = n;
    frame.lastPosition = p;
    s.input = p;
    return Jump(s, c, frame.body, p);
}

void RecordFailure(const LoopFrame& frame, const char* p, MatchState& s) {
    s.memo.RecordFailure(frame.memoSlot, p);
}

}  // namespace

Flow EnterLoop(const unsigned char* node, const char* p, bool lazy, MatchState& s, Cursor& c) {
    const unsigned char* next = GoOn(node);
    const unsigned char* step = next - 4;
    if (step < s.rx->program || step[0] != OP_LOOP_STEP) {
        CorruptedPointers();
    }
    const unsigned char* body = node + 8;
    if (IsSingleStep(body[0]) && NextNode(body) == step) {
        return StartSingleCharLoop(node, p, lazy, s, c);
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
    if (s.memoAllowed && frame.max == kUnbounded && frame.outer == 0) {
        frame.memoSlot = s.memo.SlotFor(static_cast<int>(node - s.rx->program));
    }
    if (s.frames.size() == s.frames.capacity()) {
        CheckMatchMemory(s);
    }
    s.frames.push_back(frame);
    s.stack.Reserve(2);
    EndEntry(s, p, kLoopEntered, 0);
    s.currentLoop = static_cast<uint32_t>(s.frames.size());
    s.input = p;
    return Jump(s, c, step, p);
}

Flow LoopStep(const char* p, MatchState& s, Cursor& c) {
    const uint32_t f = s.currentLoop;
    if (f == 0) {
        CorruptedPointers();
    }
    const LoopFrame& frame = s.Frame(f);
    const int n = frame.count + 1;
    s.input = p;
    if (p == frame.lastPosition) {
        return Leave(f, p, false, s, c);
    }
    if (n < frame.min) {
        return Iterate(f, n, p, 0, s, c);
    }
    // Past its minimum a loop with a memo slot fails at p however it got there.
    const bool memo = frame.memoSlot >= 0;
    if (memo && s.memo.KnownToFail(frame.memoSlot, p)) {
        return Flow::kFailed;
    }
    if (frame.lazy) {
        s.stack.Reserve(2);
        EndEntry(s, p, kLazyMore, (memo ? kMemo : 0) | static_cast<uint64_t>(f) << 1);
        return Leave(f, p, false, s, c);
    }
    if (Below(n, frame.max)) {
        return Iterate(f, n, p, (memo ? kMemo : 0) | kThenLeave, s, c);
    }
    return Leave(f, p, memo, s, c);
}

bool ResumeLoop(EntryKind kind, uint64_t extra, const char* p, MatchState& s, Cursor& c) {
    switch (kind) {
        case kLoopEntered:
            s.currentLoop = s.frames.back().outer;
            s.frames.pop_back();
            return false;
        case kContinued: {
            const auto f = static_cast<uint32_t>(extra >> 1);
            s.currentLoop = f;
            if ((extra & kMemo) != 0) {
                RecordFailure(s.Frame(f), p, s);
            }
            return false;
        }
        case kLazyMore: {
            const auto f = static_cast<uint32_t>(extra >> 1);
            const LoopFrame& frame = s.Frame(f);
            const int n = frame.count + 1;
            if (!Below(n, frame.max)) {
                if ((extra & kMemo) != 0) {
                    RecordFailure(frame, p, s);
                }
                return false;
            }
            Iterate(f, n, p, static_cast<unsigned>(extra & kMemo), s, c);
            return true;
        }
        default: {  // kIterated
            const auto f = static_cast<uint32_t>(extra >> 2);
            LoopFrame& frame = s.Frame(f);
            frame.count -= 1;
            frame.lastPosition = DecodeRelative(s.stack.Pop(), p);
            if ((extra & kThenLeave) != 0) {
                Leave(f, p, (extra & kMemo) != 0, s, c);
                return true;
            }
            if ((extra & kMemo) != 0) {
                RecordFailure(frame, p, s);
            }
            return false;
        }
    }
}

}  // namespace regex
