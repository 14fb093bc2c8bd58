// How far a stretch of UTF-8 is well-formed, checked 16 to 64 bytes at a time with byte
// shuffles (utf8_blocks.h) or, with no more than SSE2, bit masks (utf8_bits.h).
#pragma once

#include <cstddef>

namespace platform {

// What a check passed on its way; either may also be set by bytes just past where it stopped.
struct Utf8Seen {
    bool multiByte = false;  // a byte of 0x80 or more
    bool escape = false;     // an ESC byte
};

// From a character boundary `i`, the end of the well-formed UTF-8 in in[i, limit), on a
// character boundary; it may stop up to a block of 64 bytes short of a fault or of `limit`, for
// the caller to go on one sequence at a time.
std::size_t WellFormedUtf8(const unsigned char* in, std::size_t i, std::size_t limit,
                           Utf8Seen& seen);

}  // namespace platform
