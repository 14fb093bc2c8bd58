#include "bit_fields.h"

#include <bit>

#include "little_endian.h"

namespace pictile {
namespace {

// `value`, `bits` wide (1 to 8), spread over 8 bits by repeating its bits from the top.
std::uint8_t Widen(unsigned value, unsigned bits) {
    unsigned widened = value << (8 - bits);
    for (unsigned filled = bits; filled < 8; filled *= 2) {
        widened |= widened >> filled;
    }
    return static_cast<std::uint8_t>(widened);
}

}  // namespace

std::optional<BitFieldUnpacker::Channel> BitFieldUnpacker::ChannelFor(std::uint32_t mask,
                                                                      std::uint16_t bitCount) {
    Channel channel;
    if (mask == 0) {
        return channel;  // the channel reads as 0
    }
    const auto low = static_cast<unsigned>(std::countr_zero(mask));
    const auto bits = static_cast<unsigned>(std::popcount(mask));
    if (low + bits > bitCount || std::countl_zero(mask) + low + bits != 32) {
        return std::nullopt;  // bits beyond the pixel, or a gap in the mask
    }
    const unsigned kept = bits < 8 ? bits : 8;
    channel.shift = low + (bits - kept);
    channel.mask = mask & ~((std::uint32_t{1} << channel.shift) - 1);
    for (unsigned value = 0; value < (1u << kept); ++value) {
        channel.widened[value] = Widen(value, kept);
    }
    return channel;
}

std::optional<BitFieldUnpacker> BitFieldUnpacker::For(const ChannelMasks& masks,
                                                      std::uint16_t bitCount) {
    if (bitCount != 16 && bitCount != 32) {
        return std::nullopt;
    }
    if ((masks.red | masks.green | masks.blue) == 0) {
        return std::nullopt;
    }
    BitFieldUnpacker unpacker;
    unpacker.bitCount_ = bitCount;
    const std::uint32_t inOrder[] = {masks.blue, masks.green, masks.red, masks.alpha};
    for (int i = 0; i < 4; ++i) {
        const auto channel = ChannelFor(inOrder[i], bitCount);
        if (!channel) {
            return std::nullopt;
        }
        unpacker.channels_[i] = *channel;
    }
    return unpacker;
}

template <int kInBytes, int kOutBytes>
void BitFieldUnpacker::Unpack(const unsigned char* in, std::uint32_t width,
                              unsigned char* out) const {
    for (std::uint32_t x = 0; x < width; ++x, in += kInBytes, out += kOutBytes) {
        const std::uint32_t pixel = kInBytes == 2 ? ReadU16(in) : ReadU32(in);
        for (int c = 0; c < kOutBytes; ++c) {
            out[c] = Value(channels_[c], pixel);
        }
    }
}

void BitFieldUnpacker::UnpackRow(const unsigned char* in, std::uint32_t width,
                                 unsigned char* out) const {
    if (bitCount_ == 16) {
        HasAlpha() ? Unpack<2, 4>(in, width, out) : Unpack<2, 3>(in, width, out);
    } else {
        HasAlpha() ? Unpack<4, 4>(in, width, out) : Unpack<4, 3>(in, width, out);
    }
}

}  // namespace pictile
