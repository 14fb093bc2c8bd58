// Generated patterns and subjects checked against a plain backtracking reference that knows
// nothing of the engine's shortcuts (start bytes, start literals and classes, must-literals,
// one attempt per line, run skipping, first-byte filters): the leftmost match must agree.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "regex_test_util.h"

namespace {

// ---- Reference -------------------------------------------------------------------------------

struct Node;
using NodePtr = std::shared_ptr<Node>;
using Cont = std::function<bool(std::size_t)>;

struct Node {
    enum Kind { kChar, kDot, kClass, kSeq, kAlt, kRepeat } kind;
    char c = 0;
    std::string members;  // kClass: bytes in the class
    bool negated = false;
    std::vector<NodePtr> items;  // kSeq, kAlt; kRepeat: one body
    int min = 0;
    int max = -1;  // -1: no limit
    bool lazy = false;
};

class Reference {
  public:
    explicit Reference(const std::string& text) : text_(text) {}

    bool Match(const NodePtr& n, std::size_t p, const Cont& k) const {
        switch (n->kind) {
            case Node::kChar:
                return p < text_.size() && text_[p] == n->c && k(p + 1);
            case Node::kDot:
                return p < text_.size() && text_[p] != '\n' && k(p + 1);
            case Node::kClass: {
                if (p >= text_.size()) {
                    return false;
                }
                const bool in = n->members.find(text_[p]) != std::string::npos;
                return in != n->negated && k(p + 1);
            }
            case Node::kSeq:
                return Seq(n, 0, p, k);
            case Node::kAlt:
                for (const NodePtr& item : n->items) {
                    if (Match(item, p, k)) {
                        return true;
                    }
                }
                return false;
            case Node::kRepeat:
                return Loop(n, 0, p, static_cast<std::size_t>(-1), k);
        }
        return false;
    }

  private:
    bool Seq(const NodePtr& n, std::size_t i, std::size_t p, const Cont& k) const {
        if (i == n->items.size()) {
            return k(p);
        }
        return Match(n->items[i], p, [&](std::size_t q) { return Seq(n, i + 1, q, k); });
    }

    // An iteration that matched empty ends the loop.
    bool Loop(const NodePtr& n, int count, std::size_t p, std::size_t last, const Cont& k) const {
        if (p == last) {
            return k(p);
        }
        auto again = [&](std::size_t q) { return Loop(n, count + 1, q, p, k); };
        if (count < n->min) {
            return Match(n->items[0], p, again);
        }
        const bool more = n->max < 0 || count < n->max;
        if (n->lazy) {
            return k(p) || (more && Match(n->items[0], p, again));
        }
        return (more && Match(n->items[0], p, again)) || k(p);
    }

    const std::string& text_;
};

// ---- Generator -------------------------------------------------------------------------------

class Generator {
  public:
    explicit Generator(uint32_t seed) : state_(seed) {}

    uint32_t Next(uint32_t bound) {
        state_ = state_ * 1664525u + 1013904223u;
        return (state_ >> 8) % bound;
    }

    // A pattern and its tree.
    NodePtr Pattern(std::string& out, int depth) {
        auto alt = std::make_shared<Node>();
        alt->kind = Node::kAlt;
        const int branches = depth > 1 || Next(4) != 0 ? 1 : 2;
        for (int b = 0; b < branches; ++b) {
            if (b > 0) {
                out += '|';
            }
            auto seq = std::make_shared<Node>();
            seq->kind = Node::kSeq;
            const int pieces = 1 + static_cast<int>(Next(3));
            for (int i = 0; i < pieces; ++i) {
                seq->items.push_back(Piece(out, depth));
            }
            alt->items.push_back(seq);
        }
        return alt;
    }

    std::string Subject(bool upper) {
        std::string s;
        const int length = 1 + static_cast<int>(Next(12));
        for (int i = 0; i < length; ++i) {
            s += (upper ? "aAbBC\n" : "aabbc\n")[Next(6)];
        }
        return s;
    }

  private:
    NodePtr Atom(std::string& out, int depth) {
        auto n = std::make_shared<Node>();
        const uint32_t pick = Next(depth < 2 ? 7 : 5);
        if (pick <= 2) {
            n->kind = Node::kChar;
            n->c = "abc"[pick];
            out += n->c;
        } else if (pick == 3) {
            n->kind = Node::kDot;
            out += '.';
        } else if (pick == 4) {
            n->kind = Node::kClass;
            n->negated = Next(3) == 0;
            n->members = Next(2) ? "ab" : "c";
            out += std::string("[") + (n->negated ? "^" : "") + n->members + "]";
        } else {
            out += "(?:";
            NodePtr inner = Pattern(out, depth + 1);
            out += ')';
            return inner;
        }
        return n;
    }

    NodePtr Piece(std::string& out, int depth) {
        std::string atomText;
        NodePtr atom = Atom(atomText, depth);
        out += atomText;
        const uint32_t q = Next(8);
        if (q >= 5) {
            return atom;
        }
        auto r = std::make_shared<Node>();
        r->kind = Node::kRepeat;
        r->items.push_back(atom);
        static const char* const kQuantifiers[] = {"*", "+", "?", "{1,2}", "{2,}"};
        static const int kMin[] = {0, 1, 0, 1, 2};
        static const int kMax[] = {-1, -1, 1, 2, -1};
        out += kQuantifiers[q];
        r->min = kMin[q];
        r->max = kMax[q];
        if (Next(4) == 0) {
            out += '?';
            r->lazy = true;
        }
        return r;
    }

    uint32_t state_;
};

std::string ReferenceMatch(const NodePtr& pattern, const std::string& subject) {
    Reference ref(subject);
    for (std::size_t start = 0; start <= subject.size(); ++start) {
        std::size_t end = 0;
        if (ref.Match(pattern, start, [&](std::size_t q) {
                end = q;
                return true;
            })) {
            return "[" + std::to_string(start) + "," + std::to_string(end) + ")";
        }
    }
    return "no match";
}

TEST(GeneratedMatch, AgreesWithTheReference) {
    Generator gen(20240607);
    int compared = 0;
    for (int i = 0; i < 3000; ++i) {
        std::string pattern;
        const NodePtr tree = gen.Pattern(pattern, 0);
        // Every third pattern is case-insensitive and meets upper-case letters.
        const bool fold = i % 3 == 0;
        auto rx = regex_test::Compile(pattern, fold ? uint32_t{regex::FLAG_FOLD} : 0u);
        ASSERT_TRUE(rx) << pattern;
        for (int j = 0; j < 6; ++j) {
            const std::string subject = gen.Subject(fold);
            std::string lowered = subject;
            for (char& c : lowered) {
                c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
            }
            const std::string expected = ReferenceMatch(tree, lowered);
            std::string actual = regex_test::MatchWith(rx.get(), subject);
            if (actual[0] == '[') {
                actual = actual.substr(0, actual.find(' '));  // the whole match only
            }
            EXPECT_EQ(actual, expected)
                << "pattern " << pattern << " subject \"" << subject << "\" fold " << fold;
            ++compared;
        }
    }
    EXPECT_EQ(compared, 18000);
}

}  // namespace
