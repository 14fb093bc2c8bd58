// The last system error of the calling thread, as a text for the user. The runtime's own
// operations set it when they fail; SetLastSystemErrorFromErrno takes the C library's errno.
#pragma once

#include <string>

namespace platform {

void SetLastSystemError(std::string text);
void SetLastSystemErrorFromErrno(int error);
std::string LastSystemErrorText();

}  // namespace platform
