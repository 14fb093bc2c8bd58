// Pattern compiler.
//
// A recursive-descent parser runs twice over the same text. The sizing pass only counts the
// bytes the program will take; the record is then allocated once, with the program at its
// tail, and the emitting pass runs the same parsing code again, now writing the nodes. Inline
// options found in the sizing pass stay in force from the start of the emitting pass, so the
// whole pattern is compiled as if they had been given up front.
//
// Parsing works on a NUL-terminated copy of the pattern, so no scan can run past its end.
// Nodes are linked through relative "next" offsets; quantifiers and look-aheads are inserted
// in front of their operand by moving the operand's bytes up, which keeps the relative
// offsets inside the moved block valid.
#include "regex/compile.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/sjis_bytes.h"
#include "regex/char_mode.h"
#include "regex/error_text.h"
#include "regex/node_program.h"
#include "regex/start_analysis.h"

namespace regex {
namespace {

constexpr int kMaxProgram = 32767;
constexpr int kMaxRunBytes = 126;
constexpr int kCostCap = 1 << 20;

bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}
bool IsAsciiSpace(unsigned char c) {
    return c == ' ' || (c >= 9 && c <= 13);
}
unsigned char Lower(unsigned char c) {
    return platform::sjis::AsciiLower(c);
}

// Decimal number at p (digits only), saturating well above any meaningful value.
long ReadDecimal(const char* p, const char* end) {
    long n = 0;
    while (p < end && IsDigit(static_cast<unsigned char>(*p))) {
        n = n * 10 + (*p - '0');
        if (n > 10000000) {
            n = 10000000;
        }
        ++p;
    }
    return n;
}

[[noreturn]] void Fail(const char* text) {
    throw RegexError(text);
}

[[noreturn]] void FailWithChar(const char* format, char c) {
    char text[kErrorTextSize];
    std::snprintf(text, sizeof text, format, c);
    Fail(text);
}

struct Atom {
    int node = -1;  // -1: nothing produced (a comment or an option group)
    bool simple = false;
};

class CompileState {
  public:
    CompileState(const char* begin, const char* end, uint32_t flags)
        : begin_(begin), end_(end), flags_(flags) {}

    // One pass; `code` null counts only. Returns the program size.
    int Run(unsigned char* code, int capacity) {
        code_ = code;
        capacity_ = capacity;
        pos_ = begin_;
        cursor_ = 0;
        nextGroup_ = 1;
        cost_ = 0;
        sawBackref_ = false;
        multiline_ = (flags_ & FLAG_MULTILINE) != 0;
        mode_ = CharModeOf(flags_);
        EmitByte(PROGRAM_MAGIC);
        ParseGroup(false);
        return cursor_;
    }

    uint32_t flags() const { return flags_; }
    int cost() const { return cost_; }
    bool sawBackref() const { return sawBackref_; }
    int groupCount() const { return nextGroup_ - 1; }

  private:
    // ---- Output ------------------------------------------------------------------------
    void EmitByte(unsigned char b) {
        if (code_ != nullptr) {
            if (cursor_ >= capacity_) {
                Fail("fatal error");
            }
            code_[cursor_] = b;
        }
        if (++cursor_ >= kMaxProgram + 16) {
            Fail("too big compile");
        }
    }
    void EmitU16(unsigned v) {
        EmitByte(static_cast<unsigned char>(v & 0xFF));
        EmitByte(static_cast<unsigned char>(v >> 8));
    }
    int EmitNode(unsigned char kind) {
        if (cursor_ % 2 == 0) {
            EmitByte(NODE_PAD);
        }
        const int node = cursor_;
        EmitByte(kind);
        EmitU16(0);
        return node;
    }
    int EmitNode(unsigned char kind, unsigned arg) {
        const int node = EmitNode(kind);
        EmitU16(arg);
        return node;
    }
    // Inserts a node (4 bytes, or 8 with two arguments) in front of the operand at `at`.
    void Insert(unsigned char kind, int at, unsigned min = 0, unsigned max = 0) {
        const int size = kind == OP_REPEAT_SIMPLE || kind == OP_REPEAT_GROUP ? 8 : 4;
        if (code_ == nullptr) {
            cursor_ += size;
            if (cursor_ >= kMaxProgram + 16) {
                Fail("too big compile");
            }
            return;
        }
        if (cursor_ + size > capacity_) {
            Fail("fatal error");
        }
        std::memmove(code_ + at + size, code_ + at, static_cast<std::size_t>(cursor_ - at));
        cursor_ += size;
        unsigned char* node = code_ + at;
        std::memset(node, 0, static_cast<std::size_t>(size));
        node[0] = kind;
        if (size == 8) {
            node[3] = static_cast<unsigned char>(min & 0xFF);
            node[4] = static_cast<unsigned char>(min >> 8);
            node[5] = static_cast<unsigned char>(max & 0xFF);
            node[6] = static_cast<unsigned char>(max >> 8);
        }
        node[size - 1] = NODE_PAD;
    }
    // Sets the next offset of the last node of the chain starting at `chain` to `target`.
    void Tail(int chain, int target) {
        if (code_ == nullptr) {
            return;
        }
        int scan = chain;
        for (;;) {
            const int offset = NextOffset(code_ + scan);
            if (offset == 0) {
                break;
            }
            scan += offset;
        }
        const auto offset = static_cast<int16_t>(target - scan);
        std::memcpy(code_ + scan + 1, &offset, 2);
    }
    // Links the body of an alternative node to `target`.
    void TailBody(int node, int target) {
        if (code_ != nullptr && code_[node] == OP_ALTERNATIVE) {
            Tail(node + 4, target);
        }
    }

    // ---- Input -------------------------------------------------------------------------
    unsigned char Peek(int k = 0) const {
        return pos_ + k < end_ ? static_cast<unsigned char>(pos_[k]) : 0;
    }
    bool AtEnd() const { return pos_ >= end_; }
    bool Extended() const { return (flags_ & FLAG_EXTENDED) != 0; }

    // Skips "(?#...)" comments and, in extended mode, white space and "#" comments at p.
    const char* SkipWhite(const char* p) const {
        for (;;) {
            if (p + 2 < end_ && p[0] == '(' && p[1] == '?' && p[2] == '#') {
                p += 3;
                while (p < end_ && *p != ')') {
                    ++p;
                }
                if (p >= end_) {
                    Fail("Sequence (?#... not terminated");
                }
                ++p;
            } else if (Extended() && p < end_ && IsAsciiSpace(static_cast<unsigned char>(*p))) {
                ++p;
            } else if (Extended() && p < end_ && *p == '#') {
                while (p < end_ && *p != '\n') {
                    ++p;
                }
                if (p < end_) {
                    ++p;
                }
            } else {
                return p;
            }
        }
    }
    // Steps past `count` characters and the white space and comments after them.
    void Advance(int count = 1) {
        pos_ = pos_ + count <= end_ ? pos_ + count : end_;
        pos_ = SkipWhite(pos_);
    }

    // "{n}", "{n,}" or "{n,m}" at p.
    bool IsCountedRepeat(const char* p) const {
        if (p >= end_ || *p != '{' || p + 1 >= end_ || !IsDigit(p[1])) {
            return false;
        }
        ++p;
        while (p < end_ && IsDigit(*p)) {
            ++p;
        }
        if (p < end_ && *p == ',') {
            ++p;
        }
        while (p < end_ && IsDigit(*p)) {
            ++p;
        }
        return p < end_ && *p == '}';
    }
    bool IsQuantifierStart(const char* p) const {
        return p < end_ && (*p == '*' || *p == '+' || *p == '?' || IsCountedRepeat(p));
    }

    // ---- Grammar -----------------------------------------------------------------------
    int ParseGroup(bool paren) {
        char kind = 0;  // 0 capturing/top level, ':' '=' '!'
        int group = 0;
        int ret = -1;
        if (paren && Peek() == '?') {
            const char c = static_cast<char>(Peek(1));
            if (pos_ + 1 >= end_) {
                Fail("unmatched () in regexp");
            }
            pos_ += 2;
            if (c == '!' || c == ':' || c == '=') {
                kind = c;
            } else if (c == '#') {
                while (pos_ < end_ && *pos_ != ')') {
                    ++pos_;
                }
                if (pos_ >= end_) {
                    Fail("Sequence (?#... not terminated");
                }
                Advance();
                return -1;
            } else if (c == '$' || c == '@') {
                FailWithChar("Sequence (?%c...) not implemented", c);
            } else {
                --pos_;
                while (pos_ < end_ && std::strchr("iogmsx", *pos_) != nullptr) {
                    flags_ |= OptionBit(*pos_);
                    ++pos_;
                }
                if (pos_ >= end_ || *pos_ != ')') {
                    FailWithChar("Sequence (?%c...) not recognized", c);
                }
                Advance();
                return -1;
            }
        } else if (paren) {
            group = nextGroup_++;
            ret = EmitNode(OP_GROUP_OPEN, static_cast<unsigned>(group));
        }

        const int first = ParseAlternative();
        if (ret != -1) {
            Tail(ret, first);
        } else {
            ret = first;
        }
        int count = 1;
        while (Peek() == '|' && !AtEnd()) {
            Advance();
            Tail(ret, ParseAlternative());
            ++count;
        }

        int ender;
        if (!paren) {
            ender = EmitNode(OP_ACCEPT);
        } else if (kind == 0) {
            ender = EmitNode(OP_GROUP_CLOSE, static_cast<unsigned>(group));
        } else if (kind == ':') {
            ender = EmitNode(OP_EMPTY);
        } else {
            ender = EmitNode(OP_SUBMATCH_END);
        }
        Tail(ret, ender);
        if (code_ != nullptr) {
            for (int alt = first; alt != ender;) {
                TailBody(alt, ender);
                const int offset = NextOffset(code_ + alt);
                if (offset == 0) {
                    break;
                }
                alt += offset;
            }
        }
        if (kind == '=' || kind == '!') {
            Insert(kind == '=' ? OP_LOOKAHEAD : OP_NEG_LOOKAHEAD, ret);
            Tail(ret, EmitNode(OP_EMPTY));
        }

        if (paren) {
            if (AtEnd() || Peek() != ')') {
                Fail("unmatched () in regexp");
            }
            Advance();
        } else if (!AtEnd()) {
            Fail(Peek() == ')' ? "unmatched () in regexp" : "junk on end of regexp");
        }
        if (!paren) {
            topLevelAlternatives_ = count;
        }
        return ret;
    }

    static uint32_t OptionBit(char c) {
        switch (c) {
            case 'i':
                return FLAG_FOLD;
            case 'o':
                return FLAG_ONCE;
            case 'g':
                return FLAG_GLOBAL;
            case 'm':
                return FLAG_MULTILINE;
            case 's':
                return FLAG_SINGLELINE;
            default:
                return FLAG_EXTENDED;
        }
    }

    int ParseAlternative() {
        const int ret = EmitNode(OP_ALTERNATIVE);
        pos_ = SkipWhite(pos_);
        int chain = -1;
        bool any = false;
        while (!AtEnd() && Peek() != '|' && Peek() != ')') {
            const int piece = ParsePiece();
            if (piece == -1) {
                continue;
            }
            if (any) {
                Cost(cost_ + 1);
                Tail(chain, piece);
            }
            chain = piece;
            any = true;
        }
        if (!any) {
            EmitNode(OP_EMPTY);
        }
        return ret;
    }

    void Cost(long value) { cost_ = static_cast<int>(value > kCostCap ? kCostCap : value); }

    int ParsePiece() {
        const Atom atom = ParseAtom();
        if (atom.node == -1) {
            return -1;
        }
        if (pos_ + 2 < end_ && pos_[0] == '(' && pos_[1] == '?' && pos_[2] == '#') {
            pos_ = SkipWhite(pos_);
        }
        long min;
        long max;
        char op = static_cast<char>(Peek());
        if (AtEnd()) {
            return atom.node;
        }
        if (op == '{' && IsCountedRepeat(pos_)) {
            const char* p = pos_ + 1;
            min = ReadDecimal(p, end_);
            while (IsDigit(*p)) {
                ++p;
            }
            if (*p == ',') {
                ++p;
                max = *p == '}' ? kUnbounded : ReadDecimal(p, end_);
                while (IsDigit(*p)) {
                    ++p;
                }
            } else {
                max = min;
            }
            if (min > 65535 || max > 65535) {
                Fail("Quantifier in {,} bigger than 65535");
            }
            pos_ = p;  // at "}"
            Advance();
        } else if (op == '*' || op == '+' || op == '?') {
            min = op == '+' ? 1 : 0;
            max = op == '?' ? 1 : kUnbounded;
            Advance();
        } else {
            return atom.node;
        }
        if (max != 0 && max < min) {
            Fail("Can't do {n,m} with n > m");
        }

        const int node = atom.node;
        if (op == '*' && atom.simple) {
            Insert(OP_STAR_SIMPLE, node);
            Cost(cost_ + 4L);
        } else if (op == '+' && atom.simple) {
            Insert(OP_PLUS_SIMPLE, node);
            Cost(cost_ + 3L);
        } else if (atom.simple) {
            Insert(OP_REPEAT_SIMPLE, node, static_cast<unsigned>(min), static_cast<unsigned>(max));
            Cost(cost_ + 2L + cost_ / 2);
        } else {
            Tail(node, EmitNode(OP_LOOP_STEP));
            Insert(OP_REPEAT_GROUP, node, static_cast<unsigned>(min), static_cast<unsigned>(max));
            Tail(node, EmitNode(OP_EMPTY));
            Cost(2L * cost_ + 4);
        }
        if (Peek() == '?' && !AtEnd()) {
            Advance();
            Insert(OP_LAZY, node);
            Tail(node, node + 4);
        }
        if (IsQuantifierStart(pos_)) {
            Fail("nested *?+ in regexp");
        }
        return node;
    }

    Atom ParseAtom() {
        for (;;) {
            const unsigned char c = Peek();
            if (AtEnd() || c == '|' || c == ')') {
                if (afterNothing_) {
                    afterNothing_ = false;
                    return {};
                }
                char text[kErrorTextSize];
                std::snprintf(text, sizeof text, "internal urp at /%.50s/", begin_);
                Fail(text);
            }
            afterNothing_ = false;
            switch (c) {
                case '^':
                    Advance();
                    return {EmitNode(multiline_     ? OP_LINE_START_M
                                     : SingleLine() ? OP_TEXT_START
                                                    : OP_LINE_START),
                            false};
                case '$':
                    Advance();
                    return {EmitNode(multiline_     ? OP_LINE_END_M
                                     : SingleLine() ? OP_TEXT_END
                                                    : OP_LINE_END),
                            false};
                case '.':
                    Advance();
                    Cost(cost_ + 1L);
                    return {EmitNode(SingleLine() ? OP_ANY_CHAR : OP_ANY_BUT_NEWLINE), false};
                case '[':
                    ++pos_;
                    return {ParseClass(), false};
                case '(': {
                    Advance();
                    const int node = ParseGroup(true);
                    if (node == -1) {
                        afterNothing_ = true;
                        continue;
                    }
                    return {node, false};
                }
                case '*':
                case '+':
                case '?':
                    Fail("?+* follows nothing");
                case '#':
                    if (Extended()) {
                        while (pos_ < end_ && *pos_ != '\n') {
                            ++pos_;
                        }
                        if (!AtEnd()) {
                            afterNothing_ = true;
                            continue;
                        }
                    }
                    return ParseLiteralRun();
                case '\\': {
                    if (pos_ + 1 >= end_) {
                        Fail("trailing \\ in regexp");
                    }
                    const int kind = EscapeNode(static_cast<unsigned char>(pos_[1]));
                    if (kind >= 0) {
                        Advance(2);
                        return {EmitNode(static_cast<unsigned char>(kind)), IsSimpleEscape(kind)};
                    }
                    if (pos_[1] >= '1' && pos_[1] <= '9') {
                        const long n = ReadDecimal(pos_ + 1, end_);
                        if (n < 10 || n < nextGroup_) {
                            sawBackref_ = true;
                            const int node = EmitNode(OP_BACKREF, static_cast<unsigned>(n));
                            ++pos_;
                            while (pos_ + 1 < end_ && IsDigit(pos_[1])) {
                                ++pos_;
                            }
                            Advance();
                            return {node, false};
                        }
                    }
                    return ParseLiteralRun();
                }
                default:
                    return ParseLiteralRun();
            }
        }
    }

    bool SingleLine() const { return (flags_ & FLAG_SINGLELINE) != 0; }

    // Simple repeats count bytes. \W, \S and \D take UTF-8 characters of up to four bytes,
    // so in UTF-8 they repeat as general loops, which count characters.
    bool IsSimpleEscape(int kind) const {
        return mode_ != CharMode::kUtf8 ||
               (kind != OP_NON_WORD && kind != OP_NON_SPACE && kind != OP_NON_DIGIT);
    }

    // Bytes after the first that belong to the character whose first byte `ender` was read at
    // `at` (p is just past it): a Shift JIS lead byte takes the next byte, also after an
    // escape; a UTF-8 character written as such takes its continuation bytes.
    int ExtraCharBytes(unsigned ender, const char* at, const char* p) const {
        if (mode_ == CharMode::kShiftJis) {
            return IsLeadByte(static_cast<unsigned char>(ender)) && p < end_ && *p != '\0' ? 1 : 0;
        }
        if (mode_ == CharMode::kUtf8 && p == at + 1) {
            return static_cast<int>(Utf8Width(at, end_)) - 1;
        }
        return 0;
    }

    static int EscapeNode(unsigned char c) {
        switch (c) {
            case 'A':
                return OP_TEXT_START;
            case 'Z':
                return OP_TEXT_END;
            case 'G':
                return OP_SEARCH_START;
            case 'b':
                return OP_BOUNDARY;
            case 'B':
                return OP_NON_BOUNDARY;
            case 'w':
                return OP_WORD;
            case 'W':
                return OP_NON_WORD;
            case 's':
                return OP_SPACE;
            case 'S':
                return OP_NON_SPACE;
            case 'd':
                return OP_DIGIT;
            case 'D':
                return OP_NON_DIGIT;
            default:
                return -1;
        }
    }

    // Value of a simple character escape ("\n" and friends), or -1.
    static int SimpleEscape(unsigned char c, bool inClass) {
        switch (c) {
            case 'a':
                return 7;
            case 'b':
                return inClass ? 8 : -1;
            case 'e':
                return 27;
            case 'f':
                return 12;
            case 'n':
                return 10;
            case 'r':
                return 13;
            case 't':
                return 9;
            default:
                return -1;
        }
    }

    // "\c" followed by p: the control character, advancing p past what it used.
    unsigned ControlChar(const char*& p) const {
        unsigned char c = p < end_ ? static_cast<unsigned char>(*p) : 0;
        if (p < end_) {
            ++p;
        }
        if (c >= 'a' && c <= 'z') {
            c = static_cast<unsigned char>(c - 'a' + 'A');
        }
        return c ^ 64u;
    }

    Atom ParseLiteralRun() {
        const int node = EmitNode(OP_LITERAL);
        const int lengthAt = cursor_;
        EmitByte(0);
        int len = 0;
        const char* p = pos_;
        while (len < kMaxRunBytes && p < end_) {
            const char* oldp = p;
            unsigned ender;
            const auto c = static_cast<unsigned char>(*p);
            if (c == '^' || c == '$' || c == '.' || c == '[' || c == '(' || c == ')' || c == '|') {
                break;
            }
            if (c == '\\') {
                if (p + 1 >= end_) {
                    Fail("trailing \\ in regexp");
                }
                const auto e = static_cast<unsigned char>(p[1]);
                if (EscapeNode(e) >= 0) {
                    break;
                }
                if (e >= '1' && e <= '9') {
                    const bool oneDigit = !(p + 2 < end_ && IsDigit(p[2]));
                    if (oneDigit || ReadDecimal(p + 1, end_) < nextGroup_) {
                        break;
                    }
                }
                if (IsDigit(e)) {
                    int used;
                    ender = ReadOctal(p + 1, 3, &used) & 0xFF;
                    p += 1 + used;
                } else if (e == 'x') {
                    int used;
                    ender = ReadHex(p + 2, 2, &used) & 0xFF;
                    p += 2 + used;
                } else if (e == 'c') {
                    p += 2;
                    ender = ControlChar(p) & 0xFF;
                } else if (SimpleEscape(e, false) >= 0) {
                    ender = static_cast<unsigned>(SimpleEscape(e, false));
                    p += 2;
                } else {
                    ender = e;
                    p += 2;
                }
            } else if (Extended() && IsAsciiSpace(c)) {
                ++p;
                continue;
            } else if (Extended() && c == '#') {
                while (p < end_ && *p != '\n') {
                    ++p;
                }
                if (p < end_) {
                    ++p;
                }
                continue;
            } else {
                ender = c;
                ++p;
            }
            if ((flags_ & FLAG_FOLD) && ender < 128) {
                ender = Lower(static_cast<unsigned char>(ender));
            }
            if (const int extra = ExtraCharBytes(ender, oldp, p); extra > 0) {
                // A character of several bytes: whole, and a quantifier applies to all of it.
                const bool quantified = IsQuantifierStart(QuantifierCheckAt(p + extra));
                if (quantified && len != 0) {
                    p = oldp;
                    break;
                }
                EmitByte(static_cast<unsigned char>(ender));
                for (int i = 0; i < extra; ++i) {
                    EmitByte(static_cast<unsigned char>(p[i]));
                }
                len += 1 + extra;
                p += extra;
                if (quantified) {
                    break;
                }
                continue;
            }
            if (IsQuantifierStart(QuantifierCheckAt(p))) {
                if (len == 0) {
                    EmitByte(static_cast<unsigned char>(ender));
                    len = 1;
                } else {
                    p = oldp;
                }
                break;
            }
            EmitByte(static_cast<unsigned char>(ender));
            ++len;
        }
        pos_ = SkipWhite(p);
        if (code_ != nullptr) {
            code_[lengthAt] = static_cast<unsigned char>(len);
        }
        EmitByte(0);
        return {node, len == 1};
    }

    // Where a quantifier after the character at p would start: in extended mode white space
    // and comments may stand between them.
    const char* QuantifierCheckAt(const char* p) const { return Extended() ? SkipWhite(p) : p; }

    // ---- Classes -----------------------------------------------------------------------
    void EmitWide(unsigned c) {
        EmitByte(static_cast<unsigned char>(c >> 16));
        EmitByte(static_cast<unsigned char>(c >> 8 & 0xFF));
        EmitByte(static_cast<unsigned char>(c & 0xFF));
    }
    void EmitClassChar(unsigned c) {
        if (c > 0xFFFF) {
            EmitByte(CLASS_CHAR_WIDE);
            EmitWide(c);
            return;
        }
        EmitByte(CLASS_CHAR);
        EmitByte(static_cast<unsigned char>(c >> 8));
        EmitByte(static_cast<unsigned char>(c & 0xFF));
    }
    void EmitClassItem(unsigned low, unsigned high) {
        if (low == high) {
            EmitClassChar(low);
            return;
        }
        if (high > 0xFFFF) {
            EmitByte(CLASS_RANGE_WIDE);
            EmitWide(low);
            EmitWide(high);
            return;
        }
        EmitByte(CLASS_RANGE);
        EmitByte(static_cast<unsigned char>(low >> 8));
        EmitByte(static_cast<unsigned char>(low & 0xFF));
        EmitByte(static_cast<unsigned char>(high >> 8));
        EmitByte(static_cast<unsigned char>(high & 0xFF));
    }
    void AddMember(unsigned c) {
        EmitClassChar(c);
        if ((flags_ & FLAG_FOLD) && c >= 'A' && c <= 'Z') {
            EmitClassChar(Lower(static_cast<unsigned char>(c)));
        }
    }
    void AddRange(unsigned low, unsigned high) {
        EmitClassItem(low, high);
        if ((flags_ & FLAG_FOLD) && low >= 'A' && low <= 'Z') {
            const unsigned lowHigh = high < 128 ? Lower(static_cast<unsigned char>(high)) : high;
            EmitClassItem(Lower(static_cast<unsigned char>(low)), lowHigh);
        }
    }
    // \d \D \s \S \w \W inside a class: items from a 256-bit membership map.
    void AddEscapeSet(unsigned char e) {
        bool member[256] = {};
        for (int c = 0; c < 256; ++c) {
            const bool digit = c >= '0' && c <= '9';
            const bool space = c == ' ' || (c >= 9 && c <= 13);
            const bool word = digit || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
            switch (e) {
                case 'd':
                    member[c] = digit;
                    break;
                case 'D':
                    member[c] = !digit;
                    break;
                case 's':
                    member[c] = space;
                    break;
                case 'S':
                    member[c] = !space;
                    break;
                case 'w':
                    member[c] = word;
                    break;
                default:
                    member[c] = !word;
                    break;
            }
        }
        for (int c = 0; c < 256;) {
            if (!member[c]) {
                ++c;
                continue;
            }
            int last = c;
            while (last + 1 < 256 && member[last + 1]) {
                ++last;
            }
            EmitClassItem(static_cast<unsigned>(c), static_cast<unsigned>(last));
            c = last + 1;
        }
        if (e == 'D' || e == 'S' || e == 'W') {
            EmitClassItem(256, mode_ == CharMode::kUtf8 ? kMaxUtf8Value : 65535);
        }
    }

    int ParseClass() {
        const int node = EmitNode(OP_CLASS);
        if (Peek() == '^' && !AtEnd()) {
            EmitByte(CLASS_NEGATED);
            Cost(cost_ + 1L);
            ++pos_;
        } else {
            EmitByte(0);
        }
        bool first = true;
        bool rangeOpen = false;
        unsigned low = 0;
        while (pos_ < end_ && (first || *pos_ != ']')) {
            first = false;
            unsigned c;
            if (*pos_ == '\\') {
                if (pos_ + 1 >= end_) {
                    pos_ = end_;
                    break;
                }
                const auto e = static_cast<unsigned char>(pos_[1]);
                if (std::strchr("dDsSwW", e) != nullptr && e != 0) {
                    AddEscapeSet(e);
                    pos_ += 2;
                    if (rangeOpen) {
                        low = 65535;
                    }
                    continue;
                }
                if (IsDigit(e)) {
                    int used;
                    c = ReadOctal(pos_ + 1, 3, &used);
                    pos_ += 1 + used;
                } else if (e == 'x') {
                    int used;
                    c = ReadHex(pos_ + 2, 2, &used);
                    pos_ += 2 + used;
                } else if (e == 'c') {
                    const char* p = pos_ + 2;
                    c = ControlChar(p) & 0xFF;
                    pos_ = p;
                } else if (SimpleEscape(e, true) >= 0) {
                    c = static_cast<unsigned>(SimpleEscape(e, true));
                    pos_ += 2;
                } else {
                    c = e;
                    pos_ += 2;
                    c = MemberChar(c, pos_ - 1);
                }
            } else {
                c = static_cast<unsigned char>(*pos_++);
                c = MemberChar(c, pos_ - 1);
            }
            if (rangeOpen) {
                rangeOpen = false;
                if (c < low) {
                    Fail("invalid [] range in regexp");
                }
                AddRange(low, c);
                continue;
            }
            if (pos_ + 1 < end_ && *pos_ == '-' && pos_[1] != ']') {
                rangeOpen = true;
                low = c;
                ++pos_;
                continue;
            }
            AddMember(c);
        }
        if (pos_ >= end_ || *pos_ != ']') {
            Fail("unmatched [] in regexp");
        }
        ++pos_;
        EmitByte(CLASS_END);
        return node;
    }

    // A member whose first byte c was read at `at`: in kanji mode a lead byte and the byte
    // after it form one member, in UTF-8 a whole character does.
    unsigned MemberChar(unsigned c, const char* at) {
        if (mode_ == CharMode::kShiftJis && c < 256 && IsLeadByte(static_cast<unsigned char>(c)) &&
            pos_ < end_) {
            c = c * 256 + static_cast<unsigned char>(*pos_++);
        } else if (mode_ == CharMode::kUtf8) {
            const std::size_t width = Utf8Width(at, end_);
            c = Utf8Value(at, width);
            pos_ = at + width;
        }
        return c;
    }

  public:
    int topLevelAlternatives_ = 0;

  private:
    const char* begin_;
    const char* end_;
    const char* pos_ = nullptr;
    uint32_t flags_;
    unsigned char* code_ = nullptr;
    int capacity_ = 0;
    int cursor_ = 0;
    int nextGroup_ = 1;
    int cost_ = 0;
    bool sawBackref_ = false;
    bool multiline_ = false;
    CharMode mode_ = CharMode::kBytes;
    bool afterNothing_ = false;
};

char* CopyPattern(const char* begin, std::size_t length) {
    auto* copy = static_cast<char*>(std::malloc(length + 1));
    if (copy == nullptr) {
        throw RegexError("out of space savepvn");
    }
    if (length > 0) {
        std::memcpy(copy, begin, length);
    }
    copy[length] = '\0';
    return copy;
}

RegexRecord* Compile(const char* patternBegin, const char* patternEnd, uint32_t* flags, char*& copy,
                     RegexRecord*& rx) {
    if (patternBegin == nullptr || patternEnd < patternBegin) {
        throw RegexError("NULL argument");
    }
    const auto length = static_cast<std::size_t>(patternEnd - patternBegin);
    if (length >= static_cast<std::size_t>(kMaxProgram) * 64) {
        throw RegexError("too big compile");
    }
    const uint32_t callerFlags = flags != nullptr ? *flags : 0;
    copy = CopyPattern(patternBegin, length);

    CompileState compiler(copy, copy + length, callerFlags);
    int size = compiler.Run(nullptr, 0);
    if (compiler.flags() != callerFlags) {
        // Inline options hold from the start of the emitting pass; count what it will write.
        size = compiler.Run(nullptr, 0);
    }
    if (size >= kMaxProgram) {
        throw RegexError("too big compile");
    }
    rx = AllocateRegexRecord(length == 0 ? 0 : static_cast<std::size_t>(size));
    rx->patternLength = static_cast<int32_t>(length);
    if (length == 0) {
        std::free(copy);
        copy = nullptr;
        rx->flags = callerFlags;
        rx->mustOffset = -1;
        return rx;
    }
    rx->patternCopy = copy;
    copy = nullptr;
    compiler.Run(rx->program, rx->programLength);

    rx->flags = callerFlags;
    if (flags != nullptr) {
        *flags = compiler.flags();
    }
    rx->mustOffset = -1;
    rx->costly = compiler.cost() >= 10 ? 1 : 0;
    rx->foldCase = (compiler.flags() & FLAG_FOLD) != 0;
    rx->multiline = (compiler.flags() & FLAG_MULTILINE) != 0;
    if (compiler.topLevelAlternatives_ == 1) {
        const unsigned char* first = rx->program + 1 + 4;  // body of the first alternative
        AnalyseStart(rx, first, compiler.sawBackref());
        AnalyseMustLiteral(rx, first, rx->foldCase != 0);
    }
    AnalyseStartBytes(rx, rx->program + 1, compiler.sawBackref());
    rx->backReferences = compiler.sawBackref() ? 1 : 0;
    rx->groupCount = compiler.groupCount();
    const auto entries = static_cast<std::size_t>(rx->groupCount) + 1;
    rx->startp = static_cast<const char**>(std::calloc(entries, sizeof(const char*)));
    if (rx->startp == nullptr) {
        throw RegexError("out of space startp");
    }
    rx->endp = static_cast<const char**>(std::calloc(entries, sizeof(const char*)));
    if (rx->endp == nullptr) {
        throw RegexError("out of space endp");
    }
    return rx;
}

}  // namespace

RegexRecord* CompilePattern(const char* patternBegin, const char* patternEnd, uint32_t* flags,
                            char* errorText) {
    ClearErrorText(errorText);
    char* copy = nullptr;
    RegexRecord* rx = nullptr;
    try {
        return Compile(patternBegin, patternEnd, flags, copy, rx);
    } catch (const RegexError& error) {
        SetErrorText(errorText, error.what()[0] != '\0' ? error.what() : "fatal error");
    } catch (...) {
        SetErrorText(errorText, "fatal error");
    }
    std::free(copy);
    ReleaseRegexRecord(rx);
    return nullptr;
}

bool ClassContains(uint32_t character, const unsigned char* operand) {
    const bool negated = operand[0] == CLASS_NEGATED;
    for (const unsigned char* p = operand + 1; *p != CLASS_END;) {
        if (*p == CLASS_CHAR) {
            if (static_cast<uint32_t>(p[1] << 8 | p[2]) == character) {
                return !negated;
            }
            p += 3;
        } else if (*p == CLASS_RANGE) {
            const auto low = static_cast<uint32_t>(p[1] << 8 | p[2]);
            const auto high = static_cast<uint32_t>(p[3] << 8 | p[4]);
            if (character >= low && character <= high) {
                return !negated;
            }
            p += 5;
        } else if (*p == CLASS_CHAR_WIDE) {
            if (static_cast<uint32_t>(p[1] << 16 | p[2] << 8 | p[3]) == character) {
                return !negated;
            }
            p += 4;
        } else {
            const auto low = static_cast<uint32_t>(p[1] << 16 | p[2] << 8 | p[3]);
            const auto high = static_cast<uint32_t>(p[4] << 16 | p[5] << 8 | p[6]);
            if (character >= low && character <= high) {
                return !negated;
            }
            p += 7;
        }
    }
    return negated;
}

uint32_t ReadOctal(const char* p, int maxDigits, int* used) {
    uint32_t value = 0;
    int n = 0;
    while (n < maxDigits && p[n] >= '0' && p[n] <= '7') {
        value = value * 8 + static_cast<uint32_t>(p[n] - '0');
        ++n;
    }
    *used = n;
    return value;
}

uint32_t ReadHex(const char* p, int maxDigits, int* used) {
    static const char kDigits[] = "0123456789abcdef0123456789ABCDEFx";
    uint32_t value = 0;
    int n = 0;
    while (n < maxDigits && p[n] != '\0') {
        const char* hit = std::strchr(kDigits, p[n]);
        if (hit == nullptr) {
            break;
        }
        value = value * 16 + static_cast<uint32_t>((hit - kDigits) % 16);
        ++n;
    }
    *used = n;
    return value;
}

}  // namespace regex
