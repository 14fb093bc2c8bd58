// The result text a record keeps after a run: [outputBegin, outputEnd), zero-terminated,
// owned by the record.
#pragma once

#include <string_view>

#include "regex/regex_record.h"

namespace rulebook {

// Replaces the record's result by a copy of `bytes`; throws std::bad_alloc.
void SetRecordOutput(regex::RegexRecord* record, std::string_view bytes);

// Frees the record's result; the record then has none.
void ClearRecordOutput(regex::RegexRecord* record);

}  // namespace rulebook
