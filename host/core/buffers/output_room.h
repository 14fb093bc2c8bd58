// Room for a step's output outside the buffer pool: the pages of a result file, say. A
// conversion asks its room first and takes a pool buffer only when the room has none.
#pragma once

#include <cstddef>
#include <span>

namespace host {

// Room for an output outside the buffer pool (a result file's pages).
class OutputRoom {
  public:
    virtual ~OutputRoom() = default;
    // Room for `size` bytes, or an empty span when there is none (the pool's buffer is used).
    virtual std::span<unsigned char> RoomFor(std::size_t size) = 0;
};

}  // namespace host
