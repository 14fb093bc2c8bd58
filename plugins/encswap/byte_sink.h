// Where a conversion puts its bytes. Every conversion is written once against this interface
// and run twice: with CountingSink for the exact output size, and with BoundedSink to write
// the output. BoundedSink never writes past its end; a Put or Copy that does not fit writes
// nothing and returns false, and the conversion then stops.
#pragma once

#include "isa.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace encswap::ENCSWAP_ISA {

class CountingSink {
  public:
    static constexpr bool kCountsOnly = true;

    template <class... Bytes>
    bool Put(Bytes...) {
        count_ += sizeof...(Bytes);
        return true;
    }
    bool Copy(const unsigned char*, std::size_t length) {
        count_ += length;
        return true;
    }
    bool HasRoom(std::size_t) const { return true; }
    void Add(std::uint64_t length) { count_ += length; }
    std::uint64_t count() const { return count_; }

  private:
    std::uint64_t count_ = 0;
};

class BoundedSink {
  public:
    static constexpr bool kCountsOnly = false;

    BoundedSink(unsigned char* out, std::size_t capacity)
        : begin_(out), next_(out), end_(out + capacity) {}

    template <class... Bytes>
    bool Put(Bytes... bytes) {
        if (static_cast<std::size_t>(end_ - next_) < sizeof...(Bytes)) {
            return false;
        }
        ((*next_++ = static_cast<unsigned char>(bytes)), ...);
        return true;
    }
    bool Copy(const unsigned char* from, std::size_t length) {
        if (static_cast<std::size_t>(end_ - next_) < length) {
            return false;
        }
        if (length != 0) {
            std::memcpy(next_, from, length);
        }
        next_ += length;
        return true;
    }
    std::size_t written() const { return static_cast<std::size_t>(next_ - begin_); }

    // Direct access for block-wise writers: check the room, write at cursor(), then Advance.
    bool HasRoom(std::size_t length) const {
        return static_cast<std::size_t>(end_ - next_) >= length;
    }
    unsigned char* cursor() { return next_; }
    void Advance(std::size_t length) { next_ += length; }

  private:
    unsigned char* begin_;
    unsigned char* next_;
    unsigned char* end_;
};

// Copies `length` bytes (at most 64) as one 64-byte piece, which takes no branch on the length:
// reads and writes up to 64 bytes.
inline void CopyPiece(unsigned char* to, const unsigned char* from, std::size_t) {
    std::memcpy(to, from, 64);
}

// Length of the run of bytes below 0x80 that starts at `from`, reading no further than `n`.
inline std::size_t AsciiRun(const unsigned char* in, std::size_t from, std::size_t n) {
    std::size_t i = from;
    while (i + 8 <= n) {
        std::uint64_t word;
        std::memcpy(&word, in + i, sizeof word);
        if ((word & 0x8080808080808080ull) != 0) {
            break;
        }
        i += 8;
    }
    while (i < n && in[i] < 0x80) {
        ++i;
    }
    return i - from;
}

}  // namespace encswap::ENCSWAP_ISA
