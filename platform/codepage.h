// Code-page converters: Japanese Windows (932) and Japanese Macintosh (10001) bytes to UTF-16
// and back, with the platform's rules for what has no mapping.
//
// Decoding: a lead byte (0x81-0x9F, 0xE0-0xFC) and the byte after it form one two-byte code;
// a two-byte code the code page does not define, and a lead byte at the very end of the input,
// decode to U+30FB. Every other byte is a character of its own (0x00 decodes to U+0000).
// Encoding: every unit encodes to its code, best-fit codes included; a unit without one
// encodes to "?", and so does a surrogate pair, as one character.
//
// Sizes are counted in 64 bits; the functions never read or write past the sizes given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

constexpr unsigned kCodePageWindowsJapanese = 932;
constexpr unsigned kCodePageMacJapanese = 10001;

// True for the code pages the converters know.
bool IsValidCodePage(unsigned codePage);

// Decodes `length` bytes. Without `output` returns the number of UTF-16 units the text takes;
// with it writes them there and returns their number, or 0 when `capacity` units are too few.
// Returns 0 for an unknown code page.
std::size_t MultiByteToWideChar(unsigned codePage, const unsigned char* input, std::size_t length,
                                char16_t* output, std::size_t capacity);

// Encodes `length` units. Without `output` returns the number of bytes the text takes; with it
// writes them there and returns their number, or 0 when `capacity` bytes are too few (what
// the buffer then holds is undefined).
// Returns 0 for an unknown code page.
std::size_t WideCharToMultiByte(unsigned codePage, const char16_t* input, std::size_t length,
                                unsigned char* output, std::size_t capacity);

// Whole-string forms; an unknown code page gives an empty result.
std::u16string DecodeCodePage(unsigned codePage, std::string_view bytes);
std::string EncodeCodePage(unsigned codePage, std::u16string_view units);

}  // namespace platform
