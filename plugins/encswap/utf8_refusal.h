// encswap converts among the three Japanese legacy encodings only. A UTF-8 or UTF-16 text read
// as one of them would come out as nonsense that still looks converted, so every function
// refuses it: the step fails with a message that names the function that does read it, and the
// text passes on unchanged.
#pragma once

namespace encswap {

// The box that tells the user why a UTF-8 file was refused.
void ShowUtf8Refusal();

// The box that tells the user why a UTF-16 file (with a byte-order mark or without one, as the
// runtime's detection finds it) was refused.
void ShowUtf16Refusal();

}  // namespace encswap
