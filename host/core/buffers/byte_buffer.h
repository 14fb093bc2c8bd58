// A heap block of bytes whose content starts undefined: conversion buffers are written whole
// by whoever fills them, so zero-filling them first would only cost time. Large blocks ask
// the system for huge pages, which saves most of the page faults of touching them.
#pragma once

#include <cstddef>

namespace host {

class ByteBuffer {
public:
    ByteBuffer() = default;
    explicit ByteBuffer(std::size_t size);
    ByteBuffer(ByteBuffer&& other) noexcept;
    ByteBuffer& operator=(ByteBuffer&& other) noexcept;
    ByteBuffer(const ByteBuffer&) = delete;
    ByteBuffer& operator=(const ByteBuffer&) = delete;
    ~ByteBuffer();

    unsigned char* data() { return bytes_; }
    const unsigned char* data() const { return bytes_; }
    std::size_t size() const { return size_; }
    // How many bytes the block holds; the size may be set anywhere up to it.
    std::size_t capacity() const { return capacity_; }
    // Sets the size, never beyond the capacity.
    void resize(std::size_t size) { size_ = size < capacity_ ? size : capacity_; }
    // True for a block of its own pages (a large one), false for one from the heap.
    bool mapped() const { return mapped_ != 0; }
    // Makes the pages of `length` bytes from `bytes` (in a mapped block) ready to be written
    // without touching the bytes, so that another thread may write them meanwhile.
    static bool CanPrefaultElsewhere();
    static void PrefaultRange(unsigned char* bytes, std::size_t length);
    // Forgets the bytes past `size` (which is never more than the current size).
    void shrink(std::size_t size) { size_ = size < size_ ? size : size_; }

private:
    void release();

    unsigned char* bytes_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
    std::size_t mapped_ = 0;  // length of a mapping, 0 for a plain allocation
};

}  // namespace host
