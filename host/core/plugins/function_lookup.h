// Finding a function again by its title, as saved settings and the command line name it: the
// first function-list item whose title begins with the given text, ignoring the case of
// ASCII letters (Shift JIS double-byte characters compare exactly).
#pragma once

#include <optional>
#include <string_view>

#include "host/core/plugins/function_entry.h"

namespace host {

bool TitleStartsWith(std::string_view title, std::string_view prefix);

std::optional<std::size_t> FindFunctionByTitle(const FunctionList& list, std::string_view prefix);

}  // namespace host
