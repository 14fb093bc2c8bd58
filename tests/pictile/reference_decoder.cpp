#include "reference_decoder.h"

#include "bitmap_file.h"

namespace pictile_test {
namespace {

struct Masks {
    std::uint32_t red = 0, green = 0, blue = 0, alpha = 0;
};

std::uint32_t Argb(std::uint32_t a, std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return a << 24 | r << 16 | g << 8 | b;
}

int LowestBit(std::uint32_t mask) {
    int low = 0;
    while (low < 32 && (mask >> low & 1) == 0) {
        ++low;
    }
    return low;
}

int BitsIn(std::uint32_t mask) {
    int bits = 0;
    for (; mask != 0; mask &= mask - 1) {
        ++bits;
    }
    return bits;
}

std::uint8_t Channel(std::uint32_t pixel, std::uint32_t mask, std::uint8_t absent) {
    if (mask == 0) {
        return absent;
    }
    return ScaleChannel((pixel & mask) >> LowestBit(mask), BitsIn(mask));
}

// Palette index of pixel x in a row of `bitCount`-bit indices.
std::uint32_t IndexAt(const std::string& row, int x, int bitCount) {
    const int perByte = 8 / bitCount;
    const auto byte = static_cast<unsigned char>(row.at(x / perByte));
    const int shift = 8 - bitCount * (x % perByte + 1);
    return byte >> shift & ((1u << bitCount) - 1);
}

class BitmapReader {
  public:
    explicit BitmapReader(const std::string& file) : file_(file) {}

    std::optional<Picture> Read() {
        if (file_.size() < 54 || U16At(file_, 0) != 0x4D42) {
            return std::nullopt;
        }
        const std::uint32_t offset = U32At(file_, 10);
        const std::uint32_t headerBytes = U32At(file_, 14);
        // The 12-byte header: 16-bit sizes, no compression, three-byte colour entries.
        const bool core = headerBytes == 12;
        const std::int32_t width =
            core ? U16At(file_, 18) : static_cast<std::int32_t>(U32At(file_, 18));
        const std::int32_t height =
            core ? U16At(file_, 20) : static_cast<std::int32_t>(U32At(file_, 22));
        bitCount_ = U16At(file_, core ? 24 : 28);
        const std::uint32_t compression = core ? 0 : U32At(file_, 30);
        const std::uint32_t coloursUsed = core ? 0 : U32At(file_, 46);
        if ((headerBytes < 40 && !core) || width <= 0 || height == 0 || width > 4096 ||
            height > 4096 || height < -4096) {
            return std::nullopt;
        }
        picture_.width = width;
        picture_.height = height < 0 ? -height : height;
        topDown_ = height < 0;
        picture_.argb.assign(std::size_t(picture_.width) * picture_.height, 0);

        std::size_t tableAt = 14 + headerBytes;
        if (compression == 3 || compression == 6) {
            // Behind a 40-byte header: three masks, or four with alpha bit fields (6).
            const bool alphaBehind = headerBytes == 40 && compression == 6;
            const std::size_t masksAt = headerBytes >= 52 ? 54 : tableAt;
            masks_ = {U32At(file_, masksAt), U32At(file_, masksAt + 4), U32At(file_, masksAt + 8),
                      headerBytes >= 56 || alphaBehind ? U32At(file_, masksAt + 12) : 0};
            if (headerBytes == 40) {
                tableAt += alphaBehind ? 16 : 12;
            }
        } else if (bitCount_ == 16) {
            masks_ = {0x7C00, 0x03E0, 0x001F, 0};
        }
        const std::uint32_t entries =
            bitCount_ > 8 ? 0 : (coloursUsed != 0 ? coloursUsed : 1u << bitCount_);
        for (std::uint32_t i = 0; i < entries; ++i) {
            const std::size_t at = tableAt + (core ? 3 : 4) * i;
            table_.push_back(Argb(255, Byte(at + 2), Byte(at + 1), Byte(at)));
        }
        if (offset > file_.size()) {
            return std::nullopt;
        }
        data_ = file_.substr(offset);
        switch (compression) {
            case 0:
            case 3:
            case 6:
                if (!ReadRows(compression)) {
                    return std::nullopt;
                }
                break;
            case 1:
            case 2:
                if (topDown_ || !ReadRunLength(compression == 1 ? 8 : 4)) {
                    return std::nullopt;
                }
                break;
            default:
                return std::nullopt;
        }
        return picture_;
    }

  private:
    std::uint32_t Byte(std::size_t at) const { return static_cast<unsigned char>(file_.at(at)); }

    // Row y of the file (in file order) is picture row:
    int PictureRow(int y) const { return topDown_ ? y : picture_.height - 1 - y; }

    void Put(int x, int fileRow, std::uint32_t argb) {
        picture_.argb.at(std::size_t(PictureRow(fileRow)) * picture_.width + x) = argb;
    }

    bool PutIndex(int x, int fileRow, std::uint32_t index) {
        if (index >= table_.size() || x >= picture_.width) {
            return false;
        }
        Put(x, fileRow, table_[index]);
        return true;
    }

    bool ReadRows(std::uint32_t compression) {
        const std::size_t rowBytes = RowBytes(picture_.width, bitCount_);
        if (data_.size() < rowBytes * picture_.height) {
            return false;
        }
        for (int y = 0; y < picture_.height; ++y) {
            const std::string row = data_.substr(y * rowBytes, rowBytes);
            for (int x = 0; x < picture_.width; ++x) {
                if (bitCount_ <= 8) {
                    if (!PutIndex(x, y, IndexAt(row, x, bitCount_))) {
                        return false;
                    }
                    continue;
                }
                const std::size_t at = std::size_t(x) * (bitCount_ / 8);
                std::uint32_t pixel = 0;
                for (int i = bitCount_ / 8 - 1; i >= 0; --i) {
                    pixel = pixel << 8 | static_cast<unsigned char>(row.at(at + i));
                }
                if (bitCount_ == 16 || compression != 0) {
                    Put(x, y,
                        Argb(Channel(pixel, masks_.alpha, 255), Channel(pixel, masks_.red, 0),
                             Channel(pixel, masks_.green, 0), Channel(pixel, masks_.blue, 0)));
                } else {
                    Put(x, y, Argb(255, pixel >> 16 & 0xFF, pixel >> 8 & 0xFF, pixel & 0xFF));
                }
            }
        }
        return true;
    }

    bool ReadRunLength(int bits) {
        for (int y = 0; y < picture_.height; ++y) {
            for (int x = 0; x < picture_.width; ++x) {
                PutIndex(x, y, 0);
            }
        }
        std::size_t p = 0;
        int x = 0;
        int y = 0;
        while (p + 1 < data_.size()) {
            const int count = static_cast<unsigned char>(data_[p]);
            const int value = static_cast<unsigned char>(data_[p + 1]);
            p += 2;
            if (count > 0) {
                for (int i = 0; i < count; ++i, ++x) {
                    const int index = bits == 8 ? value : (i % 2 == 0 ? value >> 4 : value & 15);
                    if (x < picture_.width && !PutIndex(x, y, index)) {
                        return false;
                    }
                }
            } else if (value == 0) {
                x = 0;
                ++y;
            } else if (value == 1) {
                return true;
            } else if (value == 2) {
                x += static_cast<unsigned char>(data_.at(p));
                y += static_cast<unsigned char>(data_.at(p + 1));
                p += 2;
            } else {
                for (int i = 0; i < value; ++i, ++x) {
                    const int byte = static_cast<unsigned char>(data_.at(p + i * bits / 8));
                    const int index = bits == 8 ? byte : (i % 2 == 0 ? byte >> 4 : byte & 15);
                    if (x < picture_.width && !PutIndex(x, y, index)) {
                        return false;
                    }
                }
                const std::size_t bytes = (std::size_t(value) * bits + 7) / 8;
                p += bytes + bytes % 2;
            }
            if (y > picture_.height) {
                return false;
            }
        }
        return y == picture_.height;
    }

    const std::string& file_;
    Picture picture_;
    std::string data_;
    std::vector<std::uint32_t> table_;
    Masks masks_;
    int bitCount_ = 0;
    bool topDown_ = false;
};

}  // namespace

std::uint8_t ScaleChannel(std::uint32_t value, int bits) {
    if (bits >= 8) {
        return static_cast<std::uint8_t>(value >> (bits - 8));
    }
    std::uint32_t scaled = 0;
    for (int shift = 8 - bits; shift > -bits; shift -= bits) {
        scaled |= shift >= 0 ? value << shift : value >> -shift;
    }
    return static_cast<std::uint8_t>(scaled);
}

std::optional<Picture> DecodeBitmap(const std::string& file) {
    return BitmapReader(file).Read();
}

std::optional<Picture> DecodeIcon(const std::string& file) {
    if (file.size() < 22 + 40 || U16At(file, 0) != 0 || U16At(file, 2) != 1 ||
        U16At(file, 4) != 1) {
        return std::nullopt;
    }
    const int entryWidth = static_cast<unsigned char>(file[6]);
    const int entryHeight = static_cast<unsigned char>(file[7]);
    const std::uint16_t entryBits = U16At(file, 12);
    const std::uint32_t bytes = U32At(file, 14);
    const std::uint32_t at = U32At(file, 18);
    if (std::uint64_t{at} + bytes != file.size()) {
        return std::nullopt;
    }
    const std::string image = file.substr(at);
    const auto width = static_cast<std::int32_t>(U32At(image, 4));
    const auto doubled = static_cast<std::int32_t>(U32At(image, 8));
    const std::uint16_t bitCount = U16At(image, 14);
    const std::uint32_t coloursUsed = U32At(image, 32);
    if (U32At(image, 0) != 40 || U32At(image, 16) != 0 || bitCount != entryBits || width <= 0 ||
        width > 256 || doubled <= 0 || doubled % 2 != 0 || doubled > 512 ||
        width % 256 != entryWidth || doubled / 2 % 256 != entryHeight) {
        return std::nullopt;
    }
    const int height = doubled / 2;
    const std::uint32_t entries =
        bitCount > 8 ? 0 : (coloursUsed != 0 ? coloursUsed : 1u << bitCount);
    const std::size_t rowBytes = RowBytes(width, bitCount);
    const std::size_t maskRowBytes = RowBytes(width, 1);
    const std::size_t pixelsAt = 40 + 4 * entries;
    const std::size_t maskAt = pixelsAt + rowBytes * height;
    if (image.size() != maskAt + maskRowBytes * height) {
        return std::nullopt;
    }
    Picture picture;
    picture.width = width;
    picture.height = height;
    for (int y = height - 1; y >= 0; --y) {  // rows bottom first
        const std::string row = image.substr(pixelsAt + y * rowBytes, rowBytes);
        const std::string mask = image.substr(maskAt + y * maskRowBytes, maskRowBytes);
        for (int x = 0; x < width; ++x) {
            std::uint32_t argb = 0;
            if (bitCount <= 8) {
                const std::size_t entry = 40 + 4 * IndexAt(row, x, bitCount);
                if (entry >= pixelsAt) {
                    return std::nullopt;
                }
                const auto byte = [&](std::size_t i) {
                    return static_cast<unsigned char>(image[entry + i]);
                };
                argb = Argb(255, byte(2), byte(1), byte(0));
            } else if (bitCount == 24 || bitCount == 32) {
                const std::size_t p = std::size_t(x) * (bitCount / 8);
                argb = Argb(bitCount == 32 ? static_cast<unsigned char>(row[p + 3]) : 255,
                            static_cast<unsigned char>(row[p + 2]),
                            static_cast<unsigned char>(row[p + 1]),
                            static_cast<unsigned char>(row[p]));
            } else {
                return std::nullopt;
            }
            if (bitCount != 32 && IndexAt(mask, x, 1) != 0) {
                argb = 0;
            }
            picture.argb.push_back(argb);
        }
    }
    return picture;
}

}  // namespace pictile_test
