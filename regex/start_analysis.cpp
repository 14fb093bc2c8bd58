// Start analysis.
//
// Two walks over the program of a pattern with a single top-level alternative record what
// every match must look like, so the matcher can skip start positions cheaply:
// - the start walk passes over nodes that cannot change the first character (group opens,
//   a lone alternative, the first iteration of a loop that must run at least once) and notes
//   a leading literal, a leading class-like node, or a line anchor;
// - the must-literal walk follows the main chain, gluing adjacent literals into a candidate,
//   keeping the longest one seen and its distance from the match start while that distance is
//   fixed. The matcher searches that literal once with a skip table before any attempt.
#include "regex/start_analysis.h"

#include "regex/char_mode.h"
#include "regex/node_program.h"

namespace regex {
namespace {

// Distances at or below this mean "varies"; literal lengths can never bring them back up.
constexpr long kVariable = -(1L << 30);

bool IsLineEnd(const unsigned char* node) {
    return node != nullptr && NodeFamily(node[0]) == OP_LINE_END;
}

class OwnedLiteral {
  public:
    OwnedLiteral() : s_(CreateLiteralString("", 0)) {}
    OwnedLiteral(const OwnedLiteral&) = delete;
    OwnedLiteral& operator=(const OwnedLiteral&) = delete;
    ~OwnedLiteral() { FreeLiteralString(s_); }
    LiteralString* get() const { return s_; }
    LiteralString* release() {
        LiteralString* s = s_;
        s_ = nullptr;
        return s;
    }

  private:
    LiteralString* s_;
};

}  // namespace

void AnalyseStart(RegexRecord* rx, const unsigned char* first, bool sawBackref) {
    const unsigned char* node = first;
    bool groupOpens = false;
    bool plusSeen = false;
    for (;;) {
        for (;;) {
            const int kind = node[0];
            if (kind == OP_GROUP_OPEN) {
                groupOpens = true;
                node += 6;
            } else if (kind == OP_ALTERNATIVE && NextNode(node) != nullptr &&
                       NextNode(node)[0] != OP_ALTERNATIVE) {
                node += 4;
            } else if (kind == OP_PLUS_SIMPLE) {
                plusSeen = true;
                node += 4;
            } else if (kind == OP_LAZY) {
                node += 4;
            } else if ((kind == OP_REPEAT_SIMPLE || kind == OP_REPEAT_GROUP) &&
                       NodeArg(node, 0) > 0) {
                node += 8;
            } else {
                break;
            }
        }
        const int kind = node[0];
        if (kind == OP_LITERAL) {
            if (LiteralLength(node) > 0) {
                rx->startLiteral = CreateLiteralString(
                    reinterpret_cast<const char*>(LiteralBytes(node)), LiteralLength(node));
            }
        } else if (IsStartClass(kind) || kind == OP_BOUNDARY || kind == OP_NON_BOUNDARY) {
            rx->startClass = node;
        } else if (NodeFamily(kind) == OP_LINE_START) {
            rx->anchorFlags |= ANCHOR_START;
            node += 4;
            continue;
        }
        break;
    }
    if (plusSeen && (!groupOpens || !sawBackref)) {
        rx->anchorFlags |= ANCHOR_SKIP_RUN;
    }
}

void AnalyseMustLiteral(RegexRecord* rx, const unsigned char* first, bool fold) {
    OwnedLiteral candidate;
    OwnedLiteral best;
    long candidateStart = 0;
    long bestStart = 0;
    long distance = 0;
    const unsigned char* follower = nullptr;

    auto keepLonger = [&] {
        if (candidate.get()->length > best.get()->length) {
            CopyLiteralString(best.get(), candidate.get());
            bestStart = candidateStart;
        }
        SetLiteralString(candidate.get(), "", 0);
    };

    const unsigned char* node = first;
    while (node != nullptr && node[0] != OP_ACCEPT) {
        const int kind = node[0];
        if (kind == OP_ALTERNATIVE) {
            const unsigned char* next = NextNode(node);
            if (next != nullptr && next[0] == OP_ALTERNATIVE) {
                while (node != nullptr && node[0] == OP_ALTERNATIVE) {
                    node = NextNode(node);
                }
                distance = kVariable;
            } else {
                node += 4;
            }
            continue;
        }
        if (kind == OP_NEG_LOOKAHEAD) {
            distance = kVariable;
        } else if (kind == OP_LITERAL) {
            const unsigned char* literal = node;
            const unsigned char* next = NextNode(node);
            while (next != nullptr && next[0] == OP_GROUP_CLOSE) {
                node = next;
                next = NextNode(node);
            }
            const int length = LiteralLength(literal);
            const auto* bytes = reinterpret_cast<const char*>(LiteralBytes(literal));
            if (distance - candidateStart == candidate.get()->length) {
                AppendLiteralString(candidate.get(), bytes, length);
                distance += length;
                follower = next;
            } else if (length >= candidate.get()->length + (distance >= 0 ? 1 : 0)) {
                SetLiteralString(candidate.get(), bytes, length);
                candidateStart = distance;
                distance += length;
                follower = next;
            } else {
                distance += length;
            }
        } else if (IsVarying(kind)) {
            distance = kVariable;
            keepLonger();
        } else if (IsSingleStep(kind)) {
            distance += 1;
            keepLonger();
        }
        node = NextNode(node);
    }

    bool tookCandidate = false;
    if (candidate.get()->length + (IsLineEnd(follower) ? 1 : 0) > best.get()->length) {
        CopyLiteralString(best.get(), candidate.get());
        bestStart = candidateStart;
        tookCandidate = candidate.get()->length > 0;
    }
    LiteralString* must = best.get();
    if (must->length == 0) {
        return;
    }
    if (rx->startLiteral != nullptr &&
        PlainSearch(rx->startLiteral->data, rx->startLiteral->data + rx->startLiteral->length,
                    must->data, must->data + must->length, CharMode::kBytes) != nullptr) {
        return;
    }
    rx->mustOffset = bestStart >= 0 ? static_cast<int32_t>(bestStart) : -1;
    if (must->length > 1 || fold || IsLineEnd(follower)) {
        BuildSkipTable(must, fold);
    }
    must->usefulness = 100;
    if (IsLineEnd(follower) && tookCandidate) {
        must->flags |= kLiteralTail;
    }
    rx->mustLiteral = best.release();
}

}  // namespace regex
