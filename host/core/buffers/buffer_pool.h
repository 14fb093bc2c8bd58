// Large conversion buffers kept for the next step or the next file. A fresh block costs a
// page fault and a cleared page for every page it touches; a block that was used before
// costs neither, so a run hands its large buffers back here instead of releasing them.
#pragma once

#include <cstddef>
#include <thread>
#include <vector>

#include "host/core/buffers/byte_buffer.h"

namespace host {

class BufferPool {
  public:
    // Blocks below this size come from the heap, which already reuses them.
    static constexpr std::size_t kKeepFrom = std::size_t{1} << 20;
    // At most this many blocks are kept: a step needs its input, its output and the
    // untouched copy.
    static constexpr std::size_t kKeepAtMost = 3;
    // Outputs from this size on are worth preparing (Prepare) while a plug-in works.
    static constexpr std::size_t kPrepareFrom = std::size_t{8} << 20;

    BufferPool() = default;
    BufferPool(BufferPool&&) = default;
    BufferPool& operator=(BufferPool&&) = default;
    ~BufferPool();

    // Keeps a new block of `capacity` bytes, unless a kept block holds that many already,
    // and has the pages of its first `touched` bytes made on another thread: they are then
    // cleared while this thread goes on (a plug-in measuring or converting), even while the
    // block is already taken and written.
    void Prepare(std::size_t capacity, std::size_t touched);
    // A buffer of `size` bytes: the smallest kept block that holds them, or a new one.
    ByteBuffer Take(std::size_t size);
    // Keeps `buffer` for a later Take (small blocks are simply released).
    void Give(ByteBuffer buffer);

  private:
    // Waits until the pages being made are there.
    void FinishPreparing();
    // Drops the smallest block while more than kKeepAtMost are kept.
    void Trim();

    std::vector<ByteBuffer> kept_;
    std::jthread preparing_;
};

}  // namespace host
