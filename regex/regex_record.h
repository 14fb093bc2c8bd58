// The compiled form of one expression command: one zero-filled allocation holding the command
// layer's fields, the engine's fields and, at its tail, the node program.
#pragma once

#include <cstddef>
#include <cstdint>

#include "regex/literal_string.h"

namespace regex {

// Option word bits read or set by the engine; other bits pass through untouched.
enum : uint32_t {
    FLAG_FOLD = 0x20,          // i, (?i): case-insensitive
    FLAG_ONCE = 0x80,          // o, (?o): no effect in the engine
    FLAG_GLOBAL = 0x100,       // g, (?g): no effect in the engine
    FLAG_MULTILINE = 0x1000,   // m, (?m): ^ and $ at every line
    FLAG_SINGLELINE = 0x2000,  // (?s): . matches a newline, ^ and $ at the text's ends
    FLAG_KANJI = 0x4000,       // k: a Shift JIS double-byte character is one character
    FLAG_EXTENDED = 0x8000,    // (?x): white space and # comments in the pattern ignored
    // Set by the caller for UTF-8 text: k then means UTF-8 characters (regex/char_mode.h).
    FLAG_UTF8 = 0x200000,
};

// RegexRecord::anchorFlags
enum : uint8_t {
    ANCHOR_START = 1,     // matches begin only at the search start or after a newline
    ANCHOR_SKIP_RUN = 2,  // start scans try only the first position of a run
    // The pattern begins with a greedy unbounded ".": when an attempt fails, no later start in
    // the same line (the same text, when "." matches newlines) can succeed.
    ANCHOR_IMPLICIT = 4,
};

inline constexpr unsigned char PROGRAM_MAGIC = 156;

struct CompiledReplacement;  // owned and defined by the command layer

struct RegexRecord {
    // Command layer.
    char* outputBegin;  // result text of the last run, zero-terminated
    char* outputEnd;
    char* commandBegin;  // copy of the command
    char* commandEnd;
    uint32_t* translationTable;  // (from, to) character pairs, owned by the command layer
    // Match positions: index 0 the whole match, 1..groupCount the groups; null = none.
    const char** startp;
    const char** endp;
    int32_t groupCount;

    // Engine.
    int32_t lastParen;                // highest group closed in the last successful attempt
    LiteralString* startLiteral;      // every match begins with it
    const unsigned char* startClass;  // node every match begins with, usable for a scan
    LiteralString* mustLiteral;       // every match contains it
    int32_t mustOffset;               // fixed distance from match start to mustLiteral, or -1
    int32_t patternLength;
    char* patternCopy;         // NUL-terminated, owned
    char* savedSubject;        // subject copy kept by the matcher, owned
    const char* subjectBegin;  // the text startp/endp refer to after a match
    const char* subjectEnd;
    uint32_t flags;  // option word as the caller passed it
    int32_t costly;  // 1 when backtracking may be expensive

    // Command layer (substitutions).
    const char* replacementBegin;
    const char* replacementEnd;
    CompiledReplacement* compiledReplacement;

    // Engine.
    uint8_t anchorFlags;
    uint8_t foldCase;
    uint8_t multiline;  // non-zero when the final option word has FLAG_MULTILINE
    // When startBytesValid, every match begins with a byte b whose startBytes[b] is set.
    uint8_t startBytesValid;
    // Non-zero when no node can consume a newline: a match lies within one line.
    uint8_t lineBound;
    uint8_t backReferences;  // non-zero when the pattern holds a back-reference
    uint8_t startBytes[256];
    // Case-folded copy of the subject kept between searches of one subject (owned).
    char* foldedText;
    const char* foldedFrom;  // caller's position of foldedText[0]
    const char* foldedEnd;   // caller's end of the folded range
    // What is left of the step budget of the subject [budgetBase, budgetEnd).
    int64_t stepsLeft;
    const char* budgetBase;
    const char* budgetEnd;
    int32_t programLength;   // bytes at `program`, magic byte included (0: no program)
    unsigned char* program;  // PROGRAM_MAGIC then the nodes; inside this allocation
};

// A zero-filled record with room for `programLength` program bytes at an even address
// (`program` is null when programLength is 0). Throws RegexError("out of space regexp").
RegexRecord* AllocateRegexRecord(std::size_t programLength);

// Frees what the engine owns (startp, endp, startLiteral, mustLiteral, patternCopy,
// savedSubject, foldedText) and then the record itself. The command layer frees its own fields
// first. No-op for null.
void ReleaseRegexRecord(RegexRecord* rx);

}  // namespace regex
