// Every code of each code page whose character the other page also has goes across and back,
// checked against the mapping tables themselves.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "codepage/mapping_table.h"
#include "glyphport_plugin.h"

namespace {

using glyphport_test::Glyphport;
using glyphport_test::kMacToWin;
using glyphport_test::kWinToMac;
using testing_support::CodeBytes;
using testing_support::LoadMappingTable;
using testing_support::MappingTable;

struct Direction {
    unsigned from;
    unsigned to;
    uint32_t there;  // function converting `from` to `to`
    uint32_t back;
};

std::string EncodedBy(const MappingTable& table, char16_t unit) {
    const auto row = table.encode.find(unit);
    return row == table.encode.end() ? "?" : CodeBytes(row->second);
}

// True when `bytes` is one code of `table` that decodes to `unit`.
bool Means(const MappingTable& table, const std::string& bytes, char16_t unit) {
    unsigned code = 0;
    for (unsigned char byte : bytes) {
        code = code << 8 | byte;
    }
    const auto row = table.decode.find(code);
    return bytes.size() <= 2 && row != table.decode.end() && row->second == unit;
}

TEST(GlyphportRoundTrip, EveryCodeWhoseCharacterBothPagesHave) {
    for (const Direction d : {Direction{10001, 932, kMacToWin, kWinToMac},
                              Direction{932, 10001, kWinToMac, kMacToWin}}) {
        const MappingTable& from = LoadMappingTable(d.from);
        const MappingTable& to = LoadMappingTable(d.to);
        std::set<char16_t> toUnits;
        for (const auto& [code, unit] : to.decode) {
            toUnits.insert(unit);
        }
        std::string allIn, allThere, allBack;
        int checked = 0, failures = 0;
        for (const auto& [code, unit] : from.decode) {
            if (!toUnits.contains(unit)) {
                continue;
            }
            ++checked;
            const std::string in = CodeBytes(code);
            const std::string there = EncodedBy(to, unit);
            const std::string back = EncodedBy(from, unit);
            allIn += in;
            allThere += there;
            allBack += back;
            const auto gotThere = Glyphport().Run(d.there, in);
            const auto gotBack = Glyphport().Run(d.back, there);
            // The other page's code must stand for the same character, and the way back must
            // reach this page's own code for it: `in` itself unless `in` is a second code for the
            // same character.
            const bool good = gotThere == there && gotBack == back && Means(to, there, unit) &&
                              Means(from, back, unit);
            if (!good && ++failures <= 10) {
                ADD_FAILURE() << "cp" << d.from << " code 0x" << std::hex << code << " U+"
                              << static_cast<unsigned>(unit);
            }
        }
        EXPECT_GT(checked, 7000) << "cp" << d.from;
        EXPECT_EQ(failures, 0) << "cp" << d.from;
        // The same codes in one text.
        EXPECT_EQ(Glyphport().Run(d.there, allIn), allThere) << "cp" << d.from;
        EXPECT_EQ(Glyphport().Run(d.back, allThere), allBack) << "cp" << d.from;
    }
}

}  // namespace
