#include "host/core/buffer_pool.h"

#include <algorithm>
#include <utility>

namespace host {

ByteBuffer BufferPool::Take(std::size_t size) {
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
