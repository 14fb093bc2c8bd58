// Unpacks the pixels of bit-field bitmaps, 16 or 32 bits each with a mask per channel, into
// blue-green-red pixels (24 bits) or, when the masks give an alpha channel, blue-green-red-alpha
// pixels (32 bits). Channels narrower than 8 bits are widened by repeating their bits, so that
// their largest value becomes 255; wider ones keep their 8 highest bits.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "bitmap_header.h"

namespace pictile {

class BitFieldUnpacker {
  public:
    // Nothing when the masks cannot describe a pixel of `bitCount` (16 or 32) bits: a mask
    // with a gap in it or with bits beyond the pixel, or no colour channel at all.
    static std::optional<BitFieldUnpacker> For(const ChannelMasks& masks, std::uint16_t bitCount);

    bool HasAlpha() const { return channels_[3].mask != 0; }
    // Bits of each unpacked pixel: 32 with alpha, else 24.
    std::uint16_t OutputBitCount() const { return HasAlpha() ? 32 : 24; }

    // Unpacks `width` pixels from `in` to `out` (3 or 4 bytes each).
    void UnpackRow(const unsigned char* in, std::uint32_t width, unsigned char* out) const;

  private:
    struct Channel {
        std::uint32_t mask = 0;
        unsigned shift = 0;  // of the channel's lowest bit, plus the bits dropped beyond 8
        std::array<std::uint8_t, 256> widened{};
    };
    static std::optional<Channel> ChannelFor(std::uint32_t mask, std::uint16_t bitCount);
    static std::uint8_t Value(const Channel& channel, std::uint32_t pixel) {
        return channel.widened[(pixel & channel.mask) >> channel.shift];
    }
    template <int kInBytes, int kOutBytes>
    void Unpack(const unsigned char* in, std::uint32_t width, unsigned char* out) const;

    std::uint16_t bitCount_ = 0;
    std::array<Channel, 4> channels_;  // blue, green, red, alpha: their order in the output
};

}  // namespace pictile
