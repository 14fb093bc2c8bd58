// Searching text with a compiled RegexRecord.
#pragma once

#include <cstdint>

#include "regex/regex_record.h"

namespace regex {

// Searches [start, end) for the leftmost match; `base` is the beginning of the whole subject
// (at or before start). The match must end at or after start + minEnd. Returns 1 on a match,
// with startp/endp (0: whole match, i: group i, endp[i] null when the group took no part),
// lastParen, subjectBegin and subjectEnd set. With keepInPlace the positions refer to the
// caller's text; otherwise, when they would refer to a temporary, to the record's own copy of
// the subject. Returns 0 when there is no match (errorText empty) or on an error (errorText
// holds the reason). Reads no byte at or after `end`.
int ExecutePattern(RegexRecord* rx, const char* start, const char* end, const char* base,
                   uint32_t minEnd, int keepInPlace, char* errorText);

}  // namespace regex
