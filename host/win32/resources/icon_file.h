// A Windows icon file made of PNG images kept as they are: the icon directory, one entry per
// image (its size read from the PNG header) and the PNG bytes after them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace rc {

struct PngImage {
    std::string bytes;
    unsigned width = 0, height = 0;
};

namespace detail {

inline std::uint32_t BigEndian32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = at; i < at + 4; ++i)
        value = value << 8 | static_cast<unsigned char>(bytes[i]);
    return value;
}

inline void PutLittleEndian(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>(value >> (8 * i) & 0xFF);
}

}  // namespace detail

// Checks the PNG signature and header chunk and takes the image's size from it. Throws
// std::invalid_argument, naming the image, for anything else, for a side past 256 pixels, and
// for any kind of PNG but RGBA at 8 bits per channel, the one kind every icon reader takes
// (Wine's, for one, refuses 16 bits per channel).
inline PngImage ReadPng(std::string bytes, const std::string& name) {
    constexpr std::string_view kSignature{"\x89PNG\r\n\x1a\n", 8};
    if (bytes.size() < 33 || std::string_view{bytes}.substr(0, 8) != kSignature ||
        std::string_view{bytes}.substr(12, 4) != "IHDR") {
        throw std::invalid_argument(name + ": not a PNG image");
    }
    PngImage image{std::move(bytes), 0, 0};
    image.width = detail::BigEndian32(image.bytes, 16);
    image.height = detail::BigEndian32(image.bytes, 20);
    if (image.width == 0 || image.height == 0 || image.width > 256 || image.height > 256) {
        throw std::invalid_argument(
            name + ": an icon image is 1 to 256 pixels wide and high, not " +
            std::to_string(image.width) + " by " + std::to_string(image.height));
    }
    const int bitDepth = static_cast<unsigned char>(image.bytes[24]);
    const int colourType = static_cast<unsigned char>(image.bytes[25]);
    if (bitDepth != 8 || colourType != 6) {
        throw std::invalid_argument(name +
                                    ": an icon image must be RGBA at 8 bits per channel, not "
                                    "colour type " +
                                    std::to_string(colourType) + " at " + std::to_string(bitDepth) +
                                    " bits");
    }
    return image;
}

// The icon file: ICONDIR, then an ICONDIRENTRY per image (a side of 256 written as 0, one
// plane, 32 bits per pixel), then the images in the same order.
inline std::string IconFile(const std::vector<PngImage>& images) {
    if (images.empty() || images.size() > 0xFFFF) {
        throw std::invalid_argument("an icon holds 1 to 65535 images");
    }
    std::string file;
    detail::PutLittleEndian(file, 0, 2);  // reserved
    detail::PutLittleEndian(file, 1, 2);  // type: icon
    detail::PutLittleEndian(file, static_cast<std::uint32_t>(images.size()), 2);
    std::size_t offset = 6 + 16 * images.size();
    for (const PngImage& image : images) {
        file += static_cast<char>(image.width & 0xFF);
        file += static_cast<char>(image.height & 0xFF);
        file += '\0';                          // colours in a palette: none
        file += '\0';                          // reserved
        detail::PutLittleEndian(file, 1, 2);   // planes
        detail::PutLittleEndian(file, 32, 2);  // bits per pixel
        detail::PutLittleEndian(file, static_cast<std::uint32_t>(image.bytes.size()), 4);
        detail::PutLittleEndian(file, static_cast<std::uint32_t>(offset), 4);
        offset += image.bytes.size();
    }
    for (const PngImage& image : images)
        file += image.bytes;
    return file;
}

}  // namespace rc
