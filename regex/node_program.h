// The node program of a compiled pattern: node kinds, their families and the byte layout.
//
// Every node is a kind byte at an odd offset from the program start, a 16-bit next offset
// (little-endian, relative to the node, 0 = none) and an operand at node+3. A NODE_PAD byte
// keeps the kind bytes at odd offsets, so a node without operand takes 4 bytes, the first node
// of a body sits at node+4 and a repeat's body at node+8.
#pragma once

#include <cstdint>
#include <cstring>

namespace regex {

enum NodeKind : unsigned char {
    OP_ACCEPT = 0,
    OP_LINE_START = 1,
    OP_LINE_START_M = 2,
    OP_TEXT_START = 3,
    OP_LINE_END = 4,
    OP_LINE_END_M = 5,
    OP_TEXT_END = 6,
    OP_ANY_BUT_NEWLINE = 7,
    OP_ANY_CHAR = 8,
    OP_CLASS = 9,
    OP_REPEAT_SIMPLE = 10,
    OP_REPEAT_GROUP = 11,
    OP_ALTERNATIVE = 12,
    OP_UNUSED_13 = 13,
    OP_LITERAL = 14,
    OP_EMPTY = 15,
    OP_STAR_SIMPLE = 16,
    OP_PLUS_SIMPLE = 17,
    OP_WORD = 18,
    OP_NON_WORD = 19,
    OP_BOUNDARY = 20,
    OP_NON_BOUNDARY = 21,
    OP_SPACE = 22,
    OP_NON_SPACE = 23,
    OP_DIGIT = 24,
    OP_NON_DIGIT = 25,
    OP_BACKREF = 26,
    OP_GROUP_OPEN = 27,
    OP_GROUP_CLOSE = 28,
    OP_LAZY = 29,
    OP_SEARCH_START = 30,
    OP_LOOKAHEAD = 31,
    OP_NEG_LOOKAHEAD = 32,
    OP_SUBMATCH_END = 33,
    OP_LOOP_STEP = 34,
};
inline constexpr int kLastNodeKind = OP_LOOP_STEP;

inline constexpr unsigned char NODE_PAD = 127;
inline constexpr unsigned char CLASS_CHAR = 128;
inline constexpr unsigned char CLASS_RANGE = 129;
inline constexpr unsigned char CLASS_END = 130;
inline constexpr unsigned char CLASS_NEGATED = 131;
// Items whose values need more than 16 bits (UTF-8 characters beyond U+FFFF): each value is
// three bytes, high to low.
inline constexpr unsigned char CLASS_CHAR_WIDE = 132;
inline constexpr unsigned char CLASS_RANGE_WIDE = 133;

// Bytes of a class item, its marker included.
inline int ClassItemSize(unsigned char marker) {
    switch (marker) {
        case CLASS_CHAR:
            return 3;
        case CLASS_RANGE:
            return 5;
        case CLASS_CHAR_WIDE:
            return 4;
        default:
            return 7;
    }
}

// A repeat maximum of this value has no upper bound.
inline constexpr uint16_t kUnbounded = 32767;

// Node kinds treated alike by the start analysis and the matcher.
inline int NodeFamily(int kind) {
    static constexpr unsigned char kFamily[kLastNodeKind + 1] = {
        0,  1,  1,  1,  4,  4,  4,  7,  7,  9,  10, 10, 12, 13, 14, 15, 16, 17,
        18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 1,  12, 12, 0,  34};
    return kind >= 0 && kind <= kLastNodeKind ? kFamily[kind] : -1;
}

// Nodes whose width varies: they end a literal run in the must-literal analysis.
inline bool IsVarying(int kind) {
    switch (kind) {
        case OP_ALTERNATIVE:
        case OP_UNUSED_13:
        case OP_STAR_SIMPLE:
        case OP_PLUS_SIMPLE:
        case OP_REPEAT_SIMPLE:
        case OP_REPEAT_GROUP:
        case OP_BACKREF:
        case OP_LOOP_STEP:
            return true;
        default:
            return false;
    }
}

// Nodes that consume exactly one character.
inline bool IsSingleStep(int kind) {
    switch (kind) {
        case OP_ANY_BUT_NEWLINE:
        case OP_ANY_CHAR:
        case OP_CLASS:
        case OP_WORD:
        case OP_NON_WORD:
        case OP_SPACE:
        case OP_NON_SPACE:
        case OP_DIGIT:
        case OP_NON_DIGIT:
            return true;
        default:
            return false;
    }
}

// Single-step nodes usable for a start scan (all but the two any-character kinds).
inline bool IsStartClass(int kind) {
    return IsSingleStep(kind) && kind != OP_ANY_BUT_NEWLINE && kind != OP_ANY_CHAR;
}

inline int NextOffset(const unsigned char* node) {
    int16_t offset;
    std::memcpy(&offset, node + 1, 2);
    return offset;
}

inline const unsigned char* NextNode(const unsigned char* node) {
    const int offset = NextOffset(node);
    return offset == 0 ? nullptr : node + offset;
}

// The first and second 16-bit argument (node+3 and node+5).
inline uint16_t NodeArg(const unsigned char* node, int index) {
    uint16_t value;
    std::memcpy(&value, node + 3 + 2 * index, 2);
    return value;
}

// Literal nodes: length byte at node+3, bytes from node+4, then a NUL.
inline int LiteralLength(const unsigned char* node) {
    return node[3];
}
inline const unsigned char* LiteralBytes(const unsigned char* node) {
    return node + 4;
}

// Bytes from a node's kind to the end of its operand (pads not included).
inline int NodeSize(const unsigned char* node) {
    switch (node[0]) {
        case OP_LITERAL:
            return 4 + LiteralLength(node) + 1;
        case OP_CLASS: {
            const unsigned char* p = node + 4;
            while (*p != CLASS_END) {
                p += ClassItemSize(*p);
            }
            return static_cast<int>(p + 1 - node);
        }
        case OP_REPEAT_SIMPLE:
        case OP_REPEAT_GROUP:
            return 7;
        case OP_BACKREF:
        case OP_GROUP_OPEN:
        case OP_GROUP_CLOSE:
            return 5;
        default:
            return 3;
    }
}

// Bodies: node+4 for alternatives, look-aheads and simple star/plus; node+8 for counted repeats.
inline const unsigned char* BodyOf(const unsigned char* node) {
    return node + (node[0] == OP_REPEAT_SIMPLE || node[0] == OP_REPEAT_GROUP ? 8 : 4);
}

}  // namespace regex
