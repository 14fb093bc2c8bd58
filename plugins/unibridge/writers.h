// Where the readers put the characters they read: UTF-8, UTF-16 little-endian or Shift JIS
// into an output buffer that they never write past. A call that does not fit writes nothing
// past the end and answers kNoRoom; the conversion then stops.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "kernels.h"
#include "platform/cp932_map.h"
#include "platform/text_readers.h"

namespace unibridge {

class BufferWriter {
  public:
    // Writers that keep nothing but only check a reading (those of the detection) say so here;
    // readers then take some well-formed text that they would not convert.
    static constexpr bool kChecksOnly = false;

    BufferWriter(unsigned char* out, std::size_t capacity) : out_(out), end_(out + capacity) {}
    std::size_t written(const unsigned char* start) const {
        return static_cast<std::size_t>(out_ - start);
    }
    std::size_t Room() const { return static_cast<std::size_t>(end_ - out_); }
    // Where the next byte goes, for kernels that write many characters at once.
    unsigned char*& cursor() { return out_; }

  protected:
    bool Bytes(const void* bytes, std::size_t length) {
        if (Room() < length) {
            return false;
        }
        std::memcpy(out_, bytes, length);
        out_ += length;
        return true;
    }

    unsigned char* out_;
    unsigned char* const end_;
};

class Utf8Writer : public BufferWriter {
  public:
    using BufferWriter::BufferWriter;

    bool Mark() { return Bytes("\xEF\xBB\xBF", 3); }
    std::size_t SjisKernel(const Cp932Map& map, const unsigned char* in, std::size_t i,
                           std::size_t n) {
        return SjisToUtf8Kernel(map, in, i, n, out_, Room());
    }
    std::size_t EucKernel(const unsigned char* in, std::size_t i, std::size_t n) {
        return EucToUtf8Kernel(in, i, n, out_, Room());
    }
    bool Ascii(const unsigned char* run, std::size_t length) { return Bytes(run, length); }

    // The code page 932 character at `index` of `map`.
    Put Code(const Cp932Map& map, std::size_t index) {
        const std::uint32_t packed = map.Utf8(index);
        const std::size_t length = packed >> 24;
        if (Room() >= 4) {
            static_assert(std::endian::native == std::endian::little);
            std::memcpy(out_, &packed, 4);  // the bytes sit at the low end
            out_ += length;
            return Put::kDone;
        }
        const unsigned char bytes[3] = {static_cast<unsigned char>(packed),
                                        static_cast<unsigned char>(packed >> 8),
                                        static_cast<unsigned char>(packed >> 16)};
        return Bytes(bytes, length) ? Put::kDone : Put::kNoRoom;
    }

    Put Unicode(char32_t c) {
        unsigned char bytes[4];
        std::size_t length;
        if (c < 0x80) {
            bytes[0] = static_cast<unsigned char>(c);
            length = 1;
        } else if (c < 0x800) {
            bytes[0] = static_cast<unsigned char>(0xC0 | c >> 6);
            bytes[1] = static_cast<unsigned char>(0x80 | (c & 0x3F));
            length = 2;
        } else if (c < 0x10000) {
            bytes[0] = static_cast<unsigned char>(0xE0 | c >> 12);
            bytes[1] = static_cast<unsigned char>(0x80 | (c >> 6 & 0x3F));
            bytes[2] = static_cast<unsigned char>(0x80 | (c & 0x3F));
            length = 3;
        } else {
            bytes[0] = static_cast<unsigned char>(0xF0 | c >> 18);
            bytes[1] = static_cast<unsigned char>(0x80 | (c >> 12 & 0x3F));
            bytes[2] = static_cast<unsigned char>(0x80 | (c >> 6 & 0x3F));
            bytes[3] = static_cast<unsigned char>(0x80 | (c & 0x3F));
            length = 4;
        }
        return Bytes(bytes, length) ? Put::kDone : Put::kNoRoom;
    }
};

class Utf16LeWriter : public BufferWriter {
  public:
    using BufferWriter::BufferWriter;

    bool Mark() { return Bytes("\xFF\xFE", 2); }

    bool Ascii(const unsigned char* run, std::size_t length) {
        if (Room() / 2 < length) {
            return false;
        }
        std::size_t i = 0;
#if defined(__SSE2__)
        for (; i + 16 <= length; i += 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(run + i));
            const __m128i zero = _mm_setzero_si128();
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out_ + 2 * i),
                             _mm_unpacklo_epi8(bytes, zero));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out_ + 2 * i + 16),
                             _mm_unpackhi_epi8(bytes, zero));
        }
#endif
        for (; i < length; ++i) {
            out_[2 * i] = run[i];
            out_[2 * i + 1] = 0;
        }
        out_ += 2 * length;
        return true;
    }

    Put Code(const Cp932Map& map, std::size_t index) {
        return Unit(map.Unit(index));
    }

    Put Unicode(char32_t c) {
        if (c < 0x10000) {
            return Unit(static_cast<char16_t>(c));
        }
        const char32_t v = c - 0x10000;
        const unsigned char bytes[4] = {
            static_cast<unsigned char>(v >> 10), static_cast<unsigned char>(0xD8 | v >> 18),
            static_cast<unsigned char>(v), static_cast<unsigned char>(0xDC | (v >> 8 & 0x03))};
        return Bytes(bytes, 4) ? Put::kDone : Put::kNoRoom;
    }

  private:
    Put Unit(char16_t unit) {
        const unsigned char bytes[2] = {static_cast<unsigned char>(unit),
                                        static_cast<unsigned char>(unit >> 8)};
        return Bytes(bytes, 2) ? Put::kDone : Put::kNoRoom;
    }
};

class SjisWriter : public BufferWriter {
  public:
    explicit SjisWriter(const Cp932Map& map, unsigned char* out, std::size_t capacity,
                        const SjisTables& tables)
        : BufferWriter(out, capacity), map_(map), tables_(tables) {}
    SjisWriter(const Cp932Map& map, unsigned char* out, std::size_t capacity)
        : SjisWriter(map, out, capacity, SjisTables::Of(map)) {}
    std::size_t Utf8Kernel(const unsigned char* in, std::size_t i, std::size_t n) {
        return Utf8ToSjisKernel(tables_, in, i, n, out_, Room());
    }

    bool Ascii(const unsigned char* run, std::size_t length) { return Bytes(run, length); }

    Put Code(const Cp932Map& map, std::size_t index) {
        if (index < 256) {
            const unsigned char byte = static_cast<unsigned char>(index);
            return Bytes(&byte, 1) ? Put::kDone : Put::kNoRoom;
        }
        const unsigned char bytes[2] = {map.LeadOf(index / 256), static_cast<unsigned char>(index)};
        return Bytes(bytes, 2) ? Put::kDone : Put::kNoRoom;
    }

    Put Unicode(char32_t c) {
        const std::uint16_t code = c < 0x10000 ? tables_.codes[c] : Cp932Map::kNoCode;
        return code == Cp932Map::kNoCode ? Put::kNoCode : Sjis(code);
    }

  protected:
    // The Shift JIS code `code`: one byte below 0x100, else two.
    Put Sjis(std::uint16_t code) {
        if (code < 0x100) {
            const unsigned char byte = static_cast<unsigned char>(code);
            return Bytes(&byte, 1) ? Put::kDone : Put::kNoRoom;
        }
        const unsigned char bytes[2] = {static_cast<unsigned char>(code >> 8),
                                        static_cast<unsigned char>(code)};
        return Bytes(bytes, 2) ? Put::kDone : Put::kNoRoom;
    }

    const Cp932Map& map_;
    const SjisTables tables_;
};

}  // namespace unibridge
