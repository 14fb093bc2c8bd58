// Code page 932 as flat lookup tables for the conversions, built once from the runtime's
// converters (platform/codepage.h), so that every code converts exactly as the runtime converts
// it. Only exact mappings are kept for the way back, plus a few characters that other systems'
// JIS mappings give to Shift JIS codes (see kJisAliases).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace platform {

class Cp932Map {
  public:
    // The tables, built on first use.
    static const Cp932Map& Get();

    // Row of the bytes that are no lead byte: characters of their own, or no characters.
    static constexpr std::uint8_t kSingle = 0;
    static constexpr std::size_t kRows = 61;  // row 0 for single bytes, 60 lead bytes

    // What `EncodeBmp` answers for a character without a code.
    static constexpr std::uint16_t kNoCode = 0xFFFF;

    // kSingle, or the row (1...) of a lead byte.
    std::uint8_t RowOf(std::uint8_t byte) const { return rowOf_[byte]; }
    // The lead byte of a row.
    std::uint8_t LeadOf(std::size_t row) const { return leadOf_[row]; }

    // Index of a character: its byte for a single byte, row * 256 + trail byte for a pair.
    static constexpr std::size_t Index(std::size_t row, std::uint8_t trail) {
        return row * 256 + trail;
    }

    // The character's UTF-8 bytes from the low end, their number in the top byte; 0 when the
    // code page has no character there (a single byte that is no character included).
    std::uint32_t Utf8(std::size_t index) const { return utf8_[index]; }
    // The character's UTF-16 unit; only meaningful where Utf8(index) is not 0.
    char16_t Unit(std::size_t index) const { return unit_[index]; }

    // Shift JIS code of a character of the Basic Multilingual Plane (one byte below 0x100),
    // or kNoCode.
    std::uint16_t EncodeBmp(char16_t unit) const { return codes_[unit]; }

    // The tables themselves, for the conversion kernels.
    const std::uint8_t* rows() const { return rowOf_.data(); }
    // Utf8 of the character that the two bytes (first << 8 | second) begin: a pair, or a single
    // byte whatever follows it.
    const std::uint32_t* utf8ByPair() const { return utf8ByPair_.data(); }
    const std::uint16_t* codes() const { return codes_.data(); }
    // The Shift JIS bytes of a character of the Basic Multilingual Plane from the low end, their
    // number in the top byte; 0 when it has no code.
    const std::uint32_t* sjisByUnit() const { return sjisByUnit_.data(); }

    Cp932Map(const Cp932Map&) = delete;
    Cp932Map& operator=(const Cp932Map&) = delete;

  private:
    Cp932Map();

    std::array<std::uint8_t, 256> rowOf_{};
    std::array<std::uint8_t, kRows> leadOf_{};
    std::array<std::uint32_t, kRows * 256> utf8_{};
    std::array<std::uint32_t, 0x10000> utf8ByPair_{};
    std::array<char16_t, kRows * 256> unit_{};
    // One more entry, so that a 32-bit load of the last code stays inside.
    std::array<std::uint16_t, 0x10001> codes_{};
    std::array<std::uint32_t, 0x10000> sjisByUnit_{};
};

// Characters that JIS-based mappings of other systems put where code page 932 has a different
// character of the same shape; text converted there carries them, so they convert back to the
// Shift JIS code they came from.
struct JisAlias {
    char16_t unit;
    std::uint16_t code;
};
inline constexpr std::array<JisAlias, 7> kJisAliases = {{
    {u'\u301C', 0x8160},  // WAVE DASH, code page 932: U+FF5E
    {u'\u2016', 0x8161},  // DOUBLE VERTICAL LINE, U+2225
    {u'\u2212', 0x817C},  // MINUS SIGN, U+FF0D
    {u'\u00A2', 0x8191},  // CENT SIGN, U+FFE0
    {u'\u00A3', 0x8192},  // POUND SIGN, U+FFE1
    {u'\u00AC', 0x81CA},  // NOT SIGN, U+FFE2
    {u'\u2014', 0x815C},  // EM DASH, U+2015
}};

}  // namespace platform
