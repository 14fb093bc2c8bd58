// The writer of the two fallbacks of the way to Shift JIS (platform/sjis_fallback.h has the
// rule): a Shift JIS writer that puts 〓, a customary form or a numeric reference where the
// refusal would stop, and keeps count of what it replaced and on which lines.
//
// Both keep the fast path of the refusal: the kernel converts blocks until it meets a character
// it has no code for, which comes here one at a time. The lossless writer takes the kernel's
// tables without the look-alikes, so that they come here too, and holds the kernel back before
// every "&#" of the text, whose '&' may need escaping.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/sjis_fallback.h"
#include "writers.h"

namespace unibridge {

enum class Fallback { kReadable, kLossless };

// Where the text was changed: how many places, and the first lines (from 1) they are on.
struct Replacements {
    static constexpr std::size_t kLinesKept = 5;
    std::uint64_t count = 0;
    std::vector<std::uint64_t> lines;  // at most kLinesKept, in order, each once
    bool moreLines = false;            // places on other lines than those
};

class FallbackSjisWriter : public SjisWriter {
  public:
    FallbackSjisWriter(Fallback fallback, unsigned char* out, std::size_t capacity);

    std::size_t Utf8Kernel(const unsigned char* in, std::size_t i, std::size_t n);
    bool Ascii(const unsigned char* run, std::size_t length);
    Put Unicode(char32_t c);

    const Replacements& replacements() const { return replacements_; }

  private:
    Put Replace(std::uint16_t code);
    Put Reference(char32_t c);
    // Counts a place at the current end of the output.
    void Record();

    const Fallback fallback_;
    platform::ReadableFallback readable_;
    Replacements replacements_;
    // Where the line count has got to in the output, and the line there.
    unsigned char* lineScan_;
    std::uint64_t line_ = 1;
    // The next "&#" of the input at or after the place the kernel starts from.
    static constexpr std::size_t kUnknown = ~std::size_t{0};
    std::size_t nextReference_ = kUnknown;
};

}  // namespace unibridge
