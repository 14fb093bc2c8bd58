// Build-time generator: reads code-page mapping tables and writes them as C++ lookup tables
// (see platform/codepage_tables.h for the layout).
//
//   generate_codepage_tables <output.cpp> <variable>=<mapping table> ...
//
// A mapping table is plain text:
//
//   CODEPAGE <number>
//   CPINFO <max bytes per character> <default byte> <default UTF-16 unit>
//   MBTABLE <rows>
//   <code>\t<unit>        what a byte or two-byte code decodes to
//   WCTABLE <rows>
//   <unit>\t<code>        what a unit encodes to, where that is not the default byte
//   ENDCODEPAGE
//
// with hexadecimal numbers ("0x8740" is the two bytes 0x87 0x40). Any fault in a table stops
// the build with the file and line.
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/sjis_bytes.h"

namespace {

constexpr unsigned kUnset = 0xFFFFFFFFu;

// Both Japanese code pages use the Shift JIS lead bytes.
bool IsLeadByte(unsigned byte) {
    return byte <= 0xFF && platform::sjis::IsLeadByte(static_cast<unsigned char>(byte));
}

struct CodePage {
    unsigned number = 0;
    unsigned maxBytes = 0;
    unsigned defaultByte = 0;
    unsigned defaultUnit = 0;
    std::array<unsigned, 256> oneByte{};
    std::map<unsigned, std::array<unsigned, 256>> twoByte;  // by lead byte
    std::vector<unsigned> encode = std::vector<unsigned>(0x10000, kUnset);
};

class Reader {
  public:
    explicit Reader(const std::string& path) : path_(path), in_(path) {
        if (!in_) {
            throw std::runtime_error(path + ": cannot open");
        }
    }

    // The next line's words; fails at the end of the file.
    std::vector<std::string> Words() {
        std::string line;
        if (!std::getline(in_, line)) {
            Fail("unexpected end of file");
        }
        ++lineNumber_;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        std::istringstream split(line);
        std::vector<std::string> words;
        for (std::string word; split >> word;) {
            words.push_back(word);
        }
        return words;
    }

    // A line "<keyword> <number>..." with `count` numbers.
    std::vector<unsigned> Keyword(const char* keyword, std::size_t count) {
        const auto words = Words();
        if (words.size() != count + 1 || words[0] != keyword) {
            Fail(std::string("expected ") + keyword);
        }
        std::vector<unsigned> numbers;
        for (std::size_t i = 1; i < words.size(); ++i) {
            numbers.push_back(Number(words[i]));
        }
        return numbers;
    }

    // A row of two hexadecimal numbers.
    std::pair<unsigned, unsigned> Row() {
        const auto words = Words();
        if (words.size() != 2) {
            Fail("expected two numbers");
        }
        return {Number(words[0]), Number(words[1])};
    }

    // A number, hexadecimal with "0x", else decimal.
    unsigned Number(const std::string& word) {
        const bool hex = word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X');
        std::size_t used = 0;
        unsigned long value = 0;
        try {
            if (hex) {
                value = std::stoul(word.substr(2), &used, 16);
                used += 2;
            } else if (!word.empty() && word[0] != '-' && word[0] != '+') {
                value = std::stoul(word, &used, 10);
            }
        } catch (const std::exception&) {
            used = 0;
        }
        if (used == 0 || used != word.size() || value > 0xFFFF) {
            Fail("bad number \"" + word + "\"");
        }
        return static_cast<unsigned>(value);
    }

    [[noreturn]] void Fail(const std::string& what) const {
        throw std::runtime_error(path_ + ":" + std::to_string(lineNumber_) + ": " + what);
    }

  private:
    std::string path_;
    std::ifstream in_;
    unsigned lineNumber_ = 0;
};

// Checks that `code` is a one-byte character or a lead byte followed by a byte.
void CheckCode(Reader& reader, unsigned code) {
    if (code <= 0xFF ? IsLeadByte(code) : !IsLeadByte(code >> 8)) {
        reader.Fail("code is neither a one-byte character nor a two-byte code");
    }
}

CodePage Read(const std::string& path) {
    Reader reader(path);
    CodePage page;
    page.number = reader.Keyword("CODEPAGE", 1)[0];
    const auto info = reader.Keyword("CPINFO", 3);
    page.maxBytes = info[0];
    page.defaultByte = info[1];
    page.defaultUnit = info[2];
    if (page.maxBytes != 2 || page.defaultByte > 0x7F) {
        reader.Fail("only two-byte code pages with an ASCII default byte are supported");
    }

    page.oneByte.fill(kUnset);
    const unsigned mbRows = reader.Keyword("MBTABLE", 1)[0];
    for (unsigned i = 0; i < mbRows; ++i) {
        const auto [code, unit] = reader.Row();
        CheckCode(reader, code);
        unsigned* slot = nullptr;
        if (code <= 0xFF) {
            slot = &page.oneByte[code];
        } else {
            auto [it, added] = page.twoByte.try_emplace(code >> 8);
            if (added) {
                it->second.fill(kUnset);
            }
            slot = &it->second[code & 0xFF];
        }
        if (*slot != kUnset) {
            reader.Fail("code listed twice");
        }
        *slot = unit;
    }
    for (unsigned byte = 0; byte < 256; ++byte) {
        if (!IsLeadByte(byte) && page.oneByte[byte] == kUnset) {
            reader.Fail("no row for byte " + std::to_string(byte));
        }
    }

    const unsigned wcRows = reader.Keyword("WCTABLE", 1)[0];
    for (unsigned i = 0; i < wcRows; ++i) {
        const auto [unit, code] = reader.Row();
        CheckCode(reader, code);
        if (page.encode[unit] != kUnset) {
            reader.Fail("unit listed twice");
        }
        page.encode[unit] = code;
    }
    if (reader.Words() != std::vector<std::string>{"ENDCODEPAGE"}) {
        reader.Fail("expected ENDCODEPAGE");
    }
    return page;
}

void WriteArray(std::ostream& out, const char* type, const std::string& name,
                const std::vector<unsigned>& values) {
    out << "constexpr " << type << " " << name << "[" << values.size() << "] = {";
    for (std::size_t i = 0; i < values.size(); ++i) {
        out << (i % 12 == 0 ? "\n    " : " ") << "0x" << std::hex << values[i] << std::dec << ",";
    }
    out << "\n};\n\n";
}

void Write(std::ostream& out, const std::string& variable, const CodePage& page) {
    // One-byte characters first, then one row of 256 per lead byte.
    std::vector<unsigned> leadRow(256, 0);
    std::vector<unsigned> decode(256, page.defaultUnit);
    for (unsigned byte = 0; byte < 256; ++byte) {
        if (!IsLeadByte(byte)) {
            decode[byte] = page.oneByte[byte];
            continue;
        }
        leadRow[byte] = static_cast<unsigned>(decode.size() / 256);
        const auto it = page.twoByte.find(byte);
        for (unsigned trail = 0; trail < 256; ++trail) {
            const unsigned unit = it == page.twoByte.end() ? kUnset : it->second[trail];
            decode.push_back(unit == kUnset ? page.defaultUnit : unit);
        }
    }

    // Encoding pages of 256 units; alike pages are stored once.
    std::vector<unsigned> encodePage(256);
    std::vector<unsigned> encodeCodes;
    std::map<std::vector<unsigned>, unsigned> pages;
    for (unsigned high = 0; high < 256; ++high) {
        std::vector<unsigned> codes(256);
        for (unsigned low = 0; low < 256; ++low) {
            const unsigned code = page.encode[high << 8 | low];
            codes[low] = code == kUnset ? page.defaultByte : code;
        }
        const auto [it, added] = pages.try_emplace(codes, static_cast<unsigned>(pages.size()));
        if (added) {
            encodeCodes.insert(encodeCodes.end(), codes.begin(), codes.end());
        }
        encodePage[high] = it->second;
    }

    const std::string prefix = variable + "_";
    WriteArray(out, "std::uint8_t", prefix + "leadRow", leadRow);
    WriteArray(out, "char16_t", prefix + "decode", decode);
    WriteArray(out, "std::uint16_t", prefix + "encodePage", encodePage);
    WriteArray(out, "std::uint16_t", prefix + "encodeCodes", encodeCodes);
    out << "}  // namespace\n\n"
        << "const CodePageTables " << variable << " = {" << page.number << ", 0x" << std::hex
        << page.defaultByte << ", 0x" << page.defaultUnit << std::dec << ", " << prefix
        << "leadRow, " << prefix << "decode, " << prefix << "encodePage, " << prefix
        << "encodeCodes};\n\nnamespace {\n\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: generate_codepage_tables <output.cpp> <variable>=<table>...\n");
        return 2;
    }
    try {
        std::ostringstream out;
        out << "// Generated by generate_codepage_tables from the code-page mapping tables.\n"
            << "#include \"platform/codepage_tables.h\"\n\n"
            << "namespace platform::codepage_tables {\nnamespace {\n\n";
        for (int i = 2; i < argc; ++i) {
            const std::string argument = argv[i];
            const auto equals = argument.find('=');
            if (equals == std::string::npos || equals == 0) {
                throw std::runtime_error("bad argument \"" + argument + "\"");
            }
            Write(out, argument.substr(0, equals), Read(argument.substr(equals + 1)));
        }
        out << "}  // namespace\n}  // namespace platform::codepage_tables\n";
        std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
        file << out.str();
        if (!file.flush()) {
            throw std::runtime_error(std::string(argv[1]) + ": cannot write");
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "generate_codepage_tables: %s\n", error.what());
        return 1;
    }
    return 0;
}
