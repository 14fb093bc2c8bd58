// The text test over arbitrary bytes: it reads nothing past them, gives a reason exactly when
// it says binary, and what lies between its two windows never changes a verdict of text.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "host/core/files/text_content.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const host::ContentVerdict verdict = host::ClassifyContent(std::span(data, size));
    if (verdict.binary == verdict.reason.empty()) {
        __builtin_trap();
    }
    // Padded in the middle past both windows, a text of an odd length (never UTF-16) without
    // end marks stays text: zeros there are never read.
    if (!verdict.binary && size % 2 == 1 && size <= host::kTextWindow &&
        std::memchr(data, 0x1A, size) == nullptr) {
        const std::size_t half = size / 2;
        std::vector<uint8_t> padded(data, data + half);
        padded.resize(half + 3 * host::kTextWindow, 'x');
        padded[half + host::kTextWindow + 5] = 0;
        padded.insert(padded.end(), data + half, data + size);
        if (padded.size() % 2 == 1 && host::ClassifyContent(padded).binary) {
            __builtin_trap();
        }
    }
    return 0;
}
