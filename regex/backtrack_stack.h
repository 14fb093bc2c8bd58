// The matcher's backtracking stack: where a failed path goes back to, kept on the heap.
//
// Every choice the interpreter makes (an alternative, a repeat count, a loop iteration) and
// every change it must take back on failure (a group position, a loop's count) leaves an
// entry here; failing pops entries until one offers another way on. A long line crossed by a
// general loop leaves a few entries per iteration, so the entries are small: each is a run of
// unsigned numbers in a variable-length byte form that reads backwards (the last byte of a
// number is its low seven bits, a clear top bit marks its first byte), pushed in one order and
// popped in the other. Positions are stored as the difference from the position of the entry
// below, which is a byte or two while a loop walks along a line.
//
// The stack refuses to grow past its limit ("regexp out of memory"), as does any allocation
// the matcher makes for a search.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "regex/error_text.h"

namespace regex {

class OutOfMatchMemory : public RegexError {
  public:
    OutOfMatchMemory() : RegexError("regexp out of memory") {}
};

[[noreturn, gnu::noinline, gnu::cold]] void ThrowOutOfMatchMemory();

// What a search may hold for backtracking: a floor, more for longer texts, and a ceiling.
inline constexpr std::size_t kMatchMemoryFloor = std::size_t{64} << 20;
inline constexpr std::size_t kMatchMemoryPerByte = 64;
inline constexpr std::size_t kMatchMemoryCeiling =
    sizeof(void*) >= 8 ? std::size_t{1} << 30 : std::size_t{256} << 20;
inline std::size_t MatchMemoryFor(std::size_t length) {
    const std::size_t room = (kMatchMemoryCeiling - kMatchMemoryFloor) / kMatchMemoryPerByte;
    return length >= room ? kMatchMemoryCeiling
                          : kMatchMemoryFloor + kMatchMemoryPerByte * length;
}

class BacktrackStack {
  public:
    BacktrackStack() = default;
    BacktrackStack(const BacktrackStack&) = delete;
    BacktrackStack& operator=(const BacktrackStack&) = delete;
    ~BacktrackStack() {
        if (data_ != inline_) {
            std::free(data_);
        }
    }

    void SetLimit(std::size_t bytes) { limit_ = bytes; }
    std::size_t Limit() const { return limit_; }
    std::size_t Capacity() const { return capacity_; }

    std::size_t Size() const { return size_; }
    bool Empty() const { return size_ == 0; }
    void Truncate(std::size_t size) { size_ = size; }

    // Room for an entry of `numbers` numbers (ten bytes each at most).
    void Reserve(std::size_t numbers) {
        if (capacity_ - size_ < numbers * 10) {
            Grow(numbers * 10);
        }
    }

    // After Reserve.
    void Push(uint64_t v) {
        if (v < 0x80) {
            data_[size_++] = static_cast<uint8_t>(v);
            return;
        }
        PushLong(v);
    }

    uint64_t Pop() {
        const uint8_t b = data_[--size_];
        return (b & 0x80) == 0 ? b : PopLong(b);
    }

    static uint64_t ZigZag(int64_t v) {
        return (static_cast<uint64_t>(v) << 1) ^ static_cast<uint64_t>(v >> 63);
    }
    static int64_t UnZigZag(uint64_t v) {
        return static_cast<int64_t>(v >> 1) ^ -static_cast<int64_t>(v & 1);
    }

  private:
    void PushLong(uint64_t v) {
        uint8_t groups[10];
        int n = 0;
        do {
            groups[n++] = static_cast<uint8_t>(v & 0x7F);
            v >>= 7;
        } while (v != 0);
        data_[size_++] = groups[--n];
        while (n > 0) {
            data_[size_++] = static_cast<uint8_t>(groups[--n] | 0x80);
        }
    }

    // `b`, the number's last byte, is already taken.
    uint64_t PopLong(uint8_t b) {
        uint64_t v = b & 0x7F;
        for (int shift = 7; (b & 0x80) != 0; shift += 7) {
            b = data_[--size_];
            v |= static_cast<uint64_t>(b & 0x7F) << shift;
        }
        return v;
    }

    void Grow(std::size_t extra);

    // Most searches never leave the first kilobyte: it lives with the stack, not on the heap.
    static constexpr std::size_t kInline = 1024;
    uint8_t inline_[kInline];
    uint8_t* data_ = inline_;
    std::size_t size_ = 0;
    std::size_t capacity_ = kInline;
    std::size_t limit_ = kMatchMemoryFloor;
};

}  // namespace regex
