// UTF-8 and UTF-16, the bridge between the code pages and terminals and files in UTF-8.
// Malformed input never stops a conversion: each malformed UTF-8 sequence (its longest
// well-formed beginning) and each unpaired surrogate becomes U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace platform {

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

}  // namespace platform
