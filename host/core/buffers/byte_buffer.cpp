#include "host/core/buffers/byte_buffer.h"

#include <new>
#include <utility>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace host {
namespace {

#if defined(__linux__)
constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kMapFrom = std::size_t{8} << 20;
#endif

}  // namespace

ByteBuffer::ByteBuffer(std::size_t size) : size_(size), capacity_(size) {
#if defined(__linux__)
    if (size >= kMapFrom) {
        const std::size_t length = (size + kHugePage - 1) / kHugePage * kHugePage;
        void* block = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS,
                             -1, 0);
        if (block == MAP_FAILED) {
            throw std::bad_alloc();
        }
        ::madvise(block, length, MADV_HUGEPAGE);
        bytes_ = static_cast<unsigned char*>(block);
        mapped_ = length;
        return;
    }
#endif
    bytes_ = new unsigned char[size == 0 ? 1 : size];
}

ByteBuffer::ByteBuffer(ByteBuffer&& other) noexcept
    : bytes_(std::exchange(other.bytes_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)),
      mapped_(std::exchange(other.mapped_, 0)) {}

ByteBuffer& ByteBuffer::operator=(ByteBuffer&& other) noexcept {
    if (this != &other) {
        release();
        bytes_ = std::exchange(other.bytes_, nullptr);
        size_ = std::exchange(other.size_, 0);
        capacity_ = std::exchange(other.capacity_, 0);
        mapped_ = std::exchange(other.mapped_, 0);
    }
    return *this;
}

ByteBuffer::~ByteBuffer() { release(); }

bool ByteBuffer::CanPrefaultElsewhere() {
#if defined(__linux__) && defined(MADV_POPULATE_WRITE)
    return true;
#else
    return false;
#endif
}

void ByteBuffer::PrefaultRange(unsigned char* bytes, std::size_t length) {
#if defined(__linux__) && defined(MADV_POPULATE_WRITE)
    // A system without it refuses, and the pages are made when they are first written.
    ::madvise(bytes, length, MADV_POPULATE_WRITE);
#else
    (void)bytes;
    (void)length;
#endif
}

void ByteBuffer::release() {
    if (bytes_ == nullptr) {
        return;
    }
#if defined(__linux__)
    if (mapped_ != 0) {
        ::munmap(bytes_, mapped_);
        bytes_ = nullptr;
        return;
    }
#endif
    delete[] bytes_;
    bytes_ = nullptr;
}

}  // namespace host
