// A very large read-only input that costs almost no memory: one block holding a byte pattern,
// mapped again and again side by side. For size checks on inputs of gigabytes.
#pragma once

#include <cstddef>
#include <string_view>

namespace encswap_test {

class RepeatedMapping {
  public:
    // `pattern` repeated over `totalBytes` bytes; the pattern's length must divide 1 MiB and
    // `totalBytes` must be a multiple of 1 MiB. ok() is false when the system refuses.
    RepeatedMapping(std::string_view pattern, std::size_t totalBytes);
    RepeatedMapping(const RepeatedMapping&) = delete;
    RepeatedMapping& operator=(const RepeatedMapping&) = delete;
    ~RepeatedMapping();

    bool ok() const { return data_ != nullptr; }
    const unsigned char* data() const { return data_; }
    std::size_t size() const { return size_; }

  private:
    unsigned char* data_ = nullptr;
    std::size_t size_ = 0;
};

}  // namespace encswap_test
