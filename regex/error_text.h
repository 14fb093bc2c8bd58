// Errors of the expression engine. Inside the engine an error is thrown as a RegexError and
// unwinds at once to the entry point, which frees what it allocated, copies the text into the
// caller's errorText buffer (kErrorTextSize bytes) and returns its failure value.
#pragma once

#include <cstddef>
#include <exception>

namespace regex {

// Size of every caller's errorText buffer, terminating zero included.
inline constexpr std::size_t kErrorTextSize = 80;

class RegexError : public std::exception {
  public:
    // The text is copied (truncated to kErrorTextSize - 1 bytes).
    explicit RegexError(const char* text);
    const char* what() const noexcept override { return text_; }

  private:
    char text_[kErrorTextSize];
};

// Copies `text` into `errorText` (kErrorTextSize bytes), truncating; no-op for a null buffer.
void SetErrorText(char* errorText, const char* text);

// Clears `errorText` (no-op for a null buffer).
inline void ClearErrorText(char* errorText) {
    if (errorText != nullptr) {
        errorText[0] = '\0';
    }
}

}  // namespace regex
