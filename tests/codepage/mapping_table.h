// The code-page mapping tables of the source tree, read independently of the build's
// generated lookup tables, so that tests can check the converters against them row by row.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace testing_support {

struct MappingTable {
    std::map<unsigned, char16_t> decode;  // code -> unit
    std::map<char16_t, unsigned> encode;  // unit -> code
};

// Reads platform/codepages/cp<number>.txt; aborts the test program when that fails.
inline const MappingTable& LoadMappingTable(unsigned number) {
    static std::map<unsigned, MappingTable> loaded;
    if (const auto it = loaded.find(number); it != loaded.end()) {
        return it->second;
    }
    const std::string path = std::string(POLYSHIFT_SOURCE_DIR) + "/platform/codepages/cp" +
                             std::to_string(number) + ".txt";
    std::ifstream in(path);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        std::abort();
    }
    MappingTable& table = loaded[number];
    std::map<unsigned, unsigned>* rows = nullptr;
    std::map<unsigned, unsigned> decode, encode;
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string first, second;
        words >> first >> second;
        if (first == "MBTABLE") {
            rows = &decode;
        } else if (first == "WCTABLE") {
            rows = &encode;
        } else if (rows != nullptr && first.rfind("0x", 0) == 0) {
            (*rows)[std::stoul(first, nullptr, 16)] = std::stoul(second, nullptr, 16);
        }
    }
    for (const auto& [code, unit] : decode) {
        table.decode[code] = static_cast<char16_t>(unit);
    }
    for (const auto& [unit, code] : encode) {
        table.encode[static_cast<char16_t>(unit)] = code;
    }
    return table;
}

// The bytes of a one- or two-byte code.
inline std::string CodeBytes(unsigned code) {
    return code > 0xFF ? std::string{static_cast<char>(code >> 8), static_cast<char>(code)}
                       : std::string(1, static_cast<char>(code));
}

inline bool IsSjisLeadByte(unsigned byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

}  // namespace testing_support
