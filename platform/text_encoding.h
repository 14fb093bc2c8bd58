// Conversion between the system's Shift JIS (code page 932) texts and UTF-8, for showing
// titles and messages on screens and terminals, and back for what the user types.
// Undefined Shift JIS codes come out as "・" (U+30FB); characters that code page 932 lacks
// become "?" or, where one is defined, a closest-fit character.
#pragma once

#include <string>
#include <string_view>

namespace platform {

std::string Cp932ToUtf8(std::string_view cp932);
std::string Utf8ToCp932(std::string_view utf8);

// The first character of the UTF-8 `text` that code page 932 cannot hold as it is (it would
// come back as "?" or a look-alike); "" when it holds them all.
std::string FirstCharacterOutsideCp932(std::string_view utf8);

}  // namespace platform
