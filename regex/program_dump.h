// A readable listing of a compiled program, for tests and for people chasing a pattern.
#pragma once

#include <string>

#include "regex/regex_record.h"

namespace regex {

// One line per node: its offset, kind name, next target, operand; then the start facts.
// For example, "a+b" lists
//   1: ALTERNATIVE -> 21
//   5: PLUS_SIMPLE -> 15
//   9: LITERAL "a"
//   15: LITERAL "b" -> 21
//   21: ACCEPT
//   start literal "a", skip run
std::string DumpProgram(const RegexRecord* rx);

// The name of a node kind ("LITERAL", ...), or "?" for an invalid kind.
const char* NodeKindName(int kind);

}  // namespace regex
