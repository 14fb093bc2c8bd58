// Program dump.
//
// Walks the program in layout order (not match order), so every node is listed once: pad
// bytes are skipped, a literal's bytes and a class's items are shown as its operand, and the
// next offset is printed as the absolute offset it leads to. The start facts follow.
#include "regex/program_dump.h"

#include <cstdio>

#include "regex/node_program.h"

namespace regex {
namespace {

void AppendChar(std::string& out, unsigned c) {
    char buffer[16];
    if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
        out += static_cast<char>(c);
    } else {
        std::snprintf(buffer, sizeof buffer, c > 0xFF ? "\\x{%04X}" : "\\x%02X", c);
        out += buffer;
    }
}

void AppendBytes(std::string& out, const char* bytes, int length) {
    out += '"';
    for (int i = 0; i < length; ++i) {
        AppendChar(out, static_cast<unsigned char>(bytes[i]));
    }
    out += '"';
}

// The class operand; returns its size in bytes.
int AppendClass(std::string& out, const unsigned char* operand, const unsigned char* end) {
    const unsigned char* p = operand;
    out += p[0] == CLASS_NEGATED ? " [^" : " [";
    ++p;
    while (p < end && *p != CLASS_END) {
        if (*p == CLASS_CHAR && p + 3 <= end) {
            AppendChar(out, static_cast<unsigned>(p[1] << 8 | p[2]));
            p += 3;
        } else if (*p == CLASS_RANGE && p + 5 <= end) {
            AppendChar(out, static_cast<unsigned>(p[1] << 8 | p[2]));
            out += '-';
            AppendChar(out, static_cast<unsigned>(p[3] << 8 | p[4]));
            p += 5;
        } else if (*p == CLASS_CHAR_WIDE && p + 4 <= end) {
            AppendChar(out, static_cast<unsigned>(p[1] << 16 | p[2] << 8 | p[3]));
            p += 4;
        } else if (*p == CLASS_RANGE_WIDE && p + 7 <= end) {
            AppendChar(out, static_cast<unsigned>(p[1] << 16 | p[2] << 8 | p[3]));
            out += '-';
            AppendChar(out, static_cast<unsigned>(p[4] << 16 | p[5] << 8 | p[6]));
            p += 7;
        } else {
            out += "<bad item>";
            return static_cast<int>(end - operand);
        }
    }
    out += ']';
    return static_cast<int>(p + 1 - operand);
}

}  // namespace

const char* NodeKindName(int kind) {
    static const char* const kNames[] = {
        "ACCEPT",        "LINE_START",   "LINE_START_M",    "TEXT_START",   "LINE_END",
        "LINE_END_M",    "TEXT_END",     "ANY_BUT_NEWLINE", "ANY_CHAR",     "CLASS",
        "REPEAT_SIMPLE", "REPEAT_GROUP", "ALTERNATIVE",     "UNUSED_13",    "LITERAL",
        "EMPTY",         "STAR_SIMPLE",  "PLUS_SIMPLE",     "WORD",         "NON_WORD",
        "BOUNDARY",      "NON_BOUNDARY", "SPACE",           "NON_SPACE",    "DIGIT",
        "NON_DIGIT",     "BACKREF",      "GROUP_OPEN",      "GROUP_CLOSE",  "LAZY",
        "SEARCH_START",  "LOOKAHEAD",    "NEG_LOOKAHEAD",   "SUBMATCH_END", "LOOP_STEP"};
    return kind >= 0 && kind <= kLastNodeKind ? kNames[kind] : "?";
}

std::string DumpProgram(const RegexRecord* rx) {
    std::string out;
    if (rx == nullptr || rx->program == nullptr) {
        return "(no program)\n";
    }
    const unsigned char* program = rx->program;
    const unsigned char* end = program + rx->programLength;
    char buffer[64];
    for (const unsigned char* node = program + 1; node < end;) {
        if (*node == NODE_PAD) {
            ++node;
            continue;
        }
        const int offset = static_cast<int>(node - program);
        std::snprintf(buffer, sizeof buffer, "%d: %s", offset, NodeKindName(*node));
        out += buffer;
        int size = 3;
        if (node + 3 > end) {
            out += " <truncated>\n";
            break;
        }
        switch (*node) {
            case OP_LITERAL:
                out += ' ';
                AppendBytes(out, reinterpret_cast<const char*>(LiteralBytes(node)),
                            LiteralLength(node));
                size = 4 + LiteralLength(node) + 1;
                break;
            case OP_CLASS:
                size = 3 + AppendClass(out, node + 3, end);
                break;
            case OP_REPEAT_SIMPLE:
            case OP_REPEAT_GROUP:
                std::snprintf(buffer, sizeof buffer, " {%u,%u}", NodeArg(node, 0),
                              NodeArg(node, 1));
                out += buffer;
                size = 7;
                break;
            case OP_BACKREF:
            case OP_GROUP_OPEN:
            case OP_GROUP_CLOSE:
                std::snprintf(buffer, sizeof buffer, " %u", NodeArg(node, 0));
                out += buffer;
                size = 5;
                break;
            default:
                break;
        }
        if (NextOffset(node) != 0) {
            std::snprintf(buffer, sizeof buffer, " -> %d", offset + NextOffset(node));
            out += buffer;
        }
        out += '\n';
        node += size;
    }
    if (rx->startLiteral != nullptr) {
        out += "start literal ";
        AppendBytes(out, rx->startLiteral->data, rx->startLiteral->length);
        out += '\n';
    }
    if (rx->startClass != nullptr) {
        std::snprintf(buffer, sizeof buffer, "start class at %d\n",
                      static_cast<int>(rx->startClass - program));
        out += buffer;
    }
    if (rx->anchorFlags & ANCHOR_START) {
        out += "anchored\n";
    }
    if (rx->anchorFlags & ANCHOR_SKIP_RUN) {
        out += "skip run\n";
    }
    if (rx->mustLiteral != nullptr) {
        out += "must literal ";
        AppendBytes(out, rx->mustLiteral->data, rx->mustLiteral->length);
        std::snprintf(buffer, sizeof buffer, " at %d%s\n", rx->mustOffset,
                      (rx->mustLiteral->flags & kLiteralTail) ? ", tail" : "");
        out += buffer;
    }
    return out;
}

}  // namespace regex
