#include "platform/codepage.h"

#include "platform/codepage_tables.h"

namespace platform {
namespace {

using codepage_tables::CodePageTables;

const CodePageTables* Find(unsigned codePage) {
    switch (codePage) {
        case kCodePageWindowsJapanese:
            return &codepage_tables::kCp932;
        case kCodePageMacJapanese:
            return &codepage_tables::kCp10001;
        default:
            return nullptr;
    }
}

bool IsHighSurrogate(char16_t unit) {
    return static_cast<unsigned>(unit - 0xD800) < 0x400;
}
bool IsLowSurrogate(char16_t unit) {
    return static_cast<unsigned>(unit - 0xDC00) < 0x400;
}

std::size_t DecodedLength(const CodePageTables& page, const unsigned char* in, std::size_t n) {
    std::size_t units = 0;
    for (std::size_t i = 0; i < n; ++units) {
        i += page.leadRow[in[i]] != 0 ? 2 : 1;
    }
    return units;
}

// Writes the units of [in, in + n) to `out`, which has room for all of them.
std::size_t Decode(const CodePageTables& page, const unsigned char* in, std::size_t n,
                   char16_t* out) {
    char16_t* const start = out;
    std::size_t i = 0;
    while (i + 1 < n) {
        const unsigned row = page.leadRow[in[i]];
        // A lead byte takes the next byte with it; the choice compiles without a branch.
        const std::size_t index = row != 0 ? row * 256 + in[i + 1] : in[i];
        *out++ = page.decode[index];
        i += row != 0 ? 2 : 1;
    }
    if (i < n) {
        *out++ = page.leadRow[in[i]] != 0 ? page.defaultUnit : page.decode[in[i]];
    }
    return static_cast<std::size_t>(out - start);
}

std::uint16_t CodeOf(const CodePageTables& page, char16_t unit) {
    return page.encodeCodes[page.encodePage[unit >> 8] * 256u + (unit & 0xFFu)];
}

// A high surrogate followed by a low one is one character without a code: one default byte.
bool StartsPair(const char16_t* in, std::size_t i, std::size_t n) {
    return IsHighSurrogate(in[i]) && i + 1 < n && IsLowSurrogate(in[i + 1]);
}

std::size_t EncodedLength(const CodePageTables& page, const char16_t* in, std::size_t n) {
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < n; ++i) {
        bytes += CodeOf(page, in[i]) > 0xFF ? 2 : 1;
        if (StartsPair(in, i, n)) {
            ++i;
        }
    }
    return bytes;
}

// Writes the codes of [in, in + n) to `out` and returns their length, or 0 when they do not
// fit in `capacity` bytes (what was written by then is left behind).
std::size_t Encode(const CodePageTables& page, const char16_t* in, std::size_t n,
                   unsigned char* out, std::size_t capacity) {
    std::size_t written = 0;
    std::size_t i = 0;
    // While two bytes fit, both are stored and the pointer moves by the code's length.
    for (; i < n && capacity - written >= 2; ++i) {
        const unsigned code = CodeOf(page, in[i]);
        const bool twoBytes = code > 0xFF;
        out[written] = static_cast<unsigned char>(twoBytes ? code >> 8 : code);
        out[written + 1] = static_cast<unsigned char>(code);
        written += twoBytes ? 2 : 1;
        if (StartsPair(in, i, n)) {
            ++i;
        }
    }
    for (; i < n; ++i) {
        const unsigned code = CodeOf(page, in[i]);
        if (capacity - written < (code > 0xFF ? 2u : 1u)) {
            return 0;
        }
        if (code > 0xFF) {
            out[written++] = static_cast<unsigned char>(code >> 8);
        }
        out[written++] = static_cast<unsigned char>(code);
        if (StartsPair(in, i, n)) {
            ++i;
        }
    }
    return written;
}

}  // namespace

bool IsValidCodePage(unsigned codePage) {
    return Find(codePage) != nullptr;
}

std::size_t MultiByteToWideChar(unsigned codePage, const unsigned char* input, std::size_t length,
                                char16_t* output, std::size_t capacity) {
    const CodePageTables* page = Find(codePage);
    if (page == nullptr || (input == nullptr && length != 0)) {
        return 0;
    }
    if (output == nullptr) {
        return DecodedLength(*page, input, length);
    }
    // No text has more units than bytes; only a smaller buffer needs counting first.
    if (capacity < length && DecodedLength(*page, input, length) > capacity) {
        return 0;
    }
    return Decode(*page, input, length, output);
}

std::size_t WideCharToMultiByte(unsigned codePage, const char16_t* input, std::size_t length,
                                unsigned char* output, std::size_t capacity) {
    const CodePageTables* page = Find(codePage);
    if (page == nullptr || (input == nullptr && length != 0)) {
        return 0;
    }
    if (output == nullptr) {
        return EncodedLength(*page, input, length);
    }
    return Encode(*page, input, length, output, capacity);
}

std::u16string DecodeCodePage(unsigned codePage, std::string_view bytes) {
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    std::u16string units(MultiByteToWideChar(codePage, in, bytes.size(), nullptr, 0), u'\0');
    units.resize(MultiByteToWideChar(codePage, in, bytes.size(), units.data(), units.size()));
    return units;
}

std::string EncodeCodePage(unsigned codePage, std::u16string_view units) {
    std::string bytes(WideCharToMultiByte(codePage, units.data(), units.size(), nullptr, 0), '\0');
    bytes.resize(WideCharToMultiByte(codePage, units.data(), units.size(),
                                     reinterpret_cast<unsigned char*>(bytes.data()), bytes.size()));
    return bytes;
}

}  // namespace platform
