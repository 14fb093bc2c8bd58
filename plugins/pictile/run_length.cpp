#include "run_length.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace pictile {
namespace {

// Escape records: a zero count followed by one of these, or by a literal's length (3 and up).
constexpr unsigned char kEndOfLine = 0;
constexpr unsigned char kEndOfImage = 1;
constexpr unsigned char kMove = 2;

class Expander {
  public:
    Expander(const RunLengthImage& image, unsigned char* rows)
        : image_(image),
          rows_(rows),
          rowPixels_(static_cast<std::uint32_t>(
              std::min<std::uint64_t>(std::uint64_t{image.rowBytes} * 8 / image.bitCount,
                                      std::numeric_limits<std::uint32_t>::max()))) {}

    bool Run() {
        const unsigned char* p = image_.data;
        const unsigned char* const end = p + image_.length;
        while (end - p >= 2) {
            const unsigned count = p[0];
            const unsigned char value = p[1];
            p += 2;
            if (count != 0) {
                if (!Fits(count)) {
                    return false;
                }
                Put(count, p - 1, true);
                continue;
            }
            switch (value) {
                case kEndOfLine:
                    if (y_ >= image_.rows) {
                        return false;
                    }
                    x_ = 0;
                    ++y_;
                    break;
                case kEndOfImage:
                    return true;
                case kMove:
                    if (end - p < 2 || !MoveBy(p[0], p[1])) {
                        return false;
                    }
                    p += 2;
                    break;
                default: {
                    const std::size_t bytes = LiteralBytes(value);
                    if (static_cast<std::size_t>(end - p) < bytes || !Fits(value)) {
                        return false;
                    }
                    Put(value, p, false);
                    p += bytes;
                }
            }
        }
        // Data that ends without its end mark is whole only when every row was closed.
        return p == end && y_ >= image_.rows;
    }

  private:
    bool Fits(unsigned count) const { return y_ < image_.rows && count <= rowPixels_ - x_; }

    bool MoveBy(unsigned dx, unsigned dy) {
        if (dx > rowPixels_ - x_ || dy >= image_.rows - y_) {
            return false;
        }
        x_ += dx;
        y_ += dy;
        return true;
    }

    // A literal of `count` pixels takes whole bytes, padded to an even number of bytes.
    std::size_t LiteralBytes(unsigned count) const {
        const std::size_t bytes = image_.bitCount == 8 ? count : (count + 1) / 2;
        return (bytes + 1) & ~std::size_t{1};
    }

    unsigned char* Row() const { return rows_ + std::size_t{y_} * image_.rowBytes; }

    // Pixels of a run or literal that fall within the image; the rest go to the row's padding.
    unsigned Shown(unsigned count) const {
        return x_ >= image_.width ? 0 : std::min<std::uint32_t>(count, image_.width - x_);
    }

    // Writes `count` pixels from `bytes`, one a byte at 8 bits and two a byte (high first) at 4
    // bits. A run repeats its one byte, so that four-bit runs alternate two pixels.
    void Put(unsigned count, const unsigned char* bytes, bool run) {
        if (rows_ != nullptr) {
            const unsigned shown = Shown(count);
            if (image_.bitCount == 8) {
                run ? std::memset(Row() + x_, bytes[0], shown)
                    : std::memcpy(Row() + x_, bytes, shown);
            } else {
                for (unsigned i = 0; i < shown; ++i) {
                    const unsigned char pair = bytes[run ? 0 : i / 2];
                    PutNibble(x_ + i, i % 2 == 0 ? pair >> 4 : pair & 0x0F);
                }
            }
        }
        x_ += count;
    }

    void PutNibble(std::uint32_t x, unsigned nibble) {
        unsigned char& byte = Row()[x / 2];
        byte = static_cast<unsigned char>(x % 2 == 0 ? (byte & 0x0F) | (nibble << 4)
                                                     : (byte & 0xF0) | nibble);
    }

    const RunLengthImage& image_;
    unsigned char* const rows_;
    const std::uint32_t rowPixels_;  // pixels a row holds with its padding
    std::uint32_t x_ = 0;
    std::uint32_t y_ = 0;
};

}  // namespace

bool ExpandRunLength(const RunLengthImage& image, unsigned char* rows) {
    if (image.bitCount != 8 && image.bitCount != 4) {
        return false;
    }
    return Expander(image, rows).Run();
}

}  // namespace pictile
