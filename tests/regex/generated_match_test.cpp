// Generated patterns and subjects checked against a plain backtracking reference that knows
// nothing of the engine's shortcuts (start bytes, start literals and classes, must-literals,
// one attempt per line, run skipping, first-byte filters): the leftmost match must agree.
// Case-insensitive patterns meet upper-case subjects; in kanji mode the alphabet holds a
// double-byte character whose second byte is "A", next to a plain "A"; in UTF-8 it holds
// characters of two, three and four bytes, two of them alike but for their last byte. With
// capturing groups the reference also follows each group's last capture along the match, as
// loops must leave it: the groups of the last iteration that took part, earlier ones untouched.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "regex_test_util.h"

namespace {

using Text = std::vector<std::string>;  // one character per entry

// ---- Reference -------------------------------------------------------------------------------

struct Node;
using NodePtr = std::shared_ptr<Node>;
using Cont = std::function<bool(std::size_t)>;

struct Node {
    enum Kind { kChar, kDot, kClass, kSeq, kAlt, kRepeat, kGroup } kind;
    std::string c;                     // kChar
    std::vector<std::string> members;  // kClass
    bool negated = false;
    std::vector<NodePtr> items;  // kSeq, kAlt; kRepeat: one body
    int min = 0;
    int max = -1;  // -1: no limit
    bool lazy = false;
    int group = 0;  // kGroup: its number; one body in items
};

// A group's capture as character indexes; none when it took no part.
struct Capture {
    std::size_t start = 0;
    std::size_t end = 0;
    bool set = false;
};

class Reference {
  public:
    explicit Reference(const Text& text, int groups = 0) : text_(text), captures_(groups + 1) {}

    const std::vector<Capture>& Captures() const { return captures_; }

    bool Match(const NodePtr& n, std::size_t p, const Cont& k) const {
        switch (n->kind) {
            case Node::kChar:
                return p < text_.size() && text_[p] == n->c && k(p + 1);
            case Node::kDot:
                return p < text_.size() && text_[p] != "\n" && k(p + 1);
            case Node::kClass: {
                if (p >= text_.size()) {
                    return false;
                }
                bool in = false;
                for (const std::string& m : n->members) {
                    in = in || m == text_[p];
                }
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
            case Node::kGroup: {
                Capture& slot = captures_[static_cast<std::size_t>(n->group)];
                return Match(n->items[0], p, [&, p](std::size_t q) {
                    const Capture before = slot;
                    slot = {p, q, true};
                    if (k(q)) {
                        return true;
                    }
                    slot = before;
                    return false;
                });
            }
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

    const Text& text_;
    mutable std::vector<Capture> captures_;  // along the path being tried
};

// The leftmost match as "[start,end)" in bytes, then each group's "[start,end)" or "-", or
// "no match".
std::string ReferenceMatch(const NodePtr& pattern, const Text& text, int groups = 0) {
    Reference ref(text, groups);
    std::vector<std::size_t> offset{0};
    for (const std::string& c : text) {
        offset.push_back(offset.back() + c.size());
    }
    for (std::size_t start = 0; start <= text.size(); ++start) {
        std::size_t end = 0;
        if (ref.Match(pattern, start, [&](std::size_t q) {
                end = q;
                return true;
            })) {
            std::string out =
                "[" + std::to_string(offset[start]) + "," + std::to_string(offset[end]) + ")";
            for (int g = 1; g <= groups; ++g) {
                const Capture& c = ref.Captures()[static_cast<std::size_t>(g)];
                out += c.set ? " [" + std::to_string(offset[c.start]) + "," +
                                   std::to_string(offset[c.end]) + ")"
                             : " -";
            }
            return out;
        }
    }
    return "no match";
}

// ---- Generator -------------------------------------------------------------------------------

const std::string kKa = "\x83\x41";  // a double-byte character ending in "A"

enum class Alphabet { kBytes, kKanji, kUtf8 };

// あ, ぃ, é and an emoji in UTF-8.
const std::string kUtf8Letters[] = {"a", "A", "\xE3\x81\x82", "\xE3\x81\x83", "\xC3\xA9",
                                    "\xF0\x9F\x98\x80"};

class Generator {
  public:
    Generator(uint32_t seed, Alphabet alphabet, bool captures = false)
        : state_(seed), alphabet_(alphabet), captures_(captures) {}

    // Capturing groups made so far (numbered in the order of their opening parentheses).
    int Groups() const { return groups_; }
    void ResetGroups() { groups_ = 0; }

    uint32_t Next(uint32_t bound) {
        state_ = state_ * 1664525u + 1013904223u;
        return (state_ >> 8) % bound;
    }

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

    Text Subject(bool upper) {
        static const char* const kPlain[] = {"a", "a", "b", "b", "c", "\n"};
        static const char* const kUpper[] = {"a", "A", "b", "B", "C", "\n"};
        Text text;
        const int length = 1 + static_cast<int>(Next(12));
        for (int i = 0; i < length; ++i) {
            if (alphabet_ == Alphabet::kKanji) {
                static const std::string kKanji[] = {"a", "b", "A", kKa, kKa, "\n"};
                text.push_back(kKanji[Next(6)]);
            } else if (alphabet_ == Alphabet::kUtf8) {
                text.push_back(Next(7) == 0 ? std::string("\n") : kUtf8Letters[Next(6)]);
            } else {
                text.emplace_back(upper ? kUpper[Next(6)] : kPlain[Next(6)]);
            }
        }
        return text;
    }

  private:
    std::string Letter() {
        if (alphabet_ == Alphabet::kKanji) {
            static const std::string kLetters[] = {"a", "b", "A", kKa};
            return kLetters[Next(4)];
        }
        if (alphabet_ == Alphabet::kUtf8) {
            return kUtf8Letters[Next(6)];
        }
        return std::string(1, "abc"[Next(3)]);
    }

    NodePtr Atom(std::string& out, int depth) {
        auto n = std::make_shared<Node>();
        const uint32_t pick = Next(depth < 2 ? 7 : 5);
        if (pick <= 2) {
            n->kind = Node::kChar;
            n->c = Letter();
            out += n->c;
        } else if (pick == 3) {
            n->kind = Node::kDot;
            out += '.';
        } else if (pick == 4) {
            n->kind = Node::kClass;
            n->negated = Next(3) == 0;
            out += n->negated ? "[^" : "[";
            const int count = 1 + static_cast<int>(Next(2));
            for (int i = 0; i < count; ++i) {
                n->members.push_back(Letter());
                out += n->members.back();
            }
            out += ']';
        } else if (captures_ && Next(2) == 0) {
            n->kind = Node::kGroup;
            n->group = ++groups_;
            out += '(';
            n->items.push_back(Pattern(out, depth + 1));
            out += ')';
        } else {
            out += "(?:";
            NodePtr inner = Pattern(out, depth + 1);
            out += ')';
            return inner;
        }
        return n;
    }

    NodePtr Piece(std::string& out, int depth) {
        NodePtr atom = Atom(out, depth);
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
    Alphabet alphabet_;
    bool captures_ = false;
    int groups_ = 0;
};

void Compare(Alphabet alphabet, uint32_t seed) {
    const bool kanji = alphabet != Alphabet::kBytes;
    Generator gen(seed, alphabet);
    for (int i = 0; i < 3000; ++i) {
        std::string pattern;
        const NodePtr tree = gen.Pattern(pattern, 0);
        // Without kanji mode every third pattern is case-insensitive and meets upper case.
        const bool fold = !kanji && i % 3 == 0;
        const uint32_t flags =
            (fold ? uint32_t{regex::FLAG_FOLD} : 0u) | (kanji ? uint32_t{regex::FLAG_KANJI} : 0u) |
            (alphabet == Alphabet::kUtf8 ? uint32_t{regex::FLAG_UTF8} : 0u);
        auto rx = regex_test::Compile(pattern, flags);
        ASSERT_TRUE(rx) << pattern;
        for (int j = 0; j < 6; ++j) {
            const Text text = gen.Subject(fold);
            std::string subject;
            Text lowered;
            for (const std::string& c : text) {
                subject += c;
                lowered.push_back(c.size() == 1 && c[0] >= 'A' && c[0] <= 'C' && fold
                                      ? std::string(1, static_cast<char>(c[0] - 'A' + 'a'))
                                      : c);
            }
            const std::string expected = ReferenceMatch(tree, lowered);
            std::string actual = regex_test::MatchWith(rx.get(), subject);
            if (actual[0] == '[') {
                actual = actual.substr(0, actual.find(' '));  // the whole match only
            }
            EXPECT_EQ(actual, expected)
                << "pattern " << pattern << " subject \"" << subject << "\" flags " << flags;
        }
    }
}

// Patterns with capturing groups, most of them inside loops: the whole match and every group.
void CompareCaptures(Alphabet alphabet, uint32_t seed) {
    const uint32_t flags = alphabet == Alphabet::kBytes  ? 0u
                           : alphabet == Alphabet::kKanji ? uint32_t{regex::FLAG_KANJI}
                                                          : uint32_t{regex::FLAG_KANJI | regex::FLAG_UTF8};
    Generator gen(seed, alphabet, true);
    for (int i = 0; i < 2000; ++i) {
        std::string pattern;
        gen.ResetGroups();
        const NodePtr tree = gen.Pattern(pattern, 0);
        auto rx = regex_test::Compile(pattern, flags);
        ASSERT_TRUE(rx) << pattern;
        for (int j = 0; j < 6; ++j) {
            const Text text = gen.Subject(false);
            std::string subject;
            for (const std::string& c : text) {
                subject += c;
            }
            EXPECT_EQ(regex_test::MatchWith(rx.get(), subject),
                      ReferenceMatch(tree, text, gen.Groups()))
                << "pattern " << pattern << " subject \"" << subject << "\" flags " << flags;
        }
    }
}

TEST(GeneratedMatch, CapturesAgreeWithTheReference) {
    CompareCaptures(Alphabet::kBytes, 90210);
    CompareCaptures(Alphabet::kKanji, 31337);
    CompareCaptures(Alphabet::kUtf8, 2718);
}

TEST(GeneratedMatch, AgreesWithTheReference) {
    Compare(Alphabet::kBytes, 20240607);
}

TEST(GeneratedMatch, AgreesWithTheReferenceInKanjiMode) {
    Compare(Alphabet::kKanji, 777);
}

TEST(GeneratedMatch, AgreesWithTheReferenceInUtf8) {
    Compare(Alphabet::kUtf8, 4242);
}

}  // namespace
