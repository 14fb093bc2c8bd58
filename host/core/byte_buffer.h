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
    // Makes the first `bytes` bytes (at most the capacity) ready to be written, so that
    // writing them later costs no page faults or page clearing.
    void Prefault(std::size_t bytes);
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
