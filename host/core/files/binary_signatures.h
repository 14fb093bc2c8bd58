// The signatures of common binary formats at the start of a file, as text_content.h lists
// them. A signature that a text could begin with as well is taken only when more of the
// format's header fits: sizes and offsets that agree with the length, counts in range.
#pragma once

#include <span>

namespace host {

// The name of the format whose signature `bytes` start with ("PNG", "ZIP", ...), or null.
const char* BinarySignatureOf(std::span<const unsigned char> bytes);

}  // namespace host
