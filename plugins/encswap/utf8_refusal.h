// encswap converts among the three Japanese legacy encodings only. A UTF-8 text read as one of
// them would come out as nonsense that still looks converted, so every function refuses it:
// the step fails with a message that names the functions that do read UTF-8, and the text
// passes on unchanged.
#pragma once

namespace encswap {

// The box that tells the user why a UTF-8 file was refused.
void ShowUtf8Refusal();

}  // namespace encswap
