// A read-only mapping of a whole file that survives the file shrinking under it.
//
// Reading a mapped page past the end of a file that another process has cut short raises
// SIGBUS, which would end the program in the middle of a plug-in's loop. While a mapping
// lives, a SIGBUS inside it is caught: the pages from the faulting one to the mapping's end
// are replaced by zero pages, the reader carries on, and the mapping is marked damaged, so
// that whoever used the bytes throws the result away. SIGBUS anywhere else keeps its usual
// effect.
#pragma once

#include <cstddef>
#include <optional>

namespace host {

class GuardedMapping {
  public:
    // Maps the first `length` bytes (more than 0) of the open file `fd` read-only, with every
    // page brought in at once. Nothing when the system refuses or too many mappings are
    // guarded already; the caller then reads the file instead.
    static std::optional<GuardedMapping> Map(int fd, std::size_t length);
#ifdef _WIN32
    // The same for a file open as the system's handle `file`.
    static std::optional<GuardedMapping> MapHandle(void* file, std::size_t length);
#endif

    GuardedMapping(GuardedMapping&& other) noexcept;
    GuardedMapping& operator=(GuardedMapping&& other) noexcept;
    GuardedMapping(const GuardedMapping&) = delete;
    GuardedMapping& operator=(const GuardedMapping&) = delete;
    ~GuardedMapping();

    const unsigned char* data() const { return bytes_; }
    std::size_t size() const { return size_; }
    // True once a read past the file's shrunken end was caught: the bytes are not the file's.
    bool damaged() const;

  private:
    GuardedMapping(const unsigned char* bytes, std::size_t size, int slot)
        : bytes_(bytes), size_(size), slot_(slot) {}
    void release();

    const unsigned char* bytes_ = nullptr;
    std::size_t size_ = 0;
    int slot_ = -1;
};

}  // namespace host
