// Growable byte strings with an optional skip table, the searches that use them, and the
// Shift JIS byte tests shared by the engine and the command layer.
#pragma once

#include <cstdint>

namespace regex {

enum class CharMode : uint8_t;  // regex/char_mode.h

// LiteralString::flags
enum : uint32_t {
    kLiteralTableValid = 1,   // a skip table follows the bytes' terminating NUL
    kLiteralTableFolded = 2,  // the table was built case-insensitively
    kLiteralTail = 4,         // a match must end at the text's end or before a final newline
};

struct LiteralString {
    uint32_t flags;
    char* data;          // owned; the bytes, a NUL, then (when built) the 256-byte skip table
    int32_t length;      // number of bytes
    int32_t capacity;    // allocated size of data
    int32_t usefulness;  // must-literal counter kept by the matcher
};

// All functions that allocate throw RegexError("lack of memory") when that fails.

// A new string holding `length` bytes (0: the length of the NUL-terminated `bytes`).
LiteralString* CreateLiteralString(const char* bytes, int32_t length);
// Replaces the contents by `length` bytes.
void SetLiteralString(LiteralString* s, const char* bytes, int32_t length);
// Appends `length` bytes.
void AppendLiteralString(LiteralString* s, const char* bytes, int32_t length);
// Copies contents and flags of `from` (no-op when both are the same string).
void CopyLiteralString(LiteralString* to, const LiteralString* from);
// Frees the data and the object; no-op for null.
void FreeLiteralString(LiteralString* s);

// Builds the bad-character skip table (strings of 256 bytes or more get none).
void BuildSkipTable(LiteralString* s, bool fold);
// First occurrence of `s` in [begin, end) using the skip table (the plain search without one);
// null when there is none. `multiline` switches off the tail rule.
const char* SkipTableSearch(const char* begin, const char* end, const LiteralString* s,
                            bool multiline, CharMode mode);
// First occurrence of [literal, literalEnd) in [begin, end) that starts a character of `mode`
// (counted from begin: never at a Shift JIS trail byte, never inside a UTF-8 character). An
// empty literal is found at begin. Null when there is none.
const char* PlainSearch(const char* begin, const char* end, const char* literal,
                        const char* literalEnd, CharMode mode);

// 1 for a Shift JIS lead byte (0x81-0x9F, 0xE0-0xFC), else 0.
int IsLeadByte(unsigned char byte);
// Type of the byte at p, counting from begin: 0 single-byte character, 1 lead byte, 2 trail
// byte. 0 when either pointer is null.
int ByteType(const char* begin, const char* p);

// Each ASCII letter mapped to the other case, every other byte to itself.
extern const unsigned char kFoldTable[256];

}  // namespace regex
