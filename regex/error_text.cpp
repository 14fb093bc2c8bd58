// Error texts of the engine.
#include "regex/error_text.h"

#include <cstring>

namespace regex {
namespace {

void CopyTruncated(char* to, const char* text) {
    const char* source = text != nullptr ? text : "";
    std::size_t n = std::strlen(source);
    if (n >= kErrorTextSize) {
        n = kErrorTextSize - 1;
    }
    std::memcpy(to, source, n);
    to[n] = '\0';
}

}  // namespace

RegexError::RegexError(const char* text) {
    CopyTruncated(text_, text);
}

void SetErrorText(char* errorText, const char* text) {
    if (errorText != nullptr) {
        CopyTruncated(errorText, text);
    }
}

}  // namespace regex
