// Start bytes.
//
// A conservative walk over the program in match order collects every byte a match can begin
// with. A node that consumes a character contributes the bytes that can start it and ends its
// path; zero-width nodes pass the walk on; repeats that may run zero times and alternatives
// fork it. When some path can reach the end of the program without consuming anything (the
// pattern can match empty), or the walk meets something it does not model (back-references),
// the table is not used. The matcher's plain scan then skips every start whose byte is not in
// the table without entering the interpreter.
//
// The same file recognises patterns that begin with a greedy unbounded "." (".*foo"): an
// attempt there covers every later start in the same line, so one attempt per line suffices.
#include <cstring>

#include "regex/char_mode.h"
#include "regex/compile.h"
#include "regex/literal_string.h"
#include "regex/node_program.h"
#include "regex/start_analysis.h"

namespace regex {
namespace {

constexpr int kVisitBudget = 4096;

class StartBytes {
  public:
    StartBytes(const unsigned char* program, const unsigned char* end, CharMode mode)
        : program_(program), end_(end), mode_(mode) {}

    // Walks from `node`; false when the table cannot be trusted.
    bool Walk(const unsigned char* node) {
        for (;;) {
            if (node == nullptr || node < program_ || node >= end_ || ++visits_ > kVisitBudget) {
                return false;
            }
            const int kind = node[0];
            switch (kind) {
                case OP_ACCEPT:
                case OP_SUBMATCH_END:
                case OP_LOOP_STEP:
                case OP_BACKREF:
                    return false;  // may match empty, or not modelled
                case OP_LITERAL:
                    if (LiteralLength(node) == 0) {
                        break;
                    }
                    table_[LiteralBytes(node)[0]] = 1;
                    return true;
                case OP_ALTERNATIVE: {
                    const unsigned char* next = NextNode(node);
                    if (next == nullptr || next[0] != OP_ALTERNATIVE) {
                        node += 4;
                        continue;
                    }
                    for (; node != nullptr && node[0] == OP_ALTERNATIVE; node = NextNode(node)) {
                        if (!Walk(node + 4)) {
                            return false;
                        }
                    }
                    return true;
                }
                case OP_STAR_SIMPLE:
                case OP_PLUS_SIMPLE:
                case OP_REPEAT_SIMPLE:
                case OP_REPEAT_GROUP: {
                    const bool once =
                        kind == OP_PLUS_SIMPLE || (kind != OP_STAR_SIMPLE && NodeArg(node, 0) > 0);
                    const unsigned char* body = BodyOf(node);
                    // A general loop's body path ends at its loop step, which counts as empty.
                    if (kind == OP_REPEAT_GROUP ? !Walk(body) : !AddSingle(body)) {
                        return false;
                    }
                    if (once) {
                        return true;
                    }
                    node = NextNode(node);
                    continue;
                }
                default:
                    if (IsSingleStep(kind)) {
                        AddSingle(node);
                        return true;
                    }
                    break;  // zero-width: anchors, groups, look-aheads, empty, lazy
            }
            node = NextNode(node);
        }
    }

    const unsigned char* table() const { return table_; }

  private:
    // Bytes that can start the character a single-step node (or one-byte literal) matches.
    bool AddSingle(const unsigned char* node) {
        const int kind = node[0];
        if (kind == OP_LITERAL) {
            if (LiteralLength(node) == 0) {
                return false;
            }
            table_[LiteralBytes(node)[0]] = 1;
            return true;
        }
        if (!IsSingleStep(kind)) {
            return false;
        }
        for (int b = 0; b < 256; ++b) {
            bool in;
            switch (kind) {
                case OP_ANY_BUT_NEWLINE:
                    in = b != '\n';
                    break;
                case OP_ANY_CHAR:
                    in = true;
                    break;
                case OP_CLASS:
                    in = ClassContains(static_cast<uint32_t>(b), node + 3) ||
                         StartsWideCharacter(b);
                    break;
                case OP_WORD:
                    in = (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') ||
                         (b >= 'a' && b <= 'z') || b == '_';
                    break;
                case OP_NON_WORD:
                    in = !((b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') ||
                           (b >= 'a' && b <= 'z') || b == '_');
                    break;
                case OP_SPACE:
                    in = b == ' ' || (b >= 9 && b <= 13);
                    break;
                case OP_NON_SPACE:
                    in = !(b == ' ' || (b >= 9 && b <= 13));
                    break;
                case OP_DIGIT:
                    in = b >= '0' && b <= '9';
                    break;
                default:
                    in = !(b >= '0' && b <= '9');
                    break;
            }
            if (in) {
                table_[b] = 1;
            }
        }
        return true;
    }

    const unsigned char* program_;
    const unsigned char* end_;
    // Whether b may start a character of several bytes (or, in UTF-8, a stray byte), whose
    // value a class is not asked about here.
    bool StartsWideCharacter(int b) const {
        switch (mode_) {
            case CharMode::kShiftJis:
                return IsLeadByte(static_cast<unsigned char>(b)) != 0;
            case CharMode::kUtf8:
                return b >= 0x80;
            default:
                return false;
        }
    }

    CharMode mode_;
    int visits_ = 0;
    unsigned char table_[256] = {};
};

// Whether some node of the program can consume a newline.
bool CanConsumeNewline(const RegexRecord* rx) {
    const unsigned char* end = rx->program + rx->programLength;
    for (const unsigned char* node = rx->program + 1; node < end;) {
        if (*node == NODE_PAD) {
            ++node;
            continue;
        }
        switch (node[0]) {
            case OP_ANY_CHAR:
            case OP_NON_WORD:
            case OP_NON_DIGIT:
            case OP_SPACE:
                return true;
            case OP_CLASS:
                if (ClassContains('\n', node + 3)) {
                    return true;
                }
                break;
            case OP_LITERAL:
                if (std::memchr(LiteralBytes(node), '\n',
                                static_cast<std::size_t>(LiteralLength(node)))) {
                    return true;
                }
                break;
            default:
                break;
        }
        node += NodeSize(node);
    }
    return false;
}

}  // namespace

void AnalyseStartBytes(RegexRecord* rx, const unsigned char* first, bool sawBackref) {
    rx->lineBound = !CanConsumeNewline(rx);
    StartBytes walk(rx->program, rx->program + rx->programLength, CharModeOf(rx->flags));
    if (walk.Walk(first)) {
        std::memcpy(rx->startBytes, walk.table(), sizeof rx->startBytes);
        rx->startBytesValid = 1;
    }

    // ".*" (greedy, unbounded, the very first node of a single top-level alternative).
    const unsigned char* node = first;
    if (node[0] != OP_ALTERNATIVE || NextNode(node) == nullptr ||
        NextNode(node)[0] == OP_ALTERNATIVE || sawBackref) {
        return;
    }
    node += 4;
    if (node[0] != OP_REPEAT_GROUP || NodeArg(node, 0) != 0 || NodeArg(node, 1) != kUnbounded) {
        return;
    }
    const unsigned char* body = node + 8;
    const unsigned char* next = NextNode(node);
    if ((body[0] == OP_ANY_BUT_NEWLINE || body[0] == OP_ANY_CHAR) && next != nullptr &&
        NextNode(body) == next - 4) {
        rx->anchorFlags |= ANCHOR_IMPLICIT;
    }
}

}  // namespace regex
