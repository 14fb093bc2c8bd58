// The replacement text of a substitution, compiled into literal pieces and group references.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "regex/regex_record.h"

namespace regex {

// Owned by a substitution record (`compiledReplacement`); defined by the command layer.
struct CompiledReplacement {
    struct Piece {
        bool isGroup = false;
        std::size_t offset = 0;  // literal: bytes [offset, offset + length) of `text`
        std::size_t length = 0;
        uint32_t group = 0;  // group reference: 0 is the whole match
    };
    std::string text;  // the decoded literal bytes
    std::vector<Piece> pieces;
};

}  // namespace regex

namespace rulebook {

// Compiles the raw replacement [replacementBegin, replacementEnd): $1.. and \1.. refer to
// groups, $& to the whole match, backslash escapes give bytes. Returns null, with
// FLAG_LITERAL_REPLACEMENT set in the record's flags, when the text holds nothing special
// and is copied as written. Throws std::bad_alloc.
regex::CompiledReplacement* CompileReplacement(regex::RegexRecord* record,
                                               const char* replacementBegin,
                                               const char* replacementEnd);

}  // namespace rulebook
