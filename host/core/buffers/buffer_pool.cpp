#include "host/core/buffers/buffer_pool.h"

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
        ByteBuffer block(capacity);
        unsigned char* bytes = block.data();
        const std::size_t length = touched < capacity ? touched : capacity;
        // The other thread only asks the system for the pages; it never touches the bytes,
        // so the block may be handed out and written while it runs.
        if (block.mapped() && ByteBuffer::CanPrefaultElsewhere()) {
            preparing_ =
                std::jthread([bytes, length] { ByteBuffer::PrefaultRange(bytes, length); });
        }
        kept_.push_back(std::move(block));
        Trim();
    } catch (const std::exception&) {
        // No memory or no thread now: the block is made, or its pages cleared, when needed.
    }
}

void BufferPool::FinishPreparing() {
    if (preparing_.joinable()) {
        preparing_.join();
    }
}

BufferPool::~BufferPool() {
    FinishPreparing();
}

void BufferPool::Trim() {
    if (kept_.size() > kKeepAtMost) {
        FinishPreparing();  // the block dropped may be the one whose pages are being made
        kept_.erase(std::min_element(
            kept_.begin(), kept_.end(),
            [](const ByteBuffer& a, const ByteBuffer& b) { return a.capacity() < b.capacity(); }));
    }
}

ByteBuffer BufferPool::Take(std::size_t size) {
    auto best = kept_.end();
    for (auto it = kept_.begin(); it != kept_.end(); ++it) {
        if (it->capacity() >= size && (best == kept_.end() || it->capacity() < best->capacity())) {
            best = it;
        }
    }
    if (best == kept_.end()) {
        // None is large enough: release them before asking for more memory.
        FinishPreparing();
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
    Trim();
}

}  // namespace host
