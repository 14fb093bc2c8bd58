// The expression engine in one include: records, compiling, matching, literal strings.
#pragma once

#include "regex/compile.h"
#include "regex/error_text.h"
#include "regex/literal_string.h"
#include "regex/match.h"
#include "regex/regex_record.h"
