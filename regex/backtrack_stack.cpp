// Growing the backtracking stack within its limit (see backtrack_stack.h).
#include "regex/backtrack_stack.h"

#include <algorithm>
#include <cstring>

namespace regex {

void ThrowOutOfMatchMemory() {
    throw OutOfMatchMemory();
}

void BacktrackStack::Grow(std::size_t extra) {
    if (extra > limit_ || size_ > limit_ - extra) {
        ThrowOutOfMatchMemory();
    }
    const std::size_t wanted = std::max<std::size_t>(size_ + extra, 4096);
    const std::size_t doubled = capacity_ <= limit_ / 2 ? capacity_ * 2 : limit_;
    const std::size_t capacity = std::max(wanted, std::min(doubled, limit_));
    auto* data = static_cast<uint8_t*>(std::realloc(data_ == inline_ ? nullptr : data_, capacity));
    if (data == nullptr) {
        ThrowOutOfMatchMemory();
    }
    if (data_ == inline_) {
        std::memcpy(data, inline_, size_);
    }
    data_ = data;
    capacity_ = capacity;
}

}  // namespace regex
