#include "platform/system_error.h"

#include <cstring>
#include <system_error>

namespace platform {
namespace {
thread_local std::string lastError = "The operation completed successfully.";
}

void SetLastSystemError(std::string text) { lastError = std::move(text); }

void SetLastSystemErrorFromErrno(int error) {
    lastError = std::generic_category().message(error);
}

std::string LastSystemErrorText() { return lastError; }

}  // namespace platform
