// Option-word bits of the command layer. The engine's own bits (FLAG_FOLD, FLAG_GLOBAL, ...)
// are in regex/regex_record.h; these travel with them in a record's `flags`.
#pragma once

#include <cstdint>

namespace rulebook {

enum : uint32_t {
    FLAG_LITERAL_REPLACEMENT = 0x40,  // the replacement is copied exactly as written
    FLAG_SUBSTITUTE = 0x10000,        // every substitution record
    FLAG_TRANSLATE = 0x20000,         // every translation record
    FLAG_COMPLEMENT = 0x40000,        // tr option c: complement the search list
    FLAG_DELETE = 0x80000,            // tr option d: delete characters without replacement
    FLAG_SQUEEZE = 0x100000,          // tr option s: squeeze runs of one translated character
};

}  // namespace rulebook
