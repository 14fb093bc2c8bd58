// Binary files for the tests of the text test (host/core/files/text_content.h): one made here
// for every signature it knows, and a bounded sample of what this machine has under /usr.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

struct BinarySample {
    std::string format;    // the name the text test gives the format ("PNG")
    std::string fileName;  // a file name for it ("sample.png")
    std::string bytes;
};

// For every signature, a small file of that format: a header that adds up, then printable
// bytes, so that only the signature (not a stray control byte) can tell it from text where
// the format allows that.
std::vector<BinarySample> GeneratedBinarySamples();

struct FoundBinary {
    std::string kind;  // "image", "archive", "font", "program", "library", "other"
    std::filesystem::path path;
};

// Regular files below /usr of binary formats (images, archives, fonts, ELF programs and
// libraries, message catalogues, compiled Python), at most `perKind` of each kind and none
// larger than `maxBytes`, in path order. Programs and libraries are taken only when they are
// ELF files (a script in /usr/bin, or a linker script named .so, is text). Empty on Windows.
std::vector<FoundBinary> BinariesOnThisMachine(std::size_t perKind, std::uintmax_t maxBytes);

}  // namespace testing_support
