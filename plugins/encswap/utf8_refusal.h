// encswap converts among the three Japanese legacy encodings only. A UTF-8 text read as one of
// them would come out as nonsense that still looks converted, so every function refuses it:
// the step fails with a message that names the functions that do read UTF-8, and the text
// passes on unchanged.
#pragma once

#include <cstddef>

namespace encswap {

// Whether the `n` bytes at `in` are UTF-8 by the program's shared rule (platform/utf8_text.h).
// A leading run of ASCII is skipped in large blocks first, so JIS and ASCII texts cost little
// more than one read; a legacy text is settled at its first byte that UTF-8 cannot have there.
bool IsUtf8Input(const unsigned char* in, std::size_t n);

// The box that tells the user why a UTF-8 file was refused.
void ShowUtf8Refusal();

}  // namespace encswap
