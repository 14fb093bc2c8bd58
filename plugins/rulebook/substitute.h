// The substitution loop of s/PATTERN/REPLACEMENT/options.
#pragma once

#include "regex/regex_record.h"

namespace rulebook {

// Replaces the first match in [targetBegin, targetEnd), or with FLAG_GLOBAL every match, and
// leaves the whole new text as the record's result (none when it is empty). Returns the
// number of substitutions; 0 when nothing matched or on failure, which leaves its reason in
// errorText ("Substitution loop", "out of space buf" or the matcher's).
int SubstituteAll(regex::RegexRecord* record, const char* targetBegin, const char* targetEnd,
                  char* errorText);

}  // namespace rulebook
