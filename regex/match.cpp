// Matcher: the search loop.
//
// ExecutePattern picks the start positions worth an attempt and runs TryMatchAt on each in
// order, so the first success is the leftmost match. The facts of the start analysis drive
// the choice: a must-literal absent from the text rejects it outright and, when its distance
// from the match start is fixed, moves the first start position up to it; anchored patterns
// are tried at the search start and after newlines; a start literal is found by substring
// search and a start class by testing bytes, without entering the interpreter.
//
// Case-insensitive patterns run on a lower-cased copy of the subject. The copy is kept in the
// record, so the searches of a global substitution, which move through one subject, fold it
// only once; positions are translated back to the caller's text after a match.
#include "regex/match.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/memrchr.h"
#include "platform/sjis_bytes.h"
#include "regex/compile.h"
#include "regex/error_text.h"
#include "regex/literal_string.h"
#include "regex/match_state.h"
#include "regex/node_program.h"

namespace regex {
namespace {

inline const char* NextChar(CharMode mode, const char* p, const char* end) {
    return p + CharWidth(mode, p, end);
}

// Folding leaves Shift JIS trail bytes alone; UTF-8 has no ASCII byte inside a character.
void FoldInPlace(char* text, std::size_t length, bool kanji) {
    for (std::size_t i = 0; i < length; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (kanji && IsLeadByte(c) && i + 1 < length) {
            ++i;
        } else {
            text[i] = static_cast<char>(platform::sjis::AsciiLower(c));
        }
    }
}

// The folded text of [start, end), from the record's copy when it covers it.
const char* FoldedSubject(RegexRecord* rx, const char* start, const char* end, const char* base) {
    const bool kanji = CharModeOf(rx->flags) == CharMode::kShiftJis;
    // A first search (start at the base) always folds afresh: the text may be new.
    if (rx->foldedText != nullptr && start != base && rx->foldedEnd == end &&
        rx->foldedFrom <= start && rx->foldedFrom >= base) {
        // In kanji mode the copy was folded from foldedFrom on; a trail byte there is
        // already counted right, since folding only skips partners of lead bytes.
        return rx->foldedText + (start - rx->foldedFrom);
    }
    std::free(rx->foldedText);
    rx->foldedText = nullptr;
    const auto length = static_cast<std::size_t>(end - start);
    auto* copy = static_cast<char*>(std::malloc(length + 1));
    if (copy == nullptr) {
        throw RegexError("out of space savepvn");
    }
    std::memcpy(copy, start, length);
    copy[length] = '\0';
    FoldInPlace(copy, length, kanji);
    rx->foldedText = copy;
    rx->foldedFrom = start;
    rx->foldedEnd = end;
    return copy;
}

class Search {
  public:
    Search(RegexRecord* rx, MatchState& state, const char* scanStart, long minLength)
        : rx_(rx), s_(state), scanStart_(scanStart), minLength_(minLength) {}

    bool Run() {
        if (rx_->anchorFlags & ANCHOR_START) {
            return Anchored();
        }
        if (rx_->anchorFlags & ANCHOR_IMPLICIT) {
            return Implicit();
        }
        if (rx_->startLiteral != nullptr) {
            return StartLiteral();
        }
        if (rx_->startClass != nullptr) {
            return StartClass();
        }
        return Plain();
    }

  private:
    bool Try(const char* p) { return TryMatchAt(rx_, p, s_) != 0; }
    const char* End() const { return s_.searchEnd; }
    const char* LastUsefulStart() const {
        return minLength_ != 0 ? End() - (minLength_ - 1) : End();
    }

    bool Anchored() {
        if (Try(s_.searchStart)) {
            return true;
        }
        if (!s_.multiline) {
            return false;
        }
        const char* last = LastUsefulStart();
        const char* p = scanStart_;
        if (p > s_.searchStart) {
            --p;
        }
        for (; p < End() && p + 1 < last; ++p) {
            p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(End() - p)));
            if (p == nullptr || p + 1 >= last) {
                return false;
            }
            if (Try(p + 1)) {
                return true;
            }
        }
        return false;
    }

    // One attempt per line: the leading ".*" of an attempt covers the rest of its line.
    bool Implicit() {
        const bool dotAll = rx_->program[1 + 4 + 8] == OP_ANY_CHAR;
        const char* last = LastUsefulStart();
        for (const char* p = scanStart_; p <= last;) {
            if (Try(p)) {
                return true;
            }
            if (dotAll || p >= End()) {
                return false;
            }
            const void* nl = std::memchr(p, '\n', static_cast<std::size_t>(End() - p));
            if (nl == nullptr) {
                return false;
            }
            p = static_cast<const char*>(nl) + 1;
        }
        return false;
    }

    bool StartLiteral() {
        const LiteralString* lit = rx_->startLiteral;
        const char* p = scanStart_;
        if (rx_->anchorFlags & ANCHOR_SKIP_RUN) {
            const char c = lit->data[0];
            while (p < End()) {
                if (s_.mode == CharMode::kBytes) {
                    p = static_cast<const char*>(
                        std::memchr(p, c, static_cast<std::size_t>(End() - p)));
                    if (p == nullptr) {
                        return false;
                    }
                }
                if (*p != c) {
                    p = NextChar(s_.mode, p, End());
                    continue;
                }
                if (Try(p)) {
                    return true;
                }
                p = NextChar(s_.mode, p, End());
                while (p < End() && *p == c) {
                    p = NextChar(s_.mode, p, End());
                }
                if (p < End()) {
                    p = NextChar(s_.mode, p, End());
                }
            }
            return false;
        }
        for (;;) {
            const char* found = PlainSearch(p, End(), lit->data, lit->data + lit->length, s_.mode);
            if (found == nullptr) {
                return false;
            }
            if (Try(found)) {
                return true;
            }
            if (found >= End()) {
                return false;
            }
            p = NextChar(s_.mode, found, End());
        }
    }

    bool InStartSet(int kind, const char* p, uint32_t c) const {
        const int b = static_cast<unsigned char>(*p);
        switch (kind) {
            case OP_CLASS:
                return ClassContains(c, rx_->startClass + 3);
            case OP_WORD:
                return IsWordByte(b);
            case OP_SPACE:
                return IsSpaceByte(b);
            case OP_DIGIT:
                return IsDigitByte(b);
            case OP_NON_WORD:
                return !IsWordByte(b);
            case OP_NON_SPACE:
                return !IsSpaceByte(b);
            default:
                return !IsDigitByte(b);
        }
    }

    bool StartClass() {
        const int kind = rx_->startClass[0];
        const char* last = LastUsefulStart();
        const char* p = scanStart_;
        if (kind == OP_BOUNDARY || kind == OP_NON_BOUNDARY) {
            return Boundary(kind == OP_BOUNDARY, last);
        }
        const bool tryEvery = !(rx_->anchorFlags & ANCHOR_SKIP_RUN);
        bool mayTry = true;
        if (kind == OP_DIGIT && s_.mode == CharMode::kBytes && tryEvery) {
            // Hot path for \d: skip non-digits without per-byte dispatch.
            for (; p < last; ++p) {
                if (IsDigitByte(static_cast<unsigned char>(*p)) && Try(p)) {
                    return true;
                }
            }
            return false;
        }
        while (p < last) {
            const std::size_t width = CharWidth(s_.mode, p, s_.mode == CharMode::kUtf8 ? End() : last);
            const uint32_t c = CharValue(s_.mode, p, width);
            if (InStartSet(kind, p, c)) {
                if (mayTry && Try(p)) {
                    return true;
                }
                mayTry = tryEvery;
            } else {
                mayTry = true;
            }
            p += width;
        }
        return false;
    }

    bool Boundary(bool boundary, const char* last) {
        if (minLength_ != 0) {
            --last;
        }
        const char* p = scanStart_;
        bool w =
            IsWordByte(p == s_.searchStart ? s_.previousChar : static_cast<unsigned char>(p[-1]));
        while (p < last) {
            const bool word = IsWordByte(static_cast<unsigned char>(*p));
            if ((w != word) == boundary) {
                if (Try(p)) {
                    return true;
                }
            }
            if (w != word) {
                w = !w;
            }
            p = NextChar(s_.mode, p, last);
        }
        if (p <= End() && (minLength_ != 0 || w == boundary)) {
            return Try(p);
        }
        return false;
    }

    bool Plain() {
        const char* last = LastUsefulStart();
        if (rx_->startBytesValid) {
            return PlainWithStartBytes(last);
        }
        for (const char* p = scanStart_; p <= last; p = NextChar(s_.mode, p, End())) {
            if (Try(p)) {
                return true;
            }
            if (p >= End()) {
                break;
            }
        }
        return false;
    }

    // The plain scan, entering the interpreter only where a match can begin. No match is
    // empty here, so the end of the text is never a start.
    bool PlainWithStartBytes(const char* last) {
        const unsigned char* table = rx_->startBytes;
        const char* limit = last < End() ? last + 1 : End();
        const char* p = scanStart_;
        if (s_.mode == CharMode::kBytes) {
            for (; p < limit; ++p) {
                if (table[static_cast<unsigned char>(*p)] && Try(p)) {
                    return true;
                }
            }
            return false;
        }
        while (p < limit) {
            if (table[static_cast<unsigned char>(*p)] && Try(p)) {
                return true;
            }
            p = NextChar(s_.mode, p, End());
        }
        return false;
    }

    RegexRecord* rx_;
    MatchState& s_;
    const char* scanStart_;
    long minLength_;
};

int MaxCharBytes(CharMode mode) {
    return mode == CharMode::kUtf8 ? 4 : mode == CharMode::kShiftJis ? 2 : 1;
}

// Moves every set position from the searched text to `text` (the caller's start there).
void TranslatePositions(RegexRecord* rx, const char* searchStart, const char* newStart) {
    for (int i = 0; i <= rx->groupCount; ++i) {
        if (rx->startp[i] != nullptr) {
            rx->startp[i] = newStart + (rx->startp[i] - searchStart);
        }
        if (rx->endp[i] != nullptr) {
            rx->endp[i] = newStart + (rx->endp[i] - searchStart);
        }
    }
}

int Execute(RegexRecord* rx, const char* start, const char* end, const char* base, uint32_t minEnd,
            int keepInPlace) {
    if (base == nullptr || base > start) {
        base = start;
    }
    int previous = start == base ? '\n' : static_cast<unsigned char>(start[-1]);
    if (previous == '\n' && !(rx->flags & FLAG_MULTILINE) && !rx->multiline) {
        previous = start == base ? '\n' : 0;
    }
    if (rx->program == nullptr || rx->programLength < 1 || rx->program[0] != PROGRAM_MAGIC ||
        rx->startp == nullptr || rx->endp == nullptr) {
        throw RegexError("corrupted regexp program");
    }
    const char* callerStart = start;
    const char* callerEnd = end;
    if (rx->foldCase) {
        start = FoldedSubject(rx, start, end, base);
        end = start + (callerEnd - callerStart);
    }

    MatchState state;
    InitMatchState(state, rx, start, end);
    state.previousChar = previous;
    // What this search spends is gone for the later searches of the subject, also when it
    // ends with an error.
    struct SpentSteps {
        RegexRecord* rx;
        const MatchState& state;
        ~SpentSteps() { rx->stepsLeft = state.stepsLeft; }
    } spent{rx, state};

    const char* scanStart = start;
    long minLength = 0;
    LiteralString* must = rx->mustLiteral;
    if (must != nullptr &&
        (!(rx->anchorFlags & ANCHOR_START) || (state.multiline && rx->mustOffset >= 0))) {
        const char* found = SkipTableSearch(start, end, must, state.multiline, state.mode);
        if (found == nullptr) {
            if (must->usefulness < 1000000) {
                ++must->usefulness;
            }
            return 0;
        }
        if (rx->mustOffset < 0 && rx->lineBound) {
            // A match lies within one line, and the literal's first occurrence is in the line
            // that begins after this newline: no earlier start can reach it.
            const void* nl = memrchr(start, '\n', static_cast<std::size_t>(found - start));
            const char* newline = static_cast<const char*>(nl);
            if (newline != nullptr && !(state.mode == CharMode::kShiftJis && newline > start &&
                                        IsLeadByte(static_cast<unsigned char>(newline[-1])) &&
                                        ByteType(start, newline - 1) != 2)) {
                scanStart = newline + 1;  // in kanji mode a lead byte there would take it
            }
        }
        if (rx->mustOffset >= 0) {
            // The offset counts a character as one byte; a character of k takes up to two
            // (Shift JIS) or four (UTF-8) bytes, so the scan starts that much further back.
            const long back = static_cast<long>(rx->mustOffset) * MaxCharBytes(state.mode);
            scanStart = found - start >= back ? found - back : start;
            minLength = rx->mustOffset + must->length;
        } else if (rx->costly) {
            minLength = must->length;
        } else if (--must->usefulness < 0) {
            FreeLiteralString(must);
            rx->mustLiteral = nullptr;
        } else {
            minLength = must->length;
        }
    }
    if (state.mode == CharMode::kShiftJis && ByteType(start, scanStart) == 2) {
        scanStart = start;
    }
    while (state.mode == CharMode::kUtf8 && InsideUtf8Character(start, scanStart, end)) {
        --scanStart;
    }
    if (minEnd > static_cast<uint64_t>(end - start)) {
        return 0;  // no match can end late enough
    }
    state.matchEndFloor = start + minEnd;

    Search search(rx, state, scanStart, minLength);
    if (!search.Run()) {
        if (rx->foldCase) {
            // Positions would point into the folded copy; leave none behind.
            std::fill(rx->startp, rx->startp + rx->groupCount + 1, nullptr);
            std::fill(rx->endp, rx->endp + rx->groupCount + 1, nullptr);
        }
        return 0;
    }

    rx->subjectBegin = base;
    rx->subjectEnd = callerEnd;
    if (rx->foldCase || (keepInPlace == 0 && rx->groupCount != 0)) {
        const std::size_t length = static_cast<std::size_t>(callerEnd - base);
        const char* text = base;
        if (keepInPlace == 0 && base != rx->savedSubject) {
            auto* copy = static_cast<char*>(std::malloc(length + 1));
            if (copy == nullptr) {
                throw RegexError("out of space savepvn");
            }
            std::memcpy(copy, base, length);
            copy[length] = '\0';
            std::free(rx->savedSubject);
            rx->savedSubject = copy;
            text = copy;
        }
        rx->subjectBegin = text;
        rx->subjectEnd = text + length;
        TranslatePositions(rx, start, text + (callerStart - base));
    }
    return 1;
}

}  // namespace

void InitMatchState(MatchState& state, RegexRecord* rx, const char* start, const char* end) {
    state.rx = rx;
    state.groupLimit = rx->groupCount;
    state.searchStart = start;
    state.searchEnd = end;
    state.startp = rx->startp;
    state.endp = rx->endp;
    state.lastParen = &rx->lastParen;
    state.matchEndFloor = start;
    state.previousChar = '\n';
    // (?m) in the pattern counts as much as the caller's option.
    state.multiline = (rx->flags & FLAG_MULTILINE) != 0 || rx->multiline != 0;
    state.mode = CharModeOf(rx->flags);
    state.stack.SetLimit(MatchMemoryFor(static_cast<std::size_t>(end - start)));
    state.currentLoop = 0;
    state.stepsLeft = rx->stepsLeft;
    state.memoAllowed = rx->backReferences == 0;
    state.memo.Start(start);
}

int TryMatchAt(RegexRecord* rx, const char* position, MatchState& state) {
    state.input = position;
    *state.lastParen = 0;
    state.highestOpen = 0;
    state.stack.Truncate(0);
    state.lastPushed = position - state.searchStart;
    state.lookahead = 0;
    state.frames.clear();
    state.currentLoop = 0;
    state.widths.clear();
    state.captureStack.clear();
    if (rx->groupCount > 0) {
        std::fill(rx->startp, rx->startp + rx->groupCount + 1, nullptr);
        std::fill(rx->endp, rx->endp + rx->groupCount + 1, nullptr);
    }
    if (MatchNodes(rx->program + 1, state) && state.input >= state.matchEndFloor) {
        rx->startp[0] = position;
        rx->endp[0] = state.input;
        return 1;
    }
    return 0;
}

int ExecutePattern(RegexRecord* rx, const char* start, const char* end, const char* base,
                   uint32_t minEnd, int keepInPlace, char* errorText) {
    ClearErrorText(errorText);
    if (rx == nullptr || start == nullptr || end == nullptr || end <= start) {
        return 0;
    }
    // A search from the subject's beginning starts a new budget; the later searches of a
    // global substitution, which move through the same subject, draw on what is left.
    const char* subject = base == nullptr || base > start ? start : base;
    if (start == subject || rx->budgetBase != subject || rx->budgetEnd != end) {
        rx->budgetBase = subject;
        rx->budgetEnd = end;
        rx->stepsLeft = StepBudgetFor(static_cast<std::size_t>(end - subject));
    }
    try {
        return Execute(rx, start, end, base, minEnd, keepInPlace);
    } catch (const RegexError& error) {
        SetErrorText(errorText, error.what()[0] != '\0' ? error.what() : "fatal error");
    } catch (const std::bad_alloc&) {
        SetErrorText(errorText, OutOfMatchMemory().what());
    } catch (...) {
        SetErrorText(errorText, "fatal error");
    }
    return 0;
}

}  // namespace regex
