// Facts about a compiled program that let the matcher skip hopeless start positions.
#pragma once

#include "regex/regex_record.h"

namespace regex {

// Sets startLiteral, startClass and anchorFlags from the single top-level alternative whose
// body starts at `first`.
void AnalyseStart(RegexRecord* rx, const unsigned char* first, bool sawBackref);

// Sets startBytes (the bytes a match can begin with) when every match consumes at least one
// character, and ANCHOR_IMPLICIT for patterns that begin with a greedy unbounded ".".
void AnalyseStartBytes(RegexRecord* rx, const unsigned char* first, bool sawBackref);

// Sets mustLiteral and mustOffset (after AnalyseStart, whose start literal it consults).
void AnalyseMustLiteral(RegexRecord* rx, const unsigned char* first, bool fold);

}  // namespace regex
