// Reading a source of unknown or changing length to its end, the same on every system: the
// buffer starts one byte larger than the size expected, so that one byte more tells whether
// the source grew meanwhile (or whether a pipe's reported size said nothing), and it then
// doubles, never past the largest size the run takes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

#include "host/core/buffers/byte_buffer.h"
#include "host/core/files/whole_file.h"

namespace host {

// `readSome(destination, room)` reads at most `room` bytes: how many it read, 0 at the end, or
// a negative number after it set result.status and result.reason for a failure. False, with
// the status set, on failure or when the source holds more than `maxSize` bytes.
template <typename ReadSome>
bool ReadToEnd(std::uint64_t expected, std::uint64_t maxSize, ByteBuffer& buffer,
               ReadResult& result, ReadSome readSome) {
    std::size_t capacity = static_cast<std::size_t>(expected) + 1;
    buffer = ByteBuffer(capacity);
    std::size_t done = 0;
    for (;;) {
        if (done == capacity) {
            if (capacity > maxSize) {
                result.status = ReadStatus::kTooLarge;
                return false;
            }
            const std::size_t grown = capacity * 2 < maxSize + 1 ? capacity * 2 : maxSize + 1;
            ByteBuffer bigger(grown);
            std::memcpy(bigger.data(), buffer.data(), done);
            buffer = std::move(bigger);
            capacity = grown;
        }
        const long long got = readSome(buffer.data() + done, capacity - done);
        if (got < 0) {
            return false;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    if (done > maxSize) {
        result.status = ReadStatus::kTooLarge;
        return false;
    }
    buffer.shrink(done);
    return true;
}

}  // namespace host
