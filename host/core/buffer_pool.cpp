#include "host/core/buffer_pool.h"

#include <algorithm>
#include <exception>
#include <new>
#include <utility>

namespace host {

void BufferPool::Prepare(std::size_t capacity, std::size_t touched) {
    FinishPreparing();
    for (const ByteBuffer& kept : kept_) {
        if (kept.capacity() >= capacity) {
            return;
        }
    }
    try {
        preparing_ = std::jthread([this, capacity, touched] {
            try {
                ByteBuffer block(capacity);
                block.Prefault(touched);
                prepared_ = std::move(block);
            } catch (const std::bad_alloc&) {
                // Left to Take, which reports it.
            }
        });
    } catch (const std::exception&) {
        // No thread or no memory now: the block is simply made when it is needed.
    }
}

void BufferPool::FinishPreparing() {
    if (preparing_.joinable()) {
        preparing_.join();
        Give(std::move(prepared_));
    }
}

ByteBuffer BufferPool::Take(std::size_t size) {
    FinishPreparing();
    auto best = kept_.end();
    for (auto it = kept_.begin(); it != kept_.end(); ++it) {
        if (it->capacity() >= size && (best == kept_.end() || it->capacity() < best->capacity())) {
            best = it;
        }
    }
    if (best == kept_.end()) {
        // None is large enough: release them before asking for more memory.
        kept_.clear();
        return ByteBuffer(size);
    }
    ByteBuffer taken = std::move(*best);
    kept_.erase(best);
    taken.resize(size);
    return taken;
}

void BufferPool::Give(ByteBuffer buffer) {
    if (buffer.capacity() < kKeepFrom) {
        return;
    }
    kept_.push_back(std::move(buffer));
    if (kept_.size() > kKeepAtMost) {
        kept_.erase(std::min_element(
            kept_.begin(), kept_.end(),
            [](const ByteBuffer& a, const ByteBuffer& b) { return a.capacity() < b.capacity(); }));
    }
}

}  // namespace host
