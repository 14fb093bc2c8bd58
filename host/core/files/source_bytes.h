// The bytes of a source file as the run holds them: mapped straight from the file where the
// system allows it, otherwise read into a buffer.
#pragma once

#include <cstddef>
#include <optional>

#include "host/core/buffers/byte_buffer.h"
#include "host/core/files/guarded_mapping.h"

namespace host {

class SourceBytes {
  public:
    SourceBytes() = default;
    explicit SourceBytes(ByteBuffer buffer) : buffer_(std::move(buffer)) {}
    explicit SourceBytes(GuardedMapping mapping) : mapping_(std::move(mapping)) {}

    const unsigned char* data() const { return mapping_ ? mapping_->data() : buffer_.data(); }
    std::size_t size() const { return mapping_ ? mapping_->size() : buffer_.size(); }
    bool mapped() const { return mapping_.has_value(); }
    // False when the file was cut short while it was mapped and part of these bytes were
    // never the file's: whatever was made of them must be thrown away.
    bool intact() const { return !mapping_ || !mapping_->damaged(); }

  private:
    ByteBuffer buffer_;
    std::optional<GuardedMapping> mapping_;
};

}  // namespace host
